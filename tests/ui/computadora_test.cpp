// Companies of the computer in the window: added on the teams screen with
// their style, marked and prefilled on the decisions screen and its review
// grid, and the practice game from the Juego menu to a period run and its
// chart.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "documentos/TextoQt.h"
#include "ui/UDeciciones.h"
#include "ui/UEquipos.h"
#include "ui/UEvolucion.h"
#include "ui/UPrincipal.h"
#include "ui/UResultados.h"
#include "ui/URevisionDecisiones.h"
#include "ui/USimular.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

#include <memory>

namespace {

// "Nombre|Juega" of every row of the teams list.
QStringList filas(const TFEquipos* equipos) { return filasDeLista(control<QTreeWidget>(equipos, "lsvEquipos"), 1, 2); }

}  // namespace

class PruebaComputadora : public QObject {
    Q_OBJECT

    std::unique_ptr<CarpetaDeJuego> carpeta;
    std::unique_ptr<DialogosFalsos> falsos;
    std::unique_ptr<TFPrincipal> principal;

private slots:
    void init() {
        carpeta = std::make_unique<CarpetaDeJuego>();
        falsos = std::make_unique<DialogosFalsos>();
        principal = std::make_unique<TFPrincipal>(carpetaDePrueba().ruta());
        principal->show();
    }
    void cleanup() {
        principal.reset();
        descartarCerradas();
        falsos.reset();
        carpeta.reset();
    }

    void agregarEmpresasDeLaComputadora_data() {
        QTest::addColumn<QString>("cantidad");
        QTest::addColumn<std::optional<QString>>("estilo");
        QTest::addColumn<QStringList>("estilos");  // of the computer's companies added, in order
        QTest::newRow("mezcla") << "4" << std::optional<QString>("mezcla")
                                << QStringList{"prudente", "agresivo", "innovador", "imitador"};
        QTest::newRow("un estilo") << "2" << std::optional<QString>("imitador") << QStringList{"imitador", "imitador"};
        QTest::newRow("estilo cancelado") << "2" << std::optional<QString>() << QStringList();
        QTest::newRow("cantidad imposible") << "cero" << std::optional<QString>() << QStringList();
    }
    void agregarEmpresasDeLaComputadora() {
        QFETCH(QString, cantidad);
        QFETCH(std::optional<QString>, estilo);
        QFETCH(QStringList, estilos);
        item(principal.get(), "mnuNuevo")->trigger();
        auto* equipos = ventanaVisible<TFEquipos>();
        QVERIFY(equipos);
        escribir(control<QLineEdit>(equipos, "edNombreEquipo"), QStringLiteral("Alfa"));
        pulsar(equipos, "btnAgregar");
        falsos->textos = {cantidad};
        falsos->elecciones = {estilo};
        pulsar(equipos, "btnComputadora");
        QStringList esperadas{QStringLiteral("Alfa|")};
        for (int i = 0; i < estilos.size(); ++i) esperadas << QStringLiteral("Compu %1|computadora (%2)").arg(i + 1).arg(estilos[i]);
        QCOMPARE(filas(equipos), esperadas);
    }

    // A row keeps its style when it moves or is renamed, a double click on
    // the third column changes who plays it, and the save hands on the rest.
    void elEstiloSigueALaEmpresaHastaElJuego() {
        item(principal.get(), "mnuNuevo")->trigger();
        auto* equipos = ventanaVisible<TFEquipos>();
        QVERIFY(equipos);
        falsos->textos = {QStringLiteral("3")};
        falsos->elecciones = {QStringLiteral("agresivo")};
        pulsar(equipos, "btnComputadora");
        auto* lista = control<QTreeWidget>(equipos, "lsvEquipos");
        lista->setCurrentItem(lista->topLevelItem(2));
        pulsar(equipos, "btnSubir");
        lista->topLevelItem(1)->setText(1, QStringLiteral("Robot"));
        falsos->elecciones = {QStringLiteral("equipo (persona)")};
        emit lista->itemDoubleClicked(lista->topLevelItem(0), 2);
        QCOMPARE(filas(equipos), (QStringList{QStringLiteral("Compu 1|"), QStringLiteral("Robot|computadora (agresivo)"),
                                              QStringLiteral("Compu 2|computadora (agresivo)")}));
        pulsar(equipos, "btnGuardar");
        const TComputadora& computadora = equipos->computadora();
        QCOMPARE(computadora.empresas.size(), std::size_t{2});
        QCOMPARE(computadora.empresas[0], (TEmpresaComputadora{"Robot", TEstilo::agresivo}));
        QCOMPARE(computadora.empresas[1], (TEmpresaComputadora{"Compu 2", TEstilo::agresivo}));
    }

