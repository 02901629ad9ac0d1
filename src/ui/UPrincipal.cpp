#include "ui/UPrincipal.h"

#include "documentos/Documentos.h"
#include "juego/Juego.h"
#include "juego/Planilla.h"
#include "portal/Portal.h"
#include "ui/Formularios.h"
#include "ui/NotificadorJuego.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"
#include "ui/UDeciciones.h"
#include "ui/UDecicionesPeriodo0.h"
#include "ui/UEquipos.h"
#include "ui/UEvolucion.h"
#include "ui/UModificarDatos.h"
#include "ui/UPortal.h"
#include "ui/UPosiciones.h"
#include "ui/UResultados.h"
#include "ui/USimular.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileSystemWatcher>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <exception>

namespace {

const QString tituloVentana = QStringLiteral("CORVELIAN V2.0");
const QString atencion = QStringLiteral("Atención");

// The picture of the main window, centred on white; shrunk to fit when the
// window is smaller than the picture, never enlarged.
class TLienzo : public QWidget {
public:
    TLienzo(const QImage& imagen, QWidget* padre) : QWidget(padre), imagen_(imagen) {
        setObjectName(QStringLiteral("imgFondo"));
        setAutoFillBackground(true);
        QPalette paleta = palette();
        paleta.setColor(QPalette::Window, Qt::white);
        setPalette(paleta);
    }

    const QImage& imagen() const { return imagen_; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (imagen_.isNull()) return;
        QPainter pintor(this);
        pintor.setRenderHint(QPainter::SmoothPixmapTransform);
        QSize tamano = imagen_.size();
        if (tamano.width() > width() || tamano.height() > height()) tamano.scale(size(), Qt::KeepAspectRatio);
        const QRect destino(QPoint((width() - tamano.width()) / 2, (height() - tamano.height()) / 2), tamano);
        pintor.drawImage(destino, imagen_);
    }

private:
    QImage imagen_;
};

// A menu of the bar (or of another menu, dentroDe), in the bar's order.
struct TMenuVentana {
    const char* nombre;
    const char* titulo;
    const char* dentroDe;
};

constexpr TMenuVentana menusVentana[] = {
    {"mnuJuego", "&Juego", nullptr}, {"mnuSimular", "&Simular", nullptr},      {"mnuDatos", "&Datos", nullptr},
    {"mnuVer", "&Ver", nullptr},     {"mnuPosiciones", "Posiciones", "mnuVer"}, {"mnuAyuda", "A&yuda", nullptr},
};

// An item of a menu, in the menu's order; without a text it is a separator.
struct TItemVentana {
    const char* menu;
    const char* texto;
    const char* nombre;
    const char* atajo;
    void (TFPrincipal::*accion)();
};

// The separator above "Salir": the recent folders go just before it.
constexpr const char* antesDeSalir = "sepSalir";

// Ctrl+R is Reanudar's, so the results take Ctrl+Shift+R. The items of
// "Período n" are added after these, one per period.
constexpr TItemVentana itemsVentana[] = {
    {"mnuJuego", "Nuevo", "mnuNuevo", "Ctrl+N", &TFPrincipal::NuevoClick},
    {"mnuJuego", "Práctica…", "mnuPractica", "", &TFPrincipal::PracticaClick},
    {"mnuJuego", "Reanudar", "mnuReanudar", "Ctrl+R", &TFPrincipal::ReanudarClick},
    {"mnuJuego", "Exportar planilla…", "mnuExportarPlanilla", "", &TFPrincipal::ExportarPlanillaClick},
    {"mnuJuego", "Exportar PDF…", "mnuExportarPdf", "", &TFPrincipal::ExportarPdfClick},
    {"mnuJuego", "Portal de equipos", "mnuPortal", "", &TFPrincipal::PortalClick},
    {"mnuJuego", nullptr, nullptr, "", nullptr},
    {"mnuJuego", "Abrir carpeta de juego…", "mnuAbrirCarpeta", "", &TFPrincipal::AbrirCarpetaClick},
    {"mnuJuego", "Juegos anteriores de esta carpeta…", "mnuJuegosAnteriores", "", &TFPrincipal::JuegosAnterioresClick},
    {"mnuJuego", "Mostrar la carpeta del juego", "mnuMostrarCarpeta", "", &TFPrincipal::MostrarCarpetaClick},
    {"mnuJuego", nullptr, antesDeSalir, "", nullptr},
    {"mnuJuego", "Salir", "mnuSalir", "Ctrl+X", &TFPrincipal::SalirClick},
    {"mnuDatos", "Modificar", "mnuModificar", "Ctrl+M", &TFPrincipal::ModificarClick},
    {"mnuDatos", "Volver atrás", "mnuVolverAtras", "", &TFPrincipal::VolverAtrasClick},
    {"mnuPosiciones", "Zona 1", "mnuZona1", "", &TFPrincipal::Zona1Click},
    {"mnuVer", "Resultados", "mnuResultados", "Ctrl+Shift+R", &TFPrincipal::ResultadosClick},
    {"mnuVer", "Evolución", "mnuEvolucion", "Ctrl+Shift+E", &TFPrincipal::EvolucionClick},
    {"mnuVer", "Clase", "mnuClase", "F11", &TFPrincipal::ClaseClick},
    {"mnuAyuda", "Cómo se juega", "mnuComoSeJuega", "", &TFPrincipal::ComoSeJuegaClick},
    {"mnuAyuda", "Acerca de ...", "mnuAcercaDe", "", &TFPrincipal::AcercaDeClick},
};

bool preguntar(QWidget* padre, const QString& texto, ServicioDialogos::Icono icono) {
    return dialogos().mensaje(padre, atencion, texto, icono, ServicioDialogos::Botones::siNo) ==
           ServicioDialogos::Respuesta::si;
}

}  // namespace

