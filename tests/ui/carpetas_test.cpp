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
#include "ui/UResultados.h"

#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>

namespace {

using R = ServicioDialogos::Respuesta;
const TRegDecision kDecision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};

std::filesystem::path aRuta(const QString& carpeta) { return std::filesystem::path(carpeta.toStdU16String()); }

enum class Juego { enPeriodo2, preparado, vacia, terminado };

// Plays a game of these teams in carpeta and comes back to the folder open before.
void prepararJuego(const QString& carpeta, Juego juego, const std::vector<std::string>& equipos) {
    const auto anterior = carpetaDatos();
    fijarCarpetaDatos(aRuta(carpeta));
    if (juego != Juego::vacia) crearJuego(equipos, ejemploDatosIniciales());
    if (juego == Juego::enPeriodo2 || juego == Juego::terminado) {
        correrPeriodo0(ejemploPeriodo0());
        for (int periodo = 1; periodo <= (juego == Juego::terminado ? 10 : 1); ++periodo) {
            guardarDecisiones(std::vector<TRegDecision>(empresasActivas().size(), kDecision));
            simular();
        }
    }
    fijarCarpetaDatos(anterior);
}

QString periodosHabilitados(const QWidget& principal) {
    QStringList habilitados;
    for (int p = 0; p <= 10; ++p)
        if (item(&principal, qPrintable(QStringLiteral("mnuPeriodo%1").arg(p)))->isEnabled())
            habilitados << QString::number(p);
    return habilitados.join(QLatin1Char(','));
}

QString estado(const TFPrincipal& principal) { return control<QLabel>(&principal, "lblEstado")->text(); }

QString raiz(const CarpetaDeJuego& carpeta) { return QDir::cleanPath(carpeta.ruta(QString())); }

QString nombreDe(const QString& carpeta) { return QFileInfo(carpeta).fileName(); }

// The folder items of the "Juego" menu, as shown.
QStringList itemsRecientes(const TFPrincipal& principal) {
    QStringList textos;
    for (QAction* a : principal.findChild<QMenu*>(QStringLiteral("mnuJuego"))->actions())
        if (a->objectName().startsWith(QStringLiteral("mnuReciente"))) textos << a->text();
    return textos;
}

bool abrirConElMenu(TFPrincipal& principal, DialogosFalsos& cajas, const QString& carpeta) {
    cajas.carpetas = {carpeta};
    item(&principal, "mnuAbrirCarpeta")->trigger();
    descartarCerradas();
    return carpetaDatos() == aRuta(carpeta);
}

}  // namespace

