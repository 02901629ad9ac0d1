// The main window: its menus at start, the enabling rules through a game,
// every confirmation and what No or Cancel leaves alone, the picture, and
// the notifier the runs speak through.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"
#include "comun/Empresas.h"

#include "store/Notificador.h"
#include "store/Texto.h"
#include "ui/UDatosIniciales.h"
#include "ui/UDeciciones.h"
#include "ui/UDecicionesPeriodo0.h"
#include "ui/UEquipos.h"
#include "ui/UModificarDatos.h"
#include "ui/UPosiciones.h"
#include "ui/UPrincipal.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>

using Icono = ServicioDialogos::Icono;
using Botones = ServicioDialogos::Botones;
using Respuesta = ServicioDialogos::Respuesta;

namespace {

QByteArray empresas(int n, int32_t marca) {
    const auto bytes = bytesDeEmpresas(n, marca);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// A game of three companies at periodo: -1 none, 0 set up with period 0 not run yet.
void guardarParametros(int periodo, int32_t indemnizacion = 300, int32_t penalidad = 500) {
    if (periodo < 0) return;
    QFile resultados(QString::fromStdString((carpetaDePrueba().ruta() / "DATOS ACUMULADOS.DAT").string()));
    if (periodo > 0 && resultados.open(QIODevice::WriteOnly)) resultados.write(empresas(3, 0));
    TRegDatosIniciales r{};
    r.cantEquipos = 3;
    r.cantEquiposZona1 = 3;
    r.zonaActiva = 1;
    r.periodoActual = static_cast<uint8_t>(std::max(periodo, 1));
    r.indemXEmpleado = indemnizacion;
    r.penalidad = penalidad;
    TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(r);
}

// "0" … "10": the enabled "Período" items, e.g. "0,4".
QString periodosHabilitados(const QWidget& principal) {
    QStringList habilitados;
    for (int p = 0; p <= 10; ++p)
        if (item(&principal, qPrintable(QStringLiteral("mnuPeriodo%1").arg(p)))->isEnabled())
            habilitados << QString::number(p);
    return habilitados.join(QLatin1Char(','));
}

bool modificarHabilitado(const QWidget& principal) { return item(&principal, "mnuModificar")->isEnabled(); }

QString atencion(const QString& texto, Icono icono = Icono::advertencia, Botones botones = Botones::siNo) {
    return DialogosFalsos::comoTexto(QStringLiteral("Atención"), texto, icono, botones);
}

}  // namespace

class PruebaPrincipal : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { descartarCerradas(); }

    void alEmpezar() {
        CarpetaDeJuego carpeta;
        TFPrincipal principal(carpetaDePrueba().ruta());
        // The caption comes first, then the open game's folder.
        QCOMPARE(principal.windowTitle(),
                 QStringLiteral("CORVELIAN V2.0 - ") + QFileInfo(carpeta.ruta(QStringLiteral("x"))).dir().dirName());

        QStringList menus;
        for (QAction* a : principal.menuBar()->actions()) menus << a->text();
        // With their Alt letters.
        QCOMPARE(menus, (QStringList{"&Juego", "&Simular", "&Datos", "&Ver", "A&yuda"}));

        const struct {
            const char* nombre;
            const char* texto;
            QKeySequence atajo;
            bool habilitado;
        } items[] = {
            {"mnuNuevo", "Nuevo", QKeySequence(QStringLiteral("Ctrl+N")), true},
            {"mnuReanudar", "Reanudar", QKeySequence(QStringLiteral("Ctrl+R")), true},
            {"mnuSalir", "Salir", QKeySequence(QStringLiteral("Ctrl+X")), true},
            {"mnuModificar", "Modificar", QKeySequence(QStringLiteral("Ctrl+M")), false},
            {"mnuVolverAtras", "Volver atrás", QKeySequence(), true},
            {"mnuZona1", "Zona 1", QKeySequence(), true},
            {"mnuAcercaDe", "Acerca de ...", QKeySequence(), true},
        };
        for (const auto& esperado : items) {
            QAction* a = item(&principal, esperado.nombre);
            QVERIFY2(a, esperado.nombre);
            QCOMPARE(a->text(), QString::fromUtf8(esperado.texto));
            QCOMPARE(a->shortcut(), esperado.atajo);
            QCOMPARE(a->isEnabled(), esperado.habilitado);
        }
        for (int p = 0; p <= 10; ++p)
            QCOMPARE(item(&principal, qPrintable(QStringLiteral("mnuPeriodo%1").arg(p)))->text(),
                     QStringLiteral("Período %1").arg(p));
        QCOMPARE(periodosHabilitados(principal), QString());

        // "Salir" closes the "Juego" menu after a separator; "Zona 1" sits under "Ver" ▸ "Posiciones".
        auto* juego = principal.findChild<QMenu*>(QStringLiteral("mnuJuego"));
        const auto acciones = juego->actions();
        QCOMPARE(acciones.back(), item(&principal, "mnuSalir"));
        QCOMPARE(item(&principal, "mnuAbrirCarpeta")->text(), QStringLiteral("Abrir carpeta de juego…"));
        QVERIFY(acciones.contains(item(&principal, "mnuAbrirCarpeta")));
        QVERIFY(acciones.at(acciones.size() - 2)->isSeparator());
        QVERIFY(acciones.indexOf(item(&principal, "mnuExportarPdf")) > acciones.indexOf(item(&principal, "mnuReanudar")));
        auto* posiciones = principal.findChild<QMenu*>(QStringLiteral("mnuPosiciones"));
        QCOMPARE(posiciones->title(), QStringLiteral("Posiciones"));
        QVERIFY(posiciones->actions().contains(item(&principal, "mnuZona1")));
    }