TFPrincipal::TFPrincipal(const std::filesystem::path& carpeta, QWidget* padre)
    : QMainWindow(padre), juego_(std::make_unique<TJuego>(carpeta)), notificador_(new TNotificadorJuego(this)) {
    juego_->fijarNotificador(this);
    FormCreate();
    vigilarCarpeta();
}

TFPrincipal::~TFPrincipal() {
    // The screens, then the portal they may show, go before the game they work on.
    QList<QPointer<QWidget>> pantallas;
    for (QWidget* pantalla : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (pantalla->isWindow()) pantallas.append(pantalla);
    for (const QPointer<QWidget>& pantalla : std::as_const(pantallas)) delete pantalla.data();
    delete portal_;
    portal_ = nullptr;
}

void TFPrincipal::FormCreate() {
    // The pictures (PNG, which Qt reads without plug-ins) live in the window
    // library, which is static: the resources must be registered by name
    // before they are read.
    Q_INIT_RESOURCE(recursos);

    setObjectName(QStringLiteral("FPrincipal"));
    mostrarTitulo();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/imagenes/icono.png")));

    setCentralWidget(new TLienzo(QImage(QStringLiteral(":/imagenes/portada.png")), this));
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, Qt::white);
    setPalette(paleta);
    resize(1024, 700);

    // The portal lives with the window; submissions refresh the marks of an open decisions screen.
    crearPortal();
    crearMenus();

    lblEstado = new QLabel(this);
    lblEstado->setObjectName(QStringLiteral("lblEstado"));
    statusBar()->addPermanentWidget(lblEstado);
    actualizarEstadoLuego();
}