class PruebaCarpetas : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The recent list goes to a test settings file, never the user's.
        QStandardPaths::setTestModeEnabled(true);
        const QSettings ajustes(QStringLiteral("corvelian"), QStringLiteral("corvelian"));
        QVERIFY2(ajustes.fileName().contains(QStringLiteral("qttest")), qPrintable(ajustes.fileName()));
    }
    void init() { QSettings(QStringLiteral("corvelian"), QStringLiteral("corvelian")).clear(); }
    void cleanup() { descartarCerradas(); }

    void otraCarpetaMuestraSuJuego_data() {
        QTest::addColumn<Juego>("juego");
        QTest::addColumn<QString>("periodos");  // enabled "Período" items
        QTest::addColumn<bool>("modificar");
        QTest::addColumn<QString>("estadoEsperado");
        QTest::newRow("en el período 2") << Juego::enPeriodo2 << "2" << true << "Período 2 abierto  |  Empresas activas: 2";
        QTest::newRow("preparado") << Juego::preparado << "0" << true << "Período 0 abierto  |  Empresas activas: 2";
        QTest::newRow("carpeta nueva") << Juego::vacia << "" << false << "Sin juego  |  Empresas activas: 0";
        QTest::newRow("terminado") << Juego::terminado << "" << true << "Juego terminado";
    }
    void otraCarpetaMuestraSuJuego() {
        QFETCH(Juego, juego);
        QFETCH(QString, periodos);
        QFETCH(bool, modificar);
        QFETCH(QString, estadoEsperado);
        CarpetaDeJuego primera;
        prepararJuego(raiz(primera), Juego::enPeriodo2, {"Alfa", "Beta", "Gamma"});
        QTemporaryDir temporal;
        const QString segunda = temporal.filePath(QStringLiteral("Clase 3º B"));
        QVERIFY(QDir().mkpath(segunda));
        prepararJuego(segunda, juego, {"Delta", "Épsilon"});

        DialogosFalsos cajas;
        TFPrincipal principal;
        principal.show();
        QCOMPARE(principal.windowTitle(), QStringLiteral("CORVELIAN V2.0 - ") + nombreDe(raiz(primera)));
        // Screens of the first game are open: its standings and its results.
        item(&principal, "mnuZona1")->trigger();
        item(&principal, "mnuResultados")->trigger();
        QPointer<TFPosiciones> posiciones = ventanaVisible<TFPosiciones>();
        QPointer<TFResultados> resultados = ventanaVisible<TFResultados>();
        QVERIFY(posiciones && resultados);

        QVERIFY(abrirConElMenu(principal, cajas, segunda));
        QCOMPARE(cajas.titulosCarpeta, QStringList{QStringLiteral("Abrir carpeta de juego")});
        QCOMPARE(principal.windowTitle(), QStringLiteral("CORVELIAN V2.0 - Clase 3º B"));
        QVERIFY(!posiciones && !resultados);
        QCOMPARE(periodosHabilitados(principal), periodos);
        QCOMPARE(item(&principal, "mnuModificar")->isEnabled(), modificar);
        QVERIFY2(estado(principal).contains(segunda), qPrintable(estado(principal)));
        QVERIFY2(estado(principal).contains(estadoEsperado), qPrintable(estado(principal)));
        QVERIFY(cajas.cajas.isEmpty());

        if (juego == Juego::enPeriodo2) {
            // The decision screen is this game's: its period and its teams.
            item(&principal, "mnuPeriodo2")->trigger();
            auto* decisiones = ventanaVisible<TFDeciciones>();
            QVERIFY(decisiones);
            QCOMPARE(control<QLabel>(decisiones, "Label5")->text(), QStringLiteral("2"));
            QCOMPARE(control<QLabel>(decisiones, "Label6")->text(), QStringLiteral("Delta"));
            decisiones->close();
        }
        // And back to the first one through the recent list.
        QCOMPARE(TFPrincipal::carpetasRecientes(), (QStringList{segunda, raiz(primera)}));
        item(&principal, "mnuReciente2")->trigger();
        descartarCerradas();
        QCOMPARE(carpetaDatos(), aRuta(raiz(primera)));
        QCOMPARE(periodosHabilitados(principal), QStringLiteral("2"));
        QCOMPARE(empresasActivas(), (std::vector<std::string>{"Alfa", "Beta", "Gamma"}));
    }

    void decisionesSinGuardarDetienenElCambio_data() {
        QTest::addColumn<bool>("perderlas");
        QTest::newRow("se queda con ellas") << false;
        QTest::newRow("las pierde") << true;
    }
    void decisionesSinGuardarDetienenElCambio() {
        QFETCH(bool, perderlas);
        CarpetaDeJuego primera;
        prepararJuego(raiz(primera), Juego::enPeriodo2, {"Alfa", "Beta"});
        QTemporaryDir segunda;
        prepararJuego(segunda.path(), Juego::preparado, {"Delta"});
        DialogosFalsos cajas;
        TFPrincipal principal;
        principal.show();
        const QString titulo = principal.windowTitle();
        principal.habilitarPeriodo(2, true);
        item(&principal, "mnuPeriodo2")->trigger();
        QPointer<TFDeciciones> pantalla = ventanaVisible<TFDeciciones>();
        QVERIFY(activar(pantalla));
        escribir(control<QLineEdit>(pantalla, "Edit2"), QStringLiteral("5000"));
        const auto antes = primera.contenido();

        cajas.respuestas = {perderlas ? R::si : R::no};
        QCOMPARE(abrirConElMenu(principal, cajas, segunda.path()), perderlas);
        QCOMPARE(cajas.cajas.size(), 1);
        QVERIFY(cajas.cajas[0].texto.startsWith(QStringLiteral("Hay decisiones cargadas que no se guardaron.")));
        QCOMPARE(bool(pantalla), !perderlas);
        QCOMPARE(primera.contenido(), antes);
        if (perderlas) {
            QCOMPARE(principal.windowTitle(), QStringLiteral("CORVELIAN V2.0 - ") + nombreDe(segunda.path()));
            QCOMPARE(periodosHabilitados(principal), QStringLiteral("0"));
        } else {
            // Nothing moved: the same game, screen, title, menus and list.
            QVERIFY(pantalla->isVisible());
            QCOMPARE(principal.windowTitle(), titulo);
            QCOMPARE(periodosHabilitados(principal), QStringLiteral("2"));
            QVERIFY(TFPrincipal::carpetasRecientes().isEmpty());
            cajas.respuestas = {R::si};
            pantalla->close();
        }
    }

    void losUltimosCincoEnElMenu() {
        CarpetaDeJuego inicial;
        QTemporaryDir temporal;
        DialogosFalsos cajas;
        TFPrincipal principal;
        QCOMPARE(itemsRecientes(principal), QStringList());
        QStringList abiertas;
        for (int i = 1; i <= 6; ++i) {
            // A folder named in the chooser that does not exist yet is made.
            abiertas.prepend(temporal.filePath(QStringLiteral("clase %1").arg(i)));
            QVERIFY(abrirConElMenu(principal, cajas, abiertas.front()));
            QVERIFY(QFileInfo(abiertas.front()).isDir());
        }
        QCOMPARE(TFPrincipal::carpetasRecientes(), abiertas.mid(0, TFPrincipal::maxRecientes));
        QStringList esperados;
        for (int i = 0; i < TFPrincipal::maxRecientes; ++i)
            esperados << QStringLiteral("&%1 %2 (%3)").arg(i + 1).arg(nombreDe(abiertas[i]), abiertas[i]);
        QCOMPARE(itemsRecientes(principal), esperados);

        // Opening one again moves it to the top, once.
        QVERIFY(abrirConElMenu(principal, cajas, abiertas[3]));
        QCOMPARE(TFPrincipal::carpetasRecientes().front(), abiertas[3]);
        QCOMPARE(TFPrincipal::carpetasRecientes().count(abiertas[3]), 1);
        QCOMPARE(TFPrincipal::carpetasRecientes().size(), TFPrincipal::maxRecientes);

        // A new window finds the same list.
        TFPrincipal otra;
        QCOMPARE(itemsRecientes(otra), itemsRecientes(principal));

        // A folder that went away is said so and leaves the list; the game open stays.
        const QString borrada = TFPrincipal::carpetasRecientes()[1];
        QVERIFY(QDir(borrada).removeRecursively());
        item(&principal, "mnuReciente2")->trigger();
        QCOMPARE(cajas.textosMostrados().last(),
                 QStringLiteral("La carpeta de juego «%1» ya no existe; se quita de la lista.").arg(borrada));
        QCOMPARE(carpetaDatos(), aRuta(abiertas[3]));
        QVERIFY(!TFPrincipal::carpetasRecientes().contains(borrada));
        QCOMPARE(itemsRecientes(principal).size(), TFPrincipal::maxRecientes - 1);
    }

    void unJuegoIlegibleNoSeAbre() {
        CarpetaDeJuego primera;
        prepararJuego(raiz(primera), Juego::enPeriodo2, {"Alfa", "Beta"});
        QTemporaryDir danada;
        QFile archivo(danada.filePath(QStringLiteral("DATOS INICIALES.DAT")));
        QVERIFY(archivo.open(QIODevice::WriteOnly));
        archivo.write("corto");
        archivo.close();
        DialogosFalsos cajas;
        TFPrincipal principal;
        const QString titulo = principal.windowTitle();
        principal.habilitarPeriodo(2, true);

        QVERIFY(!abrirConElMenu(principal, cajas, danada.path()));
        QCOMPARE(cajas.cajas.size(), 1);
        QVERIFY2(cajas.cajas[0].texto.contains(QStringLiteral("dañado")), qPrintable(cajas.cajas[0].texto));
        QCOMPARE(carpetaDatos(), aRuta(raiz(primera)));
        QCOMPARE(principal.windowTitle(), titulo);
        QCOMPARE(periodosHabilitados(principal), QStringLiteral("2"));
        QVERIFY(TFPrincipal::carpetasRecientes().isEmpty());

        // Cancelling the chooser changes nothing either.
        cajas.carpetas.clear();
        item(&principal, "mnuAbrirCarpeta")->trigger();
        QCOMPARE(carpetaDatos(), aRuta(raiz(primera)));
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaCarpetas)
#include "carpetas_test.moc"
