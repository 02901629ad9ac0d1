// The tables screen: its three boxes, the two figures its save hands to the
// set-up without writing anything, and a figure that is not a whole number.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "ui/UTablas.h"

#include <QLabel>
#include <QPushButton>

#include <cstdint>

namespace {

// What the set-up receives from a save, and how many saves it received.
struct Recibido {
    int veces = 0;
    int32_t columnaPrecios = 0;
    int32_t intervaloMarketing = 0;
};

TFTablas* abrirTablas(Recibido& recibido) {
    auto* tablas = new TFTablas(nullptr, [&recibido](int32_t columna, int32_t intervalo) {
        ++recibido.veces;
        recibido.columnaPrecios = columna;
        recibido.intervaloMarketing = intervalo;
    });
    tablas->show();
    return tablas;
}

}  // namespace

class PruebaTablas : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { descartarCerradas(); }

    void alAbrirse() {
        Recibido recibido;
        auto* tablas = abrirTablas(recibido);
        QCOMPARE(tablas->windowTitle(), QStringLiteral("ADMINISTRACIÓN TABLAS"));
        QCOMPARE(control<QLineEdit>(tablas, "Edit1")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLineEdit>(tablas, "Edit2")->text(), QStringLiteral("50"));
        QCOMPARE(control<QLineEdit>(tablas, "Edit3")->text(), QStringLiteral("1000"));
        QStringList etiquetas;
        for (QLabel* l : tablas->findChildren<QLabel*>()) etiquetas << l->text();
        for (const char* texto : {"Dividir Nros de la tabla por", "Columna de precios desde", "Intervalos de marketing"})
            QVERIFY2(etiquetas.contains(QString::fromLatin1(texto)), texto);
        QVERIFY(tablas->testAttribute(Qt::WA_DeleteOnClose));
        tablas->close();
    }

    void guardarEntregaLasDosCifrasSinEscribir_data() {
        QTest::addColumn<QString>("columna");
        QTest::addColumn<QString>("intervalo");
        QTest::addColumn<int>("columnaGuardada");
        QTest::addColumn<int>("intervaloGuardado");
        QTest::newRow("por defecto") << "50" << "1000" << 50 << 1000;
        QTest::newRow("otros") << "-7" << " 2500" << -7 << 2500;
    }
    void guardarEntregaLasDosCifrasSinEscribir() {
        QFETCH(QString, columna);
        QFETCH(QString, intervalo);
        QFETCH(int, columnaGuardada);
        QFETCH(int, intervaloGuardado);
        CarpetaDeJuego carpeta;
        DialogosFalsos falsos;
        Recibido recibido;
        auto* tablas = abrirTablas(recibido);
        escribir(control<QLineEdit>(tablas, "Edit2"), columna);
        escribir(control<QLineEdit>(tablas, "Edit3"), intervalo);
        escribir(control<QLineEdit>(tablas, "Edit1"), QStringLiteral("no se guarda"));
        QTest::mouseClick(control<QPushButton>(tablas, "btnGuardar"), Qt::LeftButton);

        QVERIFY(falsos.cajas.isEmpty());
        QVERIFY(!tablas->isVisible());
        QCOMPARE(recibido.veces, 1);
        QCOMPARE(recibido.columnaPrecios, columnaGuardada);
        QCOMPARE(recibido.intervaloMarketing, intervaloGuardado);
        QVERIFY(carpeta.contenido().isEmpty());
    }

    void unaCifraQueNoEsEnteraNoEscribe_data() {
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("Edit2 vacía") << "Edit2" << "" << "El campo está vacío: escriba un número entero.";
        QTest::newRow("Edit3 con letras") << "Edit3" << "mil" << "«mil» no es un número entero: escríbalo en cifras, sin puntos ni comas.";
        QTest::newRow("Edit3 decimal") << "Edit3" << "1000,5" << "«1000,5» no es un número entero: escríbalo en cifras, sin puntos ni comas.";
    }
    void unaCifraQueNoEsEnteraNoEscribe() {
        QFETCH(QString, caja);
        QFETCH(QString, texto);
        QFETCH(QString, mensaje);
        DialogosFalsos falsos;
        Recibido recibido;
        auto* tablas = abrirTablas(recibido);
        escribir(control<QLineEdit>(tablas, qPrintable(caja)), texto);
        QTest::mouseClick(control<QPushButton>(tablas, "btnGuardar"), Qt::LeftButton);
        QCOMPARE(falsos.textosMostrados(), QStringList{mensaje});
        QVERIFY(tablas->isVisible());
        QCOMPARE(recibido.veces, 0);
        tablas->close();
    }

    void cancelarNoEscribe() {
        Recibido recibido;
        auto* tablas = abrirTablas(recibido);
        QTest::mouseClick(control<QPushButton>(tablas, "btnCancelar"), Qt::LeftButton);
        QVERIFY(!tablas->isVisible());
        QCOMPARE(recibido.veces, 0);
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaTablas)
#include "tablas_test.moc"