    // The decisions screen opens with the computer's decisions, marked;
    // the review grid marks them too.
    void decisionesMarcadasYLlenas() {
        juegoDePrueba().crearJuego({"Alfa", "Compu 1", "Compu 2"}, ejemploDatosIniciales(),
                                   {5, {{"Compu 1", TEstilo::prudente}, {"Compu 2", TEstilo::agresivo}}});
        juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
        principal->mostrarJuego();
        const auto propuestas = juegoDePrueba().decisionesComputadora();
        item(principal.get(), "mnuPeriodo1")->trigger();
        auto* pantalla = ventanaVisible<TFDeciciones>();
        QVERIFY(pantalla);
        QCOMPARE(pantalla->deComputadora(), (std::vector<bool>{false, true, true}));
        QCOMPARE(control<QLabel>(pantalla, "lblComputadora")->text(), QString());
        QCOMPARE(pantalla->decisionesEquipos()[0].precio, 0);
        for (std::size_t i = 1; i < 3; ++i) {
            QVERIFY(propuestas[i]);
            QCOMPARE(pantalla->decisionesEquipos()[i].precio, propuestas[i]->precio);
            QCOMPARE(pantalla->decisionesEquipos()[i].invPlanta, propuestas[i]->invPlanta);
        }
        escribir(control<QLineEdit>(pantalla, "precio"), QStringLiteral("90"));
        pulsar(pantalla, "btnSiguiente");
        QCOMPARE(control<QLabel>(pantalla, "lblComputadora")->text(), QStringLiteral("(computadora)"));
        QCOMPARE(control<QLineEdit>(pantalla, "precio")->text(), QString::number(propuestas[1]->precio));
        // Copying the previous period fills the teams only.
        QVERIFY(propuestas[2]->precio != ejemploPeriodo0().precio);
        pulsar(pantalla, "btnCopiarAnterior");
        QCOMPARE(pantalla->decisionesEquipos()[0].precio, ejemploPeriodo0().precio);
        QCOMPARE(pantalla->decisionesEquipos()[2].precio, propuestas[2]->precio);
        pulsar(pantalla, "btnRevisar");
        auto* revision = ventanaVisible<TFRevisionDecisiones>();
        QVERIFY(revision);
        auto* grilla = revision->findChild<QTableWidget*>();
        QVERIFY(grilla);
        QCOMPARE(grilla->verticalHeaderItem(0)->text(), QStringLiteral("Alfa"));
        QCOMPARE(grilla->verticalHeaderItem(2)->text(), QStringLiteral("Compu 2 (computadora)"));
        revision->close();
    }

