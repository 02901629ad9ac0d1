// Several games, one folder each: "Abrir carpeta de juego…" switches the
// window to another game (its period, its teams, its title), the last
// folders come back in the "Juego" menu, and a switch never loses decisions
// typed and not stored.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "juego/Juego.h"
#include "ui/UDeciciones.h"
#include "ui/UPosiciones.h"
#include "ui/UPrincipal.h"

#include <QLabel>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>

namespace {

std::filesystem::path aRuta(const QString& carpeta) { return std::filesystem::path(carpeta.toStdU16String()); }

// A game of these teams with period 2 open in carpeta; the data folder stays as it was.
void juegoEnPeriodo2(const QString& carpeta, const std::vector<std::string>& equipos) {
    const auto anterior = carpetaDePrueba().ruta();
    usarCarpetaDePrueba(aRuta(carpeta));
    juegoDePrueba().crearJuego(equipos, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    juegoDePrueba().guardarDecisiones(std::vector<TRegDecision>(equipos.size(), TRegDecision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0}));
    juegoDePrueba().simular();
    usarCarpetaDePrueba(anterior);
}

bool abrir(TFPrincipal& principal, DialogosFalsos& cajas, const QString& carpeta) {
    cajas.carpetas = {carpeta};
    item(&principal, "mnuAbrirCarpeta")->trigger();
    descartarCerradas();
    return principal.juego().ruta() == aRuta(carpeta);
}

bool habilitado(const TFPrincipal& principal, const char* nombre) { return item(&principal, nombre)->isEnabled(); }

}  // namespace

