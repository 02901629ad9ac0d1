// "Juego → Exportar planilla…": the file is asked through the dialog
// service, written where the teacher chose and named in a box; a cancelled
// dialog writes nothing and a refusal is shown.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "engine/UDecicionesPeriodo0.h"
#include "juego/Juego.h"
#include "store/DatosIniciales.h"
#include "ui/UPrincipal.h"

#include <QMenu>

class PruebaPlanilla : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { descartarCerradas(); }

    void elItemEstaEnElMenuJuego() {
        CarpetaDeJuego carpeta;
        TFPrincipal principal(carpetaDePrueba().ruta());
        auto* juego = principal.findChild<QMenu*>(QStringLiteral("mnuJuego"));
        QVERIFY(juego->actions().contains(item(&principal, "mnuExportarPlanilla")));
        QCOMPARE(item(&principal, "mnuExportarPlanilla")->text(), QStringLiteral("Exportar planilla…"));
    }

    void exportaDondeSeEligeYLoDice() {
        CarpetaDeJuego carpeta;
        DialogosFalsos dialogos;
        TFPrincipal principal(carpetaDePrueba().ruta());
        juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
        juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
        dialogos.cajas.clear();

        struct Caso {
            QString nombre;
            QByteArray comienzo;
        };
        const Caso casos[] = {{QStringLiteral("t.xlsx"), QByteArray("PK\x03\x04", 4)},
                              {QStringLiteral("t.csv"), QByteArray("\xEF\xBB\xBF")}};
        for (const Caso& caso : casos) {
            dialogos.cajas.clear();
            dialogos.archivos.push_back(carpeta.ruta(caso.nombre));
            item(&principal, "mnuExportarPlanilla")->trigger();
            QVERIFY2(carpeta.leer(caso.nombre).startsWith(caso.comienzo), qPrintable(caso.nombre));
            QCOMPARE(dialogos.cajas.size(), 1);
            QVERIFY2(dialogos.cajas[0].texto.contains(carpeta.ruta(caso.nombre)), qPrintable(dialogos.cajas[0].texto));
        }
        QVERIFY(dialogos.archivosSugeridos.last().endsWith(QStringLiteral("temporada.xlsx")));
        QVERIFY(dialogos.filtrosDeArchivo.last().join(QLatin1Char(' ')).contains(QStringLiteral("*.csv")));

        // Cancelled: no file and no box.
        dialogos.cajas.clear();
        const auto antes = carpeta.contenido();
        dialogos.archivos.push_back(std::nullopt);
        item(&principal, "mnuExportarPlanilla")->trigger();
        QCOMPARE(dialogos.cajas.size(), 0);
        QCOMPARE(carpeta.contenido(), antes);
    }

    void sinHistorialSeNiegaConUnaCaja() {
        CarpetaDeJuego carpeta;
        DialogosFalsos dialogos;
        TFPrincipal principal(carpetaDePrueba().ruta());
        dialogos.archivos.push_back(carpeta.ruta(QStringLiteral("t.xlsx")));
        item(&principal, "mnuExportarPlanilla")->trigger();
        QCOMPARE(dialogos.cajas.size(), 1);
        QVERIFY2(dialogos.cajas[0].texto.contains(QStringLiteral("No hay períodos simulados")),
                 qPrintable(dialogos.cajas[0].texto));
        QVERIFY(!carpeta.existe(QStringLiteral("t.xlsx")));
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaPlanilla)
#include "planilla_test.moc"