void TFPrincipal::crearMenus() {
    QHash<QString, QMenu*> menus;
    for (const TMenuVentana& m : menusVentana) {
        QMenu* menu = m.dentroDe ? menus.value(QLatin1String(m.dentroDe))->addMenu(QString::fromUtf8(m.titulo))
                                 : menuBar()->addMenu(QString::fromUtf8(m.titulo));
        menu->setObjectName(QLatin1String(m.nombre));
        menus.insert(menu->objectName(), menu);
    }
    QHash<QString, QAction*> items;
    for (const TItemVentana& d : itemsVentana) {
        QMenu* menu = menus.value(QLatin1String(d.menu));
        QAction* item = d.texto ? menu->addAction(QString::fromUtf8(d.texto)) : menu->addSeparator();
        if (!d.nombre) continue;
        item->setObjectName(QLatin1String(d.nombre));
        item->setShortcut(QKeySequence(QLatin1String(d.atajo)));
        // The views are asked for from whatever screen is in front. The game's
        // and data's keys stay with the main window: Ctrl+X cuts in a field.
        if (menu->objectName() == QLatin1String("mnuVer")) item->setShortcutContext(Qt::ApplicationShortcut);
        if (d.accion) connect(item, &QAction::triggered, this, d.accion);
        items.insert(item->objectName(), item);
    }
    QMenu* simular = menus.value(QStringLiteral("mnuSimular"));
    for (int periodo = 0; periodo <= 10; ++periodo) {
        mnuPeriodo[periodo] = simular->addAction(QStringLiteral("Período %1").arg(periodo));
        mnuPeriodo[periodo]->setObjectName(QStringLiteral("mnuPeriodo%1").arg(periodo));
        mnuPeriodo[periodo]->setEnabled(false);
        // The decisions screen takes the period from the stored parameters,
        // so the ten items share one action.
        connect(mnuPeriodo[periodo], &QAction::triggered, this,
                periodo == 0 ? &TFPrincipal::Periodo0Click : &TFPrincipal::PeriodoClick);
    }
    mnuModificar = items.value(QStringLiteral("mnuModificar"));
    mnuModificar->setEnabled(false);

    recientes_ = new TCarpetasRecientes(menus.value(QStringLiteral("mnuJuego")),
                                        items.value(QLatin1String(antesDeSalir)), this);
    connect(recientes_, &TCarpetasRecientes::elegida, this, &TFPrincipal::abrirReciente);
    connect(recientes_, &TCarpetasRecientes::noSeGuardo, this,
            [this](const QString& mensaje) { statusBar()->showMessage(mensaje); });
}

void TFPrincipal::ComoSeJuegaClick() {
    dialogos().mensaje(
        this, QStringLiteral("Cómo se juega"),
        QStringLiteral(
            "1. Juego → Nuevo: los equipos, después los datos iniciales (o «Completar con ejemplo»).\n"
            "2. Simular → Período 0: las decisiones comunes a todas las empresas.\n"
            "3. Cada período: Simular → Período N, las decisiones de cada equipo (Intro pasa al campo "
            "siguiente; también «Copiar período anterior», «Importar CSV…» o el portal de equipos), y SIMULAR.\n"
            "4. Ver → Resultados muestra los informes de cada período; Ver → Clase (F11), las posiciones "
            "para el proyector.\n"
            "5. Datos → Volver atrás deshace el último período; Datos → Modificar corrige tasas y límites.\n"
            "6. Después del período 10 el juego termina y se nombra al ganador.\n"
            "Para practicar solo: Juego → Práctica… arma su empresa contra empresas de la computadora."),
        ServicioDialogos::Icono::informacion, ServicioDialogos::Botones::ok);
}

void TFPrincipal::advertencia(const std::string& titulo, const std::string& texto) {
    mostrarAvisoDelNucleo(aQString(titulo), aQString(texto), true);
}

void TFPrincipal::informacion(const std::string& texto) {
    mostrarAvisoDelNucleo(QString(), aQString(texto), false);
}

void TFPrincipal::mostrarAvisoDelNucleo(const QString& titulo, const QString& texto, bool esAdvertencia) {
    // The core tells these holding the game's lock: a look at the folder from
    // the box's event loop would wait on the window's own run and call it
    // another program. It is made once the run has let the folder go.
    struct TAvisoAbierto {
        int& abiertos;
        explicit TAvisoAbierto(int& a) : abiertos(++a) {}
        ~TAvisoAbierto() { --abiertos; }
    } abierto(avisosDelNucleo_);
    dialogos().mensaje(this, titulo, texto,
                       esAdvertencia ? ServicioDialogos::Icono::advertencia : ServicioDialogos::Icono::informacion,
                       ServicioDialogos::Botones::ok);
    if (avisosDelNucleo_ == 1 && vistaPostergada_ && cambioVisto_) cambioVisto_->start();
}

