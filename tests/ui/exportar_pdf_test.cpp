// "Juego → Exportar PDF…": asks for the period and the folder through the
// dialog service, writes the hand-outs and says where; every cancel or
// wrong answer writes nothing.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "juego/Juego.h"
#include "ui/UPrincipal.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

// An answer that cancels the input box.
const QString cancelar = QStringLiteral("<cancelar>");

void jugarPeriodo1() {
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    juegoDePrueba().guardarDecisiones(std::vector<TRegDecision>(2, TRegDecision{70, 50, 2000, 5000, 1000, 0, 0, 0, 0, 0}));
    juegoDePrueba().simular();
}

}  // namespace

class PruebaExportarPdf : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { descartarCerradas(); }

    void escribeLosPdfYDiceDonde() {
        CarpetaDeJuego carpeta;
        jugarPeriodo1();
        QTemporaryDir destino;
        DialogosFalsos dialogos;
        dialogos.textos = {QStringLiteral(" 1 ")};
        dialogos.carpetas = {destino.path()};
        TFPrincipal principal(carpetaDePrueba().ruta());
        QAction* exportar = item(&principal, "mnuExportarPdf");
        QVERIFY(exportar);
        QCOMPARE(exportar->text(), QStringLiteral("Exportar PDF…"));
        QVERIFY(exportar->isEnabled());
        exportar->trigger();

        QCOMPARE(dialogos.entradas, QStringList{QStringLiteral("Período (0 a 1):")});
        QCOMPARE(dialogos.titulosCarpeta, QStringList{QStringLiteral("Carpeta para los PDF del período 1")});
        QCOMPARE(QDir(destino.path()).entryList(QDir::Files),
                 (QStringList{"Periodo 1 (todos los informes).pdf", "Periodo 1 - Alfa.pdf", "Periodo 1 - Beta.pdf"}));
        QCOMPARE(dialogos.textosMostrados(),
                 QStringList{QStringLiteral("Se escribieron 3 documentos PDF del período 1 en «%1».").arg(destino.path())});
    }

    void loQueNoEscribeNada_data() {
        QTest::addColumn<bool>("conJuego");
        QTest::addColumn<QStringList>("textos");
        QTest::addColumn<bool>("eligeCarpeta");
        QTest::addColumn<QString>("mensaje");  // empty: no box at all
        QTest::newRow("sin juego") << false << QStringList{} << true
                                   << QStringLiteral("Todavía no hay informes: corra el período 0 primero.");
        QTest::newRow("período cancelado") << true << QStringList{cancelar} << true << QString();
        QTest::newRow("no es un número") << true << QStringList{QStringLiteral("uno")} << true
                                         << QStringLiteral("«uno» no es un número de período.");
        QTest::newRow("carpeta cancelada") << true << QStringList{QStringLiteral("1")} << false
                                           << QString();
        QTest::newRow("período sin informes") << true << QStringList{QStringLiteral("4")} << true
                                              << QStringLiteral("El período 4 no está en el historial del juego.");
    }

    void loQueNoEscribeNada() {
        QFETCH(bool, conJuego);
        QFETCH(QStringList, textos);
        QFETCH(bool, eligeCarpeta);
        QFETCH(QString, mensaje);
        CarpetaDeJuego carpeta;
        if (conJuego) jugarPeriodo1();
        QTemporaryDir destino;
        DialogosFalsos dialogos;
        for (const QString& t : textos) dialogos.textos.push_back(t == cancelar ? std::nullopt : std::optional(t));
        if (eligeCarpeta) dialogos.carpetas = {destino.path()};
        TFPrincipal principal(carpetaDePrueba().ruta());
        item(&principal, "mnuExportarPdf")->trigger();
        QCOMPARE(dialogos.textosMostrados(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
        QVERIFY(QDir(destino.path()).isEmpty());
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaExportarPdf)
#include "exportar_pdf_test.moc"
