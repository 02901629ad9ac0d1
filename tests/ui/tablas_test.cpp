// The tables screen: its three boxes, the two figures its save stores in the
// parameters record without disturbing the rest, and a figure that is not a
// whole number.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "ui/UTablas.h"

#include <QLabel>
#include <QPushButton>

#include <cstring>

namespace {

TRegDatosIniciales juegoGuardado() {
    TRegDatosIniciales r{};
    r.cantEquipos = 4;
    r.cantEquiposZona1 = 4;
    r.periodoActual = 2;
    r.planta = 70000;
    r.interesA = 0.07;
    asignar(r.nombreBancoA, "NACION");
    r.penalidad = 800;
    return r;
}

}  // namespace

class PruebaTablas : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { descartarCerradas(); }

    void alAbrirse() {
        CarpetaDeJuego carpeta;
        auto* tablas = new TFTablas(juegoDePrueba(), nullptr);
        tablas->show();
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

    void guardarConservaElRestoDelRegistro_data() {
        QTest::addColumn<QString>("columna");
        QTest::addColumn<QString>("intervalo");
        QTest::addColumn<int>("columnaGuardada");
        QTest::addColumn<int>("intervaloGuardado");
        QTest::newRow("por defecto") << "50" << "1000" << 50 << 1000;
        QTest::newRow("otros") << "-7" << " 2500" << -7 << 2500;
    }
    void guardarConservaElRestoDelRegistro() {
        QFETCH(QString, columna);
        QFETCH(QString, intervalo);
        QFETCH(int, columnaGuardada);
        QFETCH(int, intervaloGuardado);
        CarpetaDeJuego carpeta;
        DialogosFalsos falsos;
        TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(juegoGuardado());
        auto* tablas = new TFTablas(juegoDePrueba(), nullptr);
        tablas->show();
        escribir(control<QLineEdit>(tablas, "Edit2"), columna);
        escribir(control<QLineEdit>(tablas, "Edit3"), intervalo);
        escribir(control<QLineEdit>(tablas, "Edit1"), QStringLiteral("no se guarda"));
        QTest::mouseClick(control<QPushButton>(tablas, "btnGuardar"), Qt::LeftButton);

        QVERIFY(falsos.cajas.isEmpty());
        QVERIFY(!tablas->isVisible());
        TRegDatosIniciales esperado = juegoGuardado();
        esperado.columnaPrecios = columnaGuardada;
        esperado.intervaloMarketing = intervaloGuardado;
        QCOMPARE(carpeta.leer(QStringLiteral("DATOS INICIALES.DAT")), bytesDe(esperado));
    }

    void unaCifraQueNoEsEnteraNoEscribe_data() {
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("Edit2 vacía") << "Edit2" << "" << "'' is not a valid integer value";
        QTest::newRow("Edit3 con letras") << "Edit3" << "mil" << "'mil' is not a valid integer value";
        QTest::newRow("Edit3 decimal") << "Edit3" << "1000,5" << "'1000,5' is not a valid integer value";
    }
    void unaCifraQueNoEsEnteraNoEscribe() {
        QFETCH(QString, caja);
        QFETCH(QString, texto);
        QFETCH(QString, mensaje);
        CarpetaDeJuego carpeta;
        DialogosFalsos falsos;
        TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(juegoGuardado());
        const auto antes = carpeta.contenido();
        auto* tablas = new TFTablas(juegoDePrueba(), nullptr);
        tablas->show();
        escribir(control<QLineEdit>(tablas, qPrintable(caja)), texto);
        QTest::mouseClick(control<QPushButton>(tablas, "btnGuardar"), Qt::LeftButton);
        QCOMPARE(falsos.textosMostrados(), QStringList{mensaje});
        QVERIFY(tablas->isVisible());
        QCOMPARE(carpeta.contenido(), antes);
        tablas->close();
    }

    void cancelarNoEscribe() {
        CarpetaDeJuego carpeta;
        auto* tablas = new TFTablas(juegoDePrueba(), nullptr);
        tablas->show();
        QTest::mouseClick(control<QPushButton>(tablas, "btnCancelar"), Qt::LeftButton);
        QVERIFY(!tablas->isVisible());
        QVERIFY(carpeta.contenido().isEmpty());
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaTablas)
#include "tablas_test.moc"