void TFPrincipal::vigilarCarpeta() {
    if (!vigilante_) {
        vigilante_ = new QFileSystemWatcher(this);
        // A run renames hundreds of files: one refresh once the folder is quiet.
        cambioVisto_ = new QTimer(this);
        cambioVisto_->setObjectName(QStringLiteral("cambioVisto"));
        cambioVisto_->setSingleShot(true);
        cambioVisto_->setInterval(250);
        connect(vigilante_, &QFileSystemWatcher::directoryChanged, cambioVisto_, qOverload<>(&QTimer::start));
        connect(cambioVisto_, &QTimer::timeout, this, &TFPrincipal::seguirAlJuego);
    }
    if (const QStringList vigiladas = vigilante_->directories(); !vigiladas.isEmpty()) vigilante_->removePaths(vigiladas);
    vigilante_->addPath(deRuta(juego_->ruta()));
}

void TFPrincipal::seguirAlJuego() {
    vistaPostergada_ = avisosDelNucleo_ > 0;
    if (vistaPostergada_) return;
    actualizarEstado();
    emit notificador_->juegoCambiado();
}

void TFPrincipal::crearPortal() {
    delete portal_;
    portal_ = new TPortal(*juego_, this);
    connect(portal_, &TPortal::envioRecibido, notificador_, &TNotificadorJuego::envioRecibido);
}

void TFPrincipal::abrirCarpeta(const std::filesystem::path& carpeta) {
    dialogos().abrirCarpeta(deRuta(carpeta));
}

void TFPrincipal::MostrarCarpetaClick() { abrirCarpeta(juego_->ruta()); }

void TFPrincipal::mostrarJuego() {
    juegoEnPantalla_ = true;
    statusBar()->clearMessage();
    actualizarEstado();
    emit notificador_->juegoCambiado();
}

void TFPrincipal::NuevoClick() {
    // Over a game the question names what a new one replaces, and Enter keeps it.
    QString pregunta = QStringLiteral("¿Desea comenzar un juego nuevo?");
    auto botones = ServicioDialogos::Botones::siNo;
    try {
        if (const TEstadoJuego estado = juego_->leerEstado(); estado.hayJuego) {
            const int periodo = !estado.periodo0Corrido() ? 0 : std::min<int>(estado.datos.periodoActual, 10);
            pregunta = QStringLiteral("El juego nuevo reemplaza el juego de %1 empresas, en el período %2, de esta "
                                      "carpeta.\n%3")
                           .arg(estado.datos.cantEquipos)
                           .arg(periodo)
                           .arg(pregunta);
            botones = ServicioDialogos::Botones::siNoPorOmisionNo;
        }
    } catch (const std::exception&) {
        // An unreadable game is still worth keeping: Enter keeps it.
        botones = ServicioDialogos::Botones::siNoPorOmisionNo;
    }
    if (dialogos().mensaje(this, atencion, pregunta, ServicioDialogos::Icono::advertencia, botones) !=
        ServicioDialogos::Respuesta::si)
        return;
    if (!cerrarPantallasDePeriodo()) return;
    (new TFEquipos(*juego_, this))->show();
}

void TFPrincipal::ReanudarClick() {
    if (!preguntar(this, QStringLiteral("¿Desea reanudar el juego guardado?"), ServicioDialogos::Icono::advertencia))
        return;
    reanudarJuego();
}