    // Juego → Práctica…: the student's company against the computer's, in a
    // folder of its own under the user's data folder, period 0 run, the
    // decisions screen open; one period runs from it.
    void unaPracticaDeUnPeriodo() {
        QTemporaryDir datosDeUsuario;
        const DatosDeUsuarioEn datos(datosDeUsuario.path());
        const auto antes = carpeta->contenido();
        falsos->textos = {QStringLiteral("Ana"), QStringLiteral("3")};
        falsos->elecciones = {QStringLiteral("En una carpeta nueva de Prácticas"), QStringLiteral("prudente")};
        item(principal.get(), "mnuPractica")->trigger();
        // The folder that was open is left as it was; the practice opened its own.
        QCOMPARE(carpeta->contenido(), antes);
        TJuego& practica = principal->juego();
        const QString primera = deRuta(practica.ruta());
        QCOMPARE(QFileInfo(primera).dir().absolutePath(), QDir(datosDeUsuario.path()).filePath(QStringLiteral("corvelian/Prácticas")));
        QCOMPARE(practica.empresasActivas(), (std::vector<std::string>{"Ana", "Compu 1", "Compu 2", "Compu 3"}));
        QCOMPARE(practica.estilosActivas(),
                 (std::vector<std::optional<TEstilo>>{std::nullopt, TEstilo::prudente, TEstilo::prudente,
                                                      TEstilo::prudente}));
        // The student's screen: their company alone, nothing of the computer's decisions held.
        const auto delComputador = practica.decisionesComputadora();
        auto* pantalla = ventanaVisible<TFDeciciones>();
        QVERIFY(pantalla);
        QCOMPARE(pantalla->empresaDelAlumno(), std::optional<int>(1));
        for (std::size_t i = 1; i < 4; ++i) QCOMPARE(pantalla->decisionesEquipos()[i].precio, 0);
        QVERIFY(control<QPushButton>(pantalla, "btnRevisar")->isHidden());
        escribir(control<QLineEdit>(pantalla, "precio"), QStringLiteral("85"));
        escribir(control<QLineEdit>(pantalla, "marketing"), QStringLiteral("8000"));
        pulsar(pantalla, "btnAnterior");
        QCOMPARE(control<QLabel>(pantalla, "Label6")->text(), QStringLiteral("Ana"));
        // Copying the previous period brings the student's own decisions only.
        pulsar(pantalla, "btnCopiarAnterior");
        QCOMPARE(pantalla->decisionesEquipos()[0].precio, ejemploPeriodo0().precio);
        for (std::size_t i = 1; i < 4; ++i) QCOMPARE(pantalla->decisionesEquipos()[i].precio, 0);
        escribir(control<QLineEdit>(pantalla, "precio"), QStringLiteral("85"));
        // One step stores the student's decisions and the computer's, as it decides them.
        pulsar(pantalla, "btnSiguiente");
        TFSimular* simular = nullptr;
        QTRY_VERIFY((simular = principal->findChild<TFSimular*>()));
        pulsar(simular, "btnSimular");
        QTRY_COMPARE(practica.leerEstado().datos.periodoActual, uint8_t{2});
        const TArchivoPeriodo periodo1 = practica.periodoDelHistorial(1);
        QCOMPARE(periodo1.decisiones[0].precio, 85);
        for (std::size_t i = 1; i < 4; ++i) QCOMPARE(periodo1.decisiones[i].precio, delComputador[i]->precio);
        // Evolución tells the student's line from the computer's, and makes it stand out.
        item(principal.get(), "mnuEvolucion")->trigger();
        auto* evolucion = ventanaVisible<TFEvolucion>();
        QVERIFY(evolucion);
        auto* lista = control<QListWidget>(evolucion, "lstEmpresas");
        QCOMPARE(lista->count(), 4);
        QCOMPARE(lista->item(0)->text(), QStringLiteral("Ana"));
        for (int i = 0; i < 4; ++i) QCOMPARE(lista->item(i)->font().bold(), i == 0);
        QCOMPARE(lista->item(3)->text(), QStringLiteral("Compu 3 (computadora)"));
        evolucion->close();
        // Resultados marks the computer's companies too.
        item(principal.get(), "mnuResultados")->trigger();
        auto* resultados = ventanaVisible<TFResultados>();
        QVERIFY(resultados);
        auto* reportes = control<QListWidget>(resultados, "lstReportes");
        QCOMPARE(reportes->item(1)->text() + reportes->item(4)->text(), QStringLiteral("AnaCompu 3 (PC)"));
        resultados->close();

        // Another practice, even in the same second, never lands on this one.
        falsos->textos = {QStringLiteral("Bea"), QStringLiteral("1")};
        item(principal.get(), "mnuPractica")->trigger();
        QVERIFY(deRuta(principal->juego().ruta()) != primera);
        QCOMPARE(principal->juego().empresasActivas(), (std::vector<std::string>{"Bea", "Compu 1"}));
        QCOMPARE(TJuego(aRuta(primera)).leerEstado().datos.periodoActual, uint8_t{2});
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaComputadora)
#include "computadora_test.moc"