    // A folder whose name is not UTF-8 (made by another system) still opens; its name shows as best it can.
    void carpetaConNombreQueNoEsUtf8() {
        CarpetaDeJuego carpeta;
        const std::filesystem::path rara = carpetaDePrueba().ruta() / std::string("juego\xff" "1");
        std::filesystem::create_directory(rara);
        TFPrincipal principal(rara);
        QVERIFY(principal.windowTitle().startsWith(QStringLiteral("CORVELIAN V2.0 - juego")));
        QVERIFY(principal.windowTitle().endsWith(QLatin1Char('1')));
    }

    void laImagenLlenaLaVentanaCentrada() {
        CarpetaDeJuego carpeta;
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.resize(1300, 800);
        principal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principal));
        const QImage vista = principal.centralWidget()->grab().toImage();
        QVERIFY(vista.width() > 960);

        // The band around the picture is the window's white; the picture's
        // coloured part is as far from the left edge as from the right one.
        QCOMPARE(QColor(vista.pixel(2, 2)), QColor(Qt::white));
        const int fila = vista.height() / 2;
        int izquierda = -1, derecha = -1;
        for (int x = 0; x < vista.width(); ++x)
            if (QColor(vista.pixel(x, fila)) != QColor(Qt::white)) {
                if (izquierda < 0) izquierda = x;
                derecha = x;
            }
        QVERIFY(izquierda > 0);
        QVERIFY(qAbs(izquierda - (vista.width() - 1 - derecha)) <= 2);
    }

    void imagenesDeRecurso() {
        CarpetaDeJuego carpeta;
        TFPrincipal principal(carpetaDePrueba().ruta());  // registers the resources
        QCOMPARE(QImage(QStringLiteral(":/imagenes/portada.png")).size(), QSize(960, 600));
        QCOMPARE(QImage(QStringLiteral(":/imagenes/icono.png")).size(), QSize(64, 64));
        QVERIFY(!QApplication::windowIcon().isNull());
        QVERIFY(QImage(QStringLiteral(":/imagenes/no_existe.png")).isNull());
    }

    // Over a game the question names what is replaced, and Enter (No) keeps it.
    void nuevoPreguntaYAbreLosEquipos_data() {
        QTest::addColumn<int>("periodo");  // stored position; -1 no game, 0 period 0 not run
        QTest::addColumn<std::optional<Respuesta>>("respuesta");  // nothing: Enter
        QTest::addColumn<QString>("reemplaza");
        QTest::addColumn<Botones>("botones");
        QTest::addColumn<bool>("abre");
        const auto enel = [](int p) {
            return QStringLiteral("El juego nuevo reemplaza el juego de 3 empresas, en el período %1, de esta carpeta.\n").arg(p);
        };
        const std::optional<Respuesta> enter;
        const Botones no = Botones::siNoPorOmisionNo;
        QTest::newRow("sin juego, Enter") << -1 << enter << QString() << Botones::siNo << true;
        QTest::newRow("sin juego, No") << -1 << std::optional(Respuesta::no) << QString() << Botones::siNo << false;
        QTest::newRow("período 5, Enter") << 5 << enter << enel(5) << no << false;
        QTest::newRow("período 5, Sí") << 5 << std::optional(Respuesta::si) << enel(5) << no << true;
        QTest::newRow("terminado, Enter") << 11 << enter << enel(10) << no << false;
        QTest::newRow("período 0, Enter") << 0 << enter << enel(0) << no << false;
    }
    void nuevoPreguntaYAbreLosEquipos() {
        QFETCH(int, periodo);
        QFETCH(std::optional<Respuesta>, respuesta);
        QFETCH(QString, reemplaza);
        QFETCH(Botones, botones);
        QFETCH(bool, abre);
        CarpetaDeJuego carpeta;
        guardarParametros(periodo);
        const auto antes = carpeta.contenido();
        DialogosFalsos falsos;
        if (respuesta) falsos.respuestas = {*respuesta};
        TFPrincipal principal(carpetaDePrueba().ruta());
        item(&principal, "mnuNuevo")->trigger();
        QCOMPARE(falsos.cajasComoTexto(), QStringList{atencion(reemplaza + QStringLiteral("¿Desea comenzar un juego nuevo?"),
                                                              Icono::advertencia, botones)});
        QCOMPARE(ventanaVisible<TFEquipos>() != nullptr, abre);
        if (abre) QCOMPARE(ventanaVisible<TFEquipos>()->parentWidget(), &principal);
        // Nothing is deleted or reset by the question itself.
        QCOMPARE(carpeta.contenido(), antes);
        QCOMPARE(periodosHabilitados(principal), QString());
    }

    void atajoDeTeclado() {
        CarpetaDeJuego carpeta;
        DialogosFalsos falsos;
        falsos.respuestas = {Respuesta::no};
        TFPrincipal principal(carpetaDePrueba().ruta());
        QVERIFY(activar(&principal));
        QTest::keySequence(&principal, QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(falsos.textosMostrados(), QStringList{QStringLiteral("¿Desea comenzar un juego nuevo?")});
    }

    // At start the game in the folder is offered; its periods stay closed until resumed.
    void alEmpezarOfreceReanudar_data() {
        QTest::addColumn<int>("periodo");  // stored position; -1 no game, 0 period 0 not run
        QTest::addColumn<Respuesta>("respuesta");
        QTest::addColumn<QString>("pregunta");
        QTest::addColumn<QString>("habilitados");
        QTest::addColumn<bool>("diceComoReanudar");
        QTest::newRow("período 8, Sí") << 8 << Respuesta::si << "¿Reanudar el juego, en el período 8?" << "8" << false;
        QTest::newRow("período 8, No") << 8 << Respuesta::no << "¿Reanudar el juego, en el período 8?" << "" << true;
        QTest::newRow("período 0 sin correr") << 0 << Respuesta::si << "¿Reanudar el juego, en el período 0?" << "0" << false;
        QTest::newRow("juego terminado") << 11 << Respuesta::si << "" << "" << false;
        QTest::newRow("sin juego") << -1 << Respuesta::si << "" << "" << false;
    }
    void alEmpezarOfreceReanudar() {
        QFETCH(int, periodo);
        QFETCH(Respuesta, respuesta);
        QFETCH(QString, pregunta);
        QFETCH(QString, habilitados);
        QFETCH(bool, diceComoReanudar);
        CarpetaDeJuego carpeta;
        guardarParametros(periodo);
        DialogosFalsos falsos;
        falsos.respuestas = {respuesta};
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.ofrecerReanudar();

        QCOMPARE(falsos.textosMostrados(), pregunta.isEmpty() ? QStringList() : QStringList{pregunta});
        if (!pregunta.isEmpty()) QCOMPARE(falsos.cajas[0].botones, Botones::siNo);
        QCOMPARE(periodosHabilitados(principal), habilitados);
        QCOMPARE(principal.statusBar()->currentMessage().contains(QStringLiteral("Juego → Reanudar")), diceComoReanudar);
    }

    // Resuming loads the stored game, its values and its period; No, or no
    // game, leaves the window as it was; the folder never changes.
    void reanudar_data() {
        QTest::addColumn<int>("periodo");  // stored position; -1 no game, 0 period 0 not run
        QTest::addColumn<Respuesta>("respuesta");
        QTest::addColumn<QString>("habilitados");
        QTest::addColumn<bool>("reanuda");
        QTest::newRow("período 4") << 4 << Respuesta::si << "4" << true;
        QTest::newRow("período 1") << 1 << Respuesta::si << "1" << true;
        QTest::newRow("sin el período 0") << 0 << Respuesta::si << "0" << true;
        QTest::newRow("juego terminado") << 11 << Respuesta::si << "" << true;
        QTest::newRow("período 4, No") << 4 << Respuesta::no << "" << false;
        QTest::newRow("sin juego") << -1 << Respuesta::si << "" << false;
    }
    void reanudar() {
        QFETCH(int, periodo);
        QFETCH(Respuesta, respuesta);
        QFETCH(QString, habilitados);
        QFETCH(bool, reanuda);
        CarpetaDeJuego carpeta;
        guardarParametros(periodo, 450, 800);
        const auto antes = carpeta.contenido();
        DialogosFalsos falsos;
        falsos.respuestas = {respuesta};
        TFPrincipal principal(carpetaDePrueba().ruta());
        item(&principal, "mnuReanudar")->trigger();
        QCOMPARE(falsos.cajasComoTexto().value(0), atencion(QStringLiteral("¿Desea reanudar el juego guardado?")));
        QCOMPARE(falsos.textosMostrados().mid(1),
                 periodo < 0 ? QStringList{QStringLiteral("No hay un juego guardado en esta carpeta.")} : QStringList());
        QCOMPARE(periodosHabilitados(principal), habilitados);
        QCOMPARE(modificarHabilitado(principal), reanuda);
        QCOMPARE(principal.juego().indemnizacionPorEmpleado(), reanuda ? 450 : 300);
        QCOMPARE(principal.juego().valorPenalidad(), reanuda ? 800 : 500);
        if (reanuda) QCOMPARE(principal.periodoActual(), std::max(periodo, 1));  // as stored
        QCOMPARE(carpeta.contenido(), antes);
    }

    // Sí restores the checkpoint of the period-3 run; No changes nothing.
    void volverAtras_data() {
        QTest::addColumn<Respuesta>("respuesta");
        QTest::newRow("Sí") << Respuesta::si;
        QTest::newRow("No") << Respuesta::no;
    }
    void volverAtras() {
        QFETCH(Respuesta, respuesta);
        CarpetaDeJuego carpeta;
        // The checkpoint of the period-3 run, and the files after it.
        guardarParametros(3);
        const QByteArray iniAnterior = carpeta.leer(QStringLiteral("DATOS INICIALES.DAT"));
        carpeta.escribir(QStringLiteral("AUXINI.DAT"), iniAnterior);
        carpeta.escribir(QStringLiteral("AUXACUM.DAT"), empresas(3, 3));
        carpeta.escribir(QStringLiteral("AUXDECISIONES.DAT"), QByteArray(120, '\x33'));
        guardarParametros(4);
        carpeta.escribir(QStringLiteral("DATOS ACUMULADOS.DAT"), empresas(3, 4));
        carpeta.escribir(QStringLiteral("DECISIONES.DAT"), QByteArray());
        const auto antes = carpeta.contenido();

        DialogosFalsos falsos;
        falsos.respuestas = {respuesta};
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.mostrarJuego();
        item(&principal, "mnuVolverAtras")->trigger();
        QCOMPARE(falsos.cajasComoTexto(),
                 QStringList{atencion(QStringLiteral("¿Seguro que desea volver al período anterior?\nSe deshará el período 3."),
                                      Icono::pregunta)});
        if (respuesta == Respuesta::no) {
            QCOMPARE(carpeta.contenido(), antes);
            QCOMPARE(periodosHabilitados(principal), QStringLiteral("4"));
            return;
        }
        QCOMPARE(carpeta.leer(QStringLiteral("DATOS INICIALES.DAT")), iniAnterior);
        QCOMPARE(carpeta.leer(QStringLiteral("DATOS ACUMULADOS.DAT")), empresas(3, 3));
        QCOMPARE(carpeta.leer(QStringLiteral("DECISIONES.DAT")), QByteArray(120, '\x33'));
        QCOMPARE(periodosHabilitados(principal), QStringLiteral("3"));
        QVERIFY(modificarHabilitado(principal));
        QVERIFY(principal.statusBar()->currentMessage().startsWith(QStringLiteral("Se volvió atrás: el período 3")));
    }

    void volverAtrasSinRespaldoLoDice() {
        CarpetaDeJuego carpeta;
        guardarParametros(2);
        const auto antes = carpeta.contenido();
        DialogosFalsos falsos;
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.mostrarJuego();
        item(&principal, "mnuVolverAtras")->trigger();

        QCOMPARE(falsos.cajas.size(), 2);
        QCOMPARE(falsos.cajas[1].texto, QStringLiteral("No hay un período para deshacer."));
        QCOMPARE(falsos.cajas[1].icono, Icono::ninguno);
        QCOMPARE(falsos.cajas[1].botones, Botones::ok);
        QCOMPARE(carpeta.contenido(), antes);
        QCOMPARE(periodosHabilitados(principal), QStringLiteral("2"));
    }

    void salir_data() {
        QTest::addColumn<bool>("porElMenu");
        QTest::addColumn<Respuesta>("respuesta");
        for (bool menu : {true, false})
            for (Respuesta r : {Respuesta::no, Respuesta::si})
                QTest::addRow("%s, %s", menu ? "menú" : "botón de cierre", r == Respuesta::si ? "Sí" : "No") << menu << r;
    }
    void salir() {
        QFETCH(bool, porElMenu);
        QFETCH(Respuesta, respuesta);
        CarpetaDeJuego carpeta;
        DialogosFalsos falsos;
        falsos.respuestas = {respuesta};
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();
        if (porElMenu)
            item(&principal, "mnuSalir")->trigger();
        else
            principal.close();
        // One question only, whichever way the window is left.
        QCOMPARE(falsos.cajasComoTexto(), QStringList{atencion(QStringLiteral("¿Seguro que desea salir del juego?"))});
        QCOMPARE(principal.isVisible(), respuesta == Respuesta::no);
    }

    void menuAyuda() {
        CarpetaDeJuego carpeta;
        DialogosFalsos falsos;
        TFPrincipal principal(carpetaDePrueba().ruta());
        item(&principal, "mnuAcercaDe")->trigger();
        QCOMPARE(falsos.acercaDeMostrado, 1);
        QVERIFY(falsos.tituloAcercaDe.contains(QStringLiteral("CORVELIAN V2.0")));
        QVERIFY(falsos.textoAcercaDe.contains(QStringLiteral("CORVELIAN V2.0")));
        QVERIFY(falsos.textoAcercaDe.contains(QStringLiteral("Autores")));
        // "Cómo se juega" tells the first steps.
        item(&principal, "mnuComoSeJuega")->trigger();
        QCOMPARE(falsos.cajas.size(), 1);
        QCOMPARE(falsos.cajas[0].titulo, QStringLiteral("Cómo se juega"));
        QVERIFY(falsos.cajas[0].texto.startsWith(QStringLiteral("1. Juego → Nuevo")));
    }

    void zona1AbrePosiciones() {
        CarpetaDeJuego carpeta;
        DialogosFalsos falsos;
        TFPrincipal principal(carpetaDePrueba().ruta());
        item(&principal, "mnuZona1")->trigger();
        auto* posiciones = ventanaVisible<TFPosiciones>();
        QVERIFY(posiciones);
        QCOMPARE(posiciones->Label1()->text(), QStringLiteral("ZONA 1"));
        QCOMPARE(posiciones->parentWidget(), &principal);
    }

    void elNotificadorEsLaVentana() {
        CarpetaDeJuego carpeta;
        DialogosFalsos falsos;
        TFPrincipal principal(carpetaDePrueba().ruta());
        TNotificador& notificador = principal.juego().notificador();
        QCOMPARE(&notificador, static_cast<TNotificador*>(&principal));

        // What a period run tells: the messages and the folder.
        notificador.advertencia(cp1252("Advertencia!"), cp1252("No se pudo guardar la decisión"));
        notificador.informacion(cp1252("La empresa \"Ñandú\" ha quebrado."));
        notificador.abrirCarpeta(carpetaDePrueba().ruta());
        QCOMPARE(falsos.cajas.size(), 2);
        QCOMPARE(falsos.cajasComoTexto()[0], DialogosFalsos::comoTexto(QStringLiteral("Advertencia!"), QStringLiteral("No se pudo guardar la decisión"),
                                                                      Icono::advertencia, Botones::ok));
        QCOMPARE(falsos.cajas[1].texto, QStringLiteral("La empresa \"Ñandú\" ha quebrado."));
        QCOMPARE(falsos.cajas[1].icono, Icono::informacion);
        QCOMPARE(falsos.cajas[1].botones, Botones::ok);
        const QStringList laCarpeta{QString::fromStdString(carpetaDePrueba().ruta().string())};
        QCOMPARE(falsos.carpetasAbiertas, laCarpeta);
        // The game master asks for the folder from the menu.
        item(&principal, "mnuMostrarCarpeta")->trigger();
        QCOMPARE(falsos.carpetasAbiertas, laCarpeta + laCarpeta);
    }

    // A new game set up and opened entirely through the window.
    void juegoNuevoPorLosMenus() {
        CarpetaDeJuego carpeta;
        DialogosFalsos falsos;
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();

        item(&principal, "mnuNuevo")->trigger();
        TFEquipos* equipos = ventanaVisible<TFEquipos>();
        QVERIFY(equipos);
        for (const char* nombre : {"Alfa", "Beta", "Gamma"}) {
            escribir(control<QLineEdit>(equipos, "edNombreEquipo"), QString::fromLatin1(nombre));
            pulsar(equipos, "btnAgregar");
        }
        QTest::mouseClick(control<QPushButton>(equipos, "btnGuardar"), Qt::LeftButton);
        QVERIFY(!equipos->isVisible());
        TFDatosIniciales* datos = ventanaVisible<TFDatosIniciales>();
        QVERIFY(datos);
        QCOMPARE(periodosHabilitados(principal), QString());

        QTest::mouseDClick(control<QLabel>(datos, "Label15"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(datos, "btnGuardar"), Qt::LeftButton);
        QCOMPARE(ventanasVivas<TFDatosIniciales>(), 0);
        QCOMPARE(ventanasVivas<TFEquipos>(), 0);
        QCOMPARE(periodosHabilitados(principal), QStringLiteral("0"));
        QVERIFY(modificarHabilitado(principal));
        QCOMPARE(parametrosGuardados().cantEquipos, 3);
        QCOMPARE(parametrosGuardados().periodoActual, 1);

        falsos.cajas.clear();
        item(&principal, "mnuPeriodo0")->trigger();
        auto* periodo0 = ventanaVisible<TFDecicionesPeriodo0>();
        QVERIFY(periodo0);
        QTest::mouseDClick(control<QLabel>(periodo0, "Label1"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(periodo0, "btnGuardar"), Qt::LeftButton);
        QVERIFY2(falsos.cajas.isEmpty(), qPrintable(falsos.textosMostrados().join(QLatin1Char('\n'))));
        QCOMPARE(ventanasVivas<TFDecicionesPeriodo0>(), 0);
        QCOMPARE(periodosHabilitados(principal), QStringLiteral("1"));
        QCOMPARE(carpeta.leer(QStringLiteral("DATOS ACUMULADOS.DAT")).size(), 3 * 104);
        QVERIFY(carpeta.existe(QStringLiteral("COMZONA1IGUALES.txt")));
        QVERIFY(carpeta.existe(QStringLiteral("INDZONA1IGUALES.txt")));

        // Period 1 opens the decision entry screen, "Modificar" the modify screen.
        item(&principal, "mnuPeriodo1")->trigger();
        QVERIFY(ventanaVisible<TFDeciciones>());
        QCOMPARE(ventanaVisible<TFDeciciones>()->parentWidget(), &principal);
        item(&principal, "mnuModificar")->trigger();
        QVERIFY(ventanaVisible<TFModificarDatos>());
        QVERIFY(falsos.cajas.isEmpty());

        // Resuming the stored game later finds period 1 open.
        TFPrincipal otraSesion(carpetaDePrueba().ruta());
        item(&otraSesion, "mnuReanudar")->trigger();
        QCOMPARE(periodosHabilitados(otraSesion), QStringLiteral("1"));
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaPrincipal)
#include "principal_test.moc"