void TFPrincipal::reanudarJuego() {
    if (!cerrarPantallasDePeriodo()) return;
    TEstadoJuego estado;
    try {
        estado = juego_->reanudar();
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    mostrarJuego();
    statusBar()->showMessage(estado.terminado()           ? QStringLiteral("Juego reanudado: ya se jugaron los diez períodos.")
                             : !estado.periodo0Corrido() ? QStringLiteral("Juego reanudado: falta correr el período 0.")
                                                         : QStringLiteral("Juego reanudado: el período %1 está abierto.")
                                                               .arg(estado.datos.periodoActual));
}

void TFPrincipal::ofrecerReanudar() {
    int periodo = 0;
    try {
        const TEstadoJuego estado = juego_->leerEstado();
        if (!estado.hayJuego || estado.terminado()) return;
        periodo = estado.periodo0Corrido() ? estado.datos.periodoActual : 0;
    } catch (const std::exception&) {
        // The status line already says what is wrong with the folder.
        return;
    }
    if (preguntar(this, QStringLiteral("¿Reanudar el juego, en el período %1?").arg(periodo),
                  ServicioDialogos::Icono::pregunta))
        reanudarJuego();
    else
        statusBar()->showMessage(QStringLiteral("El juego no se reanudó: para seguirlo, Juego → Reanudar (Ctrl+R)."));
}

void TFPrincipal::ExportarPdfClick() {
    const QString titulo = QStringLiteral("Exportar PDF");
    try {
        const std::vector<int> periodos = juego_->periodosDelHistorial();
        if (periodos.empty()) {
            mostrarMensaje(this, QStringLiteral("Todavía no hay informes: corra el período 0 primero."));
            return;
        }
        const auto texto = dialogos().pedirTexto(
            this, titulo, QStringLiteral("Período (%1 a %2):").arg(periodos.front()).arg(periodos.back()),
            QString::number(periodos.back()));
        if (!texto) return;
        bool esNumero = false;
        const int periodo = texto->trimmed().toInt(&esNumero);
        if (!esNumero) {
            mostrarMensaje(this, QStringLiteral("«%1» no es un número de período.").arg(*texto));
            return;
        }
        const auto carpeta = dialogos().pedirCarpeta(this, QStringLiteral("Carpeta para los PDF del período %1").arg(periodo),
                                                     deRuta(juego_->ruta()));
        if (!carpeta) return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::vector<TDocumentoPdf> escritos;
        try {
            escritos = escribirPdfsDelPeriodo(*juego_, periodo, aRuta(*carpeta));
        } catch (...) {
            QApplication::restoreOverrideCursor();
            throw;
        }
        QApplication::restoreOverrideCursor();
        mostrarMensaje(this, QStringLiteral("Se escribieron %1 documentos PDF del período %2 en «%3».")
                                 .arg(escritos.size())
                                 .arg(periodo)
                                 .arg(*carpeta));
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
}

bool TFPrincipal::confirmarSalida() {
    QString pregunta = QStringLiteral("¿Seguro que desea salir del juego?");
    // Teams may be typing on the portal: closing the window closes it.
    if (portal_->activo()) {
        const int conectados = portal_->equiposConectados();
        int enviaron = 0, equipos = 0;
        try {
            // The computer's companies send nothing: only the class's teams count.
            const auto envios = juego_->enviosDelPeriodo();
            const auto nombres = juego_->empresasActivas();
            const TComputadora computadora = juego_->computadora();
            for (std::size_t i = 0; i < envios.size() && i < nombres.size(); ++i) {
                if (computadora.de(nombres[i])) continue;
                ++equipos;
                enviaron += envios[i] ? 1 : 0;
            }
        } catch (const std::exception&) {
            // The question is asked all the same; the counts are only a help.
        }
        // With no team left to send, the portal is no news to the game master.
        if (equipos > 0)
            pregunta = QStringLiteral("El portal de equipos está abierto y se cerrará: %1; %2 de %3 equipos "
                                      "enviaron sus decisiones de este período.\n")
                           .arg(conectados == 1 ? QStringLiteral("1 equipo conectado")
                                                : QStringLiteral("%1 equipos conectados").arg(conectados))
                           .arg(enviaron)
                           .arg(equipos) +
                       pregunta;
    }
    return preguntar(this, pregunta, ServicioDialogos::Icono::advertencia);
}

void TFPrincipal::SalirClick() {
    if (!confirmarSalida()) return;
    salidaConfirmada_ = true;
    close();
}

void TFPrincipal::closeEvent(QCloseEvent* evento) {
    if (salidaConfirmada_ || confirmarSalida()) {
        salidaConfirmada_ = true;
        portal_->detener();
        evento->accept();
    } else {
        evento->ignore();
    }
}

void TFPrincipal::Periodo0Click() { abrirUnaVez<TFDecicionesPeriodo0>(); }

void TFPrincipal::PeriodoClick() { abrirUnaVez<TFDeciciones>(); }

void TFPrincipal::ModificarClick() { abrirUnaVez<TFModificarDatos>(); }

template <class Pantalla>
bool TFPrincipal::traerAlFrente() {
    for (QObject* hijo : children())
        if (auto* abierta = qobject_cast<Pantalla*>(hijo); abierta && abierta->isVisible()) {
            abierta->raise();
            abierta->activateWindow();
            return true;
        }
    return false;
}

template <class Pantalla>
void TFPrincipal::abrirUnaVez() {
    // A screen already open for the game is brought to the front, not doubled.
    if (!traerAlFrente<Pantalla>()) (new Pantalla(*juego_, this))->show();
}

bool TFPrincipal::cerrarPantallasDePeriodo() {
    // Screens bound to a period that is about to change; their own checks
    // would refuse them afterwards anyway.
    for (QObject* hijo : children()) {
        QWidget* pantalla = nullptr;
        if (auto* p = qobject_cast<TFDeciciones*>(hijo)) pantalla = p;
        else if (auto* p0 = qobject_cast<TFDecicionesPeriodo0*>(hijo)) pantalla = p0;
        else if (auto* s = qobject_cast<TFSimular*>(hijo)) pantalla = s;
        else if (auto* m = qobject_cast<TFModificarDatos*>(hijo)) pantalla = m;
        if (pantalla && pantalla->isVisible() && !pantalla->close()) return false;
    }
    return true;
}

void TFPrincipal::VolverAtrasClick() {
    // The question names the period it undoes, when the game says which.
    QString pregunta = QStringLiteral("¿Seguro que desea volver al período anterior?");
    try {
        if (const TEstadoJuego estado = juego_->leerEstado(); estado.periodo0Corrido() && estado.datos.periodoActual > 1)
            pregunta += QStringLiteral("\nSe deshará el período %1.").arg(estado.datos.periodoActual - 1);
    } catch (const std::exception&) {
        // The step back itself says what is wrong.
    }
    if (!preguntar(this, pregunta, ServicioDialogos::Icono::pregunta)) return;
    volverAtras();
}

void TFPrincipal::volverAtras() {
    if (!cerrarPantallasDePeriodo()) return;
    int periodo = 0;
    try {
        periodo = juego_->volver();
    } catch (const ErrorJuego& e) {
        mostrarMensaje(this, QString::fromUtf8(e.what()));
        return;
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    mostrarJuego();
    statusBar()->showMessage(
        QStringLiteral("Se volvió atrás: el período %1 está abierto de nuevo, con sus decisiones cargadas.").arg(periodo));
}

void TFPrincipal::Zona1Click() {
    auto* posiciones = new TFPosiciones(*juego_, this);
    posiciones->Label1()->setText(QStringLiteral("ZONA 1"));
    posiciones->show();
}

void TFPrincipal::ResultadosClick() { abrirUnaVez<TFResultados>(); }

void TFPrincipal::periodoSimulado(int periodo) {
    actualizarEstado();
    try {
        const TArchivoPeriodo archivo = juego_->periodoDelHistorial(periodo);
        const auto empresas = static_cast<int>(archivo.industria.size());
        int quiebras = 0;
        for (const TFilaIndustria& fila : archivo.industria) quiebras += fila.quebrada ? 1 : 0;
        statusBar()->showMessage(QStringLiteral("Período %1 simulado: %2 %3, %4 %5")
                                     .arg(periodo)
                                     .arg(empresas)
                                     .arg(empresas == 1 ? QStringLiteral("empresa") : QStringLiteral("empresas"))
                                     .arg(quiebras)
                                     .arg(quiebras == 1 ? QStringLiteral("quiebra") : QStringLiteral("quiebras")));
    } catch (const std::exception& e) {
        statusBar()->showMessage(QString::fromUtf8(e.what()));
    }
    abrirUnaVez<TFResultados>();
    // The results screen shows the period just run; every screen reads the game again.
    emit notificador_->periodoSimulado(periodo);
    emit notificador_->juegoCambiado();
    // The last period ends the game: the class sees the standings and the winner.
    if (periodo == 10) ClaseClick();
    avisarQuiebraDelAlumno(periodo);
}

void TFPrincipal::EvolucionClick() {
    if (traerAlFrente<TFEvolucion>()) return;
    auto* evolucion = new TFEvolucion(*juego_, this);
    if (const auto alumno = alumnoEn(evolucion->evolucionMostrada())) evolucion->resaltarEmpresa(*alumno);
    evolucion->show();
}

void TFPrincipal::ClaseClick() {
    if (traerAlFrente<TFClase>()) return;
    auto* clase = new TFClase(*juego_, this);
    if (const auto alumno = alumnoEn(clase->evolucionMostrada())) clase->resaltarEmpresa(*alumno);
    clase->showFullScreen();
}

void TFPrincipal::actualizarEstadoLuego() {
    // A notice may arrive while a run holds the folder: read it afterwards.
    if (estadoPendiente_) return;
    estadoPendiente_ = true;
    QMetaObject::invokeMethod(this, &TFPrincipal::actualizarEstado, Qt::QueuedConnection);
}

void TFPrincipal::actualizarEstado() {
    estadoPendiente_ = false;
    if (avisosDelNucleo_ > 0) {
        vistaPostergada_ = true;
        return;
    }
    const QString carpeta = deRuta(juego_->ruta());
    try {
        const TEstadoJuego estado = juego_->leerEstado();
        periodoActual_ = estado.datos.periodoActual;
        if (juegoEnPantalla_) {
            mnuModificar->setEnabled(estado.hayJuego);
            mnuPeriodo[0]->setEnabled(estado.hayJuego && !estado.periodo0Corrido());
            for (int p = 1; p <= 10; ++p)
                mnuPeriodo[p]->setEnabled(estado.periodo0Corrido() && p == estado.datos.periodoActual);
        }
        QString donde;
        int empresas = estado.datos.cantEquipos;
        if (!estado.hayJuego) {
            donde = QStringLiteral("Sin juego");
            empresas = 0;
        } else if (estado.terminado()) {
            donde = QStringLiteral("Juego terminado");
        } else if (!estado.periodo0Corrido()) {
            donde = QStringLiteral("Período 0 abierto");
        } else {
            donde = QStringLiteral("Período %1 abierto").arg(estado.datos.periodoActual);
        }
        lblEstado->setText(
            QStringLiteral("Juego: %1  |  %2  |  Empresas activas: %3").arg(carpeta, donde).arg(empresas));
    } catch (const std::exception& e) {
        lblEstado->setText(QString::fromUtf8(e.what()));
    }
}

void TFPrincipal::ExportarPlanillaClick() {
    const QString sugerido = deRuta(juego_->ruta() / "temporada.xlsx");
    const auto elegido = dialogos().pedirArchivoParaGuardar(
        this, QStringLiteral("Exportar planilla"), sugerido,
        {QStringLiteral("Planilla de Excel (*.xlsx)"), QStringLiteral("Valores separados (*.csv)")});
    if (!elegido) return;
    try {
        exportarPlanilla(*juego_, aRuta(*elegido));
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    mostrarMensaje(this, QStringLiteral("Planilla de la temporada exportada en «%1».").arg(*elegido));
}

void TFPrincipal::AcercaDeClick() {
    dialogos().acercaDe(this, QStringLiteral("Acerca de CORVELIAN V2.0"),
                        QStringLiteral("<h3>CORVELIAN V2.0</h3>"
                                       "<p>Juego de simulación de empresas para el aula.</p>"
                                       "<p>Autores: el equipo de desarrollo de CORVELIAN.</p>"));
}


void TFPrincipal::mostrarTitulo() {
    std::filesystem::path carpeta = juego_->ruta();
    if (!carpeta.has_filename()) carpeta = carpeta.parent_path();
    const QString nombre = deRuta(carpeta.has_filename() ? carpeta.filename() : carpeta);
    setWindowTitle(tituloVentana + QStringLiteral(" - ") + nombre);
}

void TFPrincipal::PortalClick() {
    if (!traerAlFrente<TFPortal>()) (new TFPortal(*juego_, this, *portal_))->show();
}