class PruebaCarpetas : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }  // never the user's recent list
    void init() { QSettings(QStringLiteral("corvelian"), QStringLiteral("corvelian")).clear(); }
    void cleanup() { descartarCerradas(); }

    void otraCarpetaEsOtroJuego() {
        CarpetaDeJuego primera;  // no game in it
        const QString inicial = QDir::cleanPath(primera.ruta(QString()));
        QTemporaryDir temporal;
        const QString clase = temporal.filePath(QStringLiteral("Clase 3º B"));
        QVERIFY(QDir().mkpath(clase));
        juegoEnPeriodo2(clase, {"Delta", "Épsilon"});
        DialogosFalsos cajas;
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();
        item(&principal, "mnuZona1")->trigger();
        QPointer<TFPosiciones> posiciones = ventanaVisible<TFPosiciones>();
        QVERIFY(posiciones);

        QVERIFY(abrir(principal, cajas, clase));
        QCOMPARE(principal.windowTitle(), QStringLiteral("CORVELIAN V2.0 - Clase 3º B"));
        QVERIFY(!posiciones);  // the old game's screens are gone
        QVERIFY(habilitado(principal, "mnuPeriodo2") && habilitado(principal, "mnuModificar"));
        QVERIFY(!habilitado(principal, "mnuPeriodo0") && !habilitado(principal, "mnuPeriodo1"));
        item(&principal, "mnuPeriodo2")->trigger();
        QPointer<TFDeciciones> decisiones = ventanaVisible<TFDeciciones>();
        QVERIFY(decisiones);
        QCOMPARE(control<QLabel>(decisiones, "Label5")->text(), QStringLiteral("2"));
        QCOMPARE(control<QLabel>(decisiones, "Label6")->text(), QStringLiteral("Delta"));

        // The game left behind is one click away, and comes back as it was.
        QCOMPARE(TFPrincipal::carpetasRecientes(), (QStringList{clase, inicial}));
        item(&principal, "mnuReciente2")->trigger();
        descartarCerradas();
        QCOMPARE(principal.juego().ruta(), aRuta(inicial));
        QVERIFY(!decisiones && !habilitado(principal, "mnuPeriodo2") && !habilitado(principal, "mnuModificar"));
        QCOMPARE(principal.windowTitle(), QStringLiteral("CORVELIAN V2.0 - ") + QFileInfo(inicial).fileName());

        // A folder that went away is said so and dropped.
        QVERIFY(QDir(clase).removeRecursively());
        item(&principal, "mnuReciente2")->trigger();
        QCOMPARE(cajas.textosMostrados(),
                 QStringList{QStringLiteral("La carpeta de juego «%1» ya no existe; se quita de la lista.").arg(clase)});
        QCOMPARE(TFPrincipal::carpetasRecientes(), QStringList{inicial});
        descartarCerradas();
        QVERIFY(!item(&principal, "mnuReciente2"));

        // New folders named in the chooser are made; the list keeps the last five.
        for (int i = 1; i <= 6; ++i) QVERIFY(abrir(principal, cajas, temporal.filePath(QStringLiteral("c%1").arg(i))));
        QCOMPARE(TFPrincipal::carpetasRecientes().size(), TFPrincipal::maxRecientes);
        QCOMPARE(TFPrincipal::carpetasRecientes().front(), temporal.filePath(QStringLiteral("c6")));
        QCOMPARE(item(&principal, "mnuReciente1")->text(), QStringLiteral("&1 c6 (%1)").arg(temporal.filePath("c6")));
    }

    void decisionesSinGuardarOJuegoIlegibleDetienenElCambio() {
        CarpetaDeJuego primera;
        juegoEnPeriodo2(QDir::cleanPath(primera.ruta(QString())), {"Alfa", "Beta"});
        QTemporaryDir otra, danada;
        QFile archivo(danada.filePath(QStringLiteral("DATOS INICIALES.DAT")));
        QVERIFY(archivo.open(QIODevice::WriteOnly) && archivo.write("corto") == 5 && archivo.flush());
        DialogosFalsos cajas;
        TFPrincipal principal(carpetaDePrueba().ruta());
        const QString titulo = principal.windowTitle();
        principal.mostrarJuego();
        item(&principal, "mnuPeriodo2")->trigger();
        QPointer<TFDeciciones> pantalla = ventanaVisible<TFDeciciones>();
        QVERIFY(activar(pantalla));
        escribir(control<QLineEdit>(pantalla, "marketing"), QStringLiteral("5000"));

        cajas.respuestas = {ServicioDialogos::Respuesta::no};  // keep the typed decisions
        QVERIFY(!abrir(principal, cajas, otra.path()));
        QVERIFY(cajas.cajas.at(0).texto.startsWith(QStringLiteral("Hay decisiones cargadas que no se guardaron.")));
        QVERIFY(pantalla && pantalla->isVisible());
        QCOMPARE(principal.windowTitle(), titulo);
        QVERIFY(TFPrincipal::carpetasRecientes().isEmpty());

        // A damaged game is refused with its error; the game open stays.
        cajas.cajas.clear();
        cajas.respuestas = {ServicioDialogos::Respuesta::si};
        QVERIFY(!abrir(principal, cajas, danada.path()));
        QVERIFY(!pantalla);
        QVERIFY2(cajas.cajas.at(1).texto.contains(QStringLiteral("dañado")), qPrintable(cajas.cajas.at(1).texto));
        QCOMPARE(principal.windowTitle(), titulo);
        QVERIFY(habilitado(principal, "mnuPeriodo2"));
    }

    // Práctica → Elegir carpeta…: played where the user says, never over a game.
    void practicaEnLaCarpetaElegida_data() {
        QTest::addColumn<QString>("contenido");  // "juego", a folder inside, or a subfolder to be made ("/…")
        QTest::addColumn<bool>("seJuega");
        QTest::newRow("vacía") << QString() << true;
        QTest::newRow("que no existe") << QStringLiteral("/Práctica de Ana") << true;
        QTest::newRow("con un juego") << QStringLiteral("juego") << false;
        QTest::newRow("con lo que dejó un juego") << QStringLiteral("historial anterior 1") << false;
    }
    void practicaEnLaCarpetaElegida() {
        QFETCH(QString, contenido);
        QFETCH(bool, seJuega);
        CarpetaDeJuego abierta;
        QTemporaryDir temporal;
        const QString elegida = temporal.path() + (contenido.startsWith(QLatin1Char('/')) ? contenido : QString());
        if (contenido == QStringLiteral("juego")) juegoEnPeriodo2(elegida, {"Delta"});
        else if (!contenido.isEmpty() && !contenido.startsWith(QLatin1Char('/'))) QVERIFY(QDir(elegida).mkdir(contenido));
        const QStringList antes = QDir(elegida).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        DialogosFalsos cajas;
        TFPrincipal principal(carpetaDePrueba().ruta());
        cajas.elecciones = {QStringLiteral("Elegir carpeta…")};
        cajas.carpetas = {elegida};
        cajas.textos = {QStringLiteral("Ana"), QStringLiteral("1")};
        item(&principal, "mnuPractica")->trigger();
        QCOMPARE(principal.juego().ruta() == aRuta(elegida), seJuega);
        QCOMPARE(principal.juego().empresaDePractica(), seJuega ? std::optional<int>(1) : std::nullopt);
        if (seJuega) return;
        QVERIFY(cajas.textosMostrados().join(QString()).contains(QStringLiteral("tiene un juego")));
        QCOMPARE(QDir(elegida).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), antes);
    }

    // Juego → Juegos anteriores de esta carpeta…: a replaced game opens as a
    // copy of its own under the user's data folder; this folder stays as it was.
    void juegosAnteriores_data() {
        QTest::addColumn<bool>("reemplazado");
        QTest::newRow("ninguno") << false;
        QTest::newRow("uno") << true;
    }
    void juegosAnteriores() {
        QFETCH(bool, reemplazado);
        CarpetaDeJuego carpeta;
        QTemporaryDir datosDeUsuario;
        const DatosDeUsuarioEn datos(datosDeUsuario.path());
        const QString inicial = QDir::cleanPath(carpeta.ruta(QString()));
        juegoEnPeriodo2(inicial, {"Delta", "Épsilon"});
        if (reemplazado) juegoDePrueba().crearJuego({"Zeta"}, ejemploDatosIniciales());
        const auto antes = carpeta.contenido();
        DialogosFalsos cajas;
        TFPrincipal principal(carpetaDePrueba().ruta());
        item(&principal, "mnuJuegosAnteriores")->trigger();
        QCOMPARE(carpeta.contenido(), antes);
        QCOMPARE(cajas.textosMostrados().join(QString()).contains(QStringLiteral("no guarda juegos anteriores")), !reemplazado);
        if (!reemplazado) return;
        QCOMPARE(cajas.opcionesMostradas.value(0), QStringList{QStringLiteral("historial anterior 1 (hasta el período 1)")});
        QVERIFY(QString::fromStdU16String(principal.juego().ruta().u16string())
                    .startsWith(QDir(datosDeUsuario.path()).filePath(QStringLiteral("corvelian/Juegos anteriores/"))));
        QCOMPARE(principal.juego().empresasActivas(), (std::vector<std::string>{"Delta", "Épsilon"}));
        // It plays on from where it stood.
        principal.juego().guardarDecisiones(std::vector<TRegDecision>(2, {90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0}));
        QCOMPARE(principal.juego().simular().periodoNuevo, 3);
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaCarpetas)
#include "carpetas_test.moc"
