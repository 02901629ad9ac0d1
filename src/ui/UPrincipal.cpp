#include "ui/UPrincipal.h"

#include "documentos/Documentos.h"
#include "juego/Juego.h"
#include "juego/Planilla.h"
#include "portal/Portal.h"
#include "store/CarpetaDatos.h"
#include "ui/Formularios.h"
#include "ui/ServicioDialogos.h"
#include "ui/TextoQt.h"
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
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

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

QAction* crearItem(QMenu* menu, const QString& texto, const QString& nombre, const QKeySequence& atajo = {}) {
    QAction* item = menu->addAction(texto);
    item->setObjectName(nombre);
    if (!atajo.isEmpty()) item->setShortcut(atajo);
    return item;
}

bool preguntar(QWidget* padre, const QString& texto, ServicioDialogos::Icono icono) {
    return dialogos().mensaje(padre, atencion, texto, icono, ServicioDialogos::Botones::siNo) ==
           ServicioDialogos::Respuesta::si;
}

}  // namespace

TFPrincipal::TFPrincipal(const std::filesystem::path& carpeta, QWidget* padre)
    : QMainWindow(padre), juego_(std::make_unique<TJuego>(carpeta)) {
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

    crearMenus();

    lblEstado = new QLabel(this);
    lblEstado->setObjectName(QStringLiteral("lblEstado"));
    statusBar()->addPermanentWidget(lblEstado);
    actualizarEstadoLuego();
}

void TFPrincipal::crearMenus() {
    QMenu* juego = menuBar()->addMenu(QStringLiteral("&Juego"));
    juego->setObjectName(QStringLiteral("mnuJuego"));
    mnuNuevo = crearItem(juego, QStringLiteral("Nuevo"), QStringLiteral("mnuNuevo"), QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuPractica = crearItem(juego, QStringLiteral("Práctica…"), QStringLiteral("mnuPractica"));
    mnuReanudar =
        crearItem(juego, QStringLiteral("Reanudar"), QStringLiteral("mnuReanudar"), QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuExportarPlanilla = crearItem(juego, QStringLiteral("Exportar planilla…"), QStringLiteral("mnuExportarPlanilla"));
    mnuExportarPdf = crearItem(juego, QStringLiteral("Exportar PDF…"), QStringLiteral("mnuExportarPdf"));
    connect(mnuExportarPdf, &QAction::triggered, this, &TFPrincipal::ExportarPdfClick);
    // The portal lives with the window; submissions refresh the marks of an open decisions screen.
    mnuPortal = crearItem(juego, QStringLiteral("Portal de equipos"), QStringLiteral("mnuPortal"));
    connect(mnuPortal, &QAction::triggered, this, &TFPrincipal::PortalClick);
    crearPortal();
    juego->addSeparator();
    mnuJuego_ = juego;
    mnuAbrirCarpeta = crearItem(juego, QStringLiteral("Abrir carpeta de juego…"), QStringLiteral("mnuAbrirCarpeta"));
    connect(mnuAbrirCarpeta, &QAction::triggered, this, &TFPrincipal::AbrirCarpetaClick);
    sepSalir_ = juego->addSeparator();
    mostrarRecientes(carpetasRecientes());
    mnuSalir = crearItem(juego, QStringLiteral("Salir"), QStringLiteral("mnuSalir"), QKeySequence(Qt::CTRL | Qt::Key_X));

    QMenu* simular = menuBar()->addMenu(QStringLiteral("&Simular"));
    simular->setObjectName(QStringLiteral("mnuSimular"));
    for (int periodo = 0; periodo <= 10; ++periodo) {
        mnuPeriodo[periodo] = crearItem(simular, QStringLiteral("Período %1").arg(periodo),
                                        QStringLiteral("mnuPeriodo%1").arg(periodo));
        mnuPeriodo[periodo]->setEnabled(false);
    }

    QMenu* datos = menuBar()->addMenu(QStringLiteral("&Datos"));
    datos->setObjectName(QStringLiteral("mnuDatos"));
    mnuModificar =
        crearItem(datos, QStringLiteral("Modificar"), QStringLiteral("mnuModificar"), QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuModificar->setEnabled(false);
    mnuVolverAtras = crearItem(datos, QStringLiteral("Volver atras"), QStringLiteral("mnuVolverAtras"));

    QMenu* ver = menuBar()->addMenu(QStringLiteral("&Ver"));
    ver->setObjectName(QStringLiteral("mnuVer"));
    QMenu* posiciones = ver->addMenu(QStringLiteral("Posiciones"));
    posiciones->setObjectName(QStringLiteral("mnuPosiciones"));
    mnuZona1 = crearItem(posiciones, QStringLiteral("Zona 1"), QStringLiteral("mnuZona1"));
    // Ctrl+R is Reanudar's, so the results take Ctrl+Shift+R.
    mnuResultados = crearItem(ver, QStringLiteral("Resultados"), QStringLiteral("mnuResultados"),
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    mnuEvolucion = crearItem(ver, QStringLiteral("Evolución"), QStringLiteral("mnuEvolucion"),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    mnuClase = crearItem(ver, QStringLiteral("Clase"), QStringLiteral("mnuClase"), QKeySequence(Qt::Key_F11));
    connect(mnuEvolucion, &QAction::triggered, this, &TFPrincipal::EvolucionClick);
    connect(mnuClase, &QAction::triggered, this, &TFPrincipal::ClaseClick);
    // The views are asked for from whatever screen is in front. The game's
    // and data's keys stay with the main window: Ctrl+X cuts in a field.
    for (QAction* vista : {mnuResultados, mnuEvolucion, mnuClase}) vista->setShortcutContext(Qt::ApplicationShortcut);

    QMenu* ayuda = menuBar()->addMenu(QStringLiteral("A&yuda"));
    ayuda->setObjectName(QStringLiteral("mnuAyuda"));
    QAction* comoSeJuega = crearItem(ayuda, QStringLiteral("Cómo se juega"), QStringLiteral("mnuComoSeJuega"));
    connect(comoSeJuega, &QAction::triggered, this, [this] {
        dialogos().mensaje(
            this, QStringLiteral("Cómo se juega"),
            QStringLiteral(
                "1. Juego → Nuevo: los equipos, después los datos iniciales (o «Completar con ejemplo»).\n"
                "2. Simular → Período 0: las decisiones comunes a todas las empresas.\n"
                "3. Cada período: Simular → Período N, las decisiones de cada equipo (Intro pasa al campo "
                "siguiente; también «Copiar período anterior», «Importar CSV…» o el portal de equipos), y SIMULAR.\n"
                "4. Ver → Resultados muestra los informes de cada período; Ver → Clase (F11), las posiciones "
                "para el proyector.\n"
                "5. Datos → Volver atras deshace el último período; Datos → Modificar corrige tasas y límites.\n"
                "6. Después del período 10 el juego termina y se nombra al ganador.\n"
                "Para practicar solo: Juego → Práctica… arma su empresa contra empresas de la computadora."),
            ServicioDialogos::Icono::informacion, ServicioDialogos::Botones::ok);
    });
    mnuAcercaDe = crearItem(ayuda, QStringLiteral("Acerca de ..."), QStringLiteral("mnuAcercaDe"));

    connect(mnuNuevo, &QAction::triggered, this, &TFPrincipal::NuevoClick);
    connect(mnuPractica, &QAction::triggered, this, &TFPrincipal::PracticaClick);
    connect(mnuReanudar, &QAction::triggered, this, &TFPrincipal::ReanudarClick);
    connect(mnuSalir, &QAction::triggered, this, &TFPrincipal::SalirClick);
    connect(mnuPeriodo[0], &QAction::triggered, this, &TFPrincipal::Periodo0Click);
    for (int periodo = 1; periodo <= 10; ++periodo)
        connect(mnuPeriodo[periodo], &QAction::triggered, this, &TFPrincipal::PeriodoClick);
    connect(mnuModificar, &QAction::triggered, this, &TFPrincipal::ModificarClick);
    connect(mnuVolverAtras, &QAction::triggered, this, &TFPrincipal::VolverAtrasClick);
    connect(mnuZona1, &QAction::triggered, this, &TFPrincipal::Zona1Click);
    connect(mnuResultados, &QAction::triggered, this, &TFPrincipal::ResultadosClick);
    connect(mnuAcercaDe, &QAction::triggered, this, &TFPrincipal::AcercaDeClick);
    connect(mnuExportarPlanilla, &QAction::triggered, this, &TFPrincipal::ExportarPlanillaClick);
}

void TFPrincipal::advertencia(const std::string& titulo, const std::string& texto) {
    dialogos().mensaje(this, aQString(titulo), aQString(texto), ServicioDialogos::Icono::advertencia,
                       ServicioDialogos::Botones::ok);
}

void TFPrincipal::informacion(const std::string& texto) {
    dialogos().mensaje(this, QString(), aQString(texto), ServicioDialogos::Icono::informacion,
                       ServicioDialogos::Botones::ok);
}

void TFPrincipal::vigilarCarpeta() {
    if (!vigilante_) {
        vigilante_ = new QFileSystemWatcher(this);
        // A run renames hundreds of files: one refresh once the folder is quiet.
        cambioVisto_ = new QTimer(this);
        cambioVisto_->setSingleShot(true);
        cambioVisto_->setInterval(250);
        connect(vigilante_, &QFileSystemWatcher::directoryChanged, cambioVisto_, qOverload<>(&QTimer::start));
        connect(cambioVisto_, &QTimer::timeout, this, &TFPrincipal::seguirAlJuego);
    }
    if (const QStringList vigiladas = vigilante_->directories(); !vigiladas.isEmpty()) vigilante_->removePaths(vigiladas);
    vigilante_->addPath(QString::fromStdString(juego_->ruta().string()));
}

void TFPrincipal::seguirAlJuego() {
    actualizarEstado();
    actualizarGraficos();
    for (TFResultados* resultados : findChildren<TFResultados*>(QString(), Qt::FindDirectChildrenOnly))
        if (resultados->isVisible()) resultados->actualizar();
}

void TFPrincipal::crearPortal() {
    delete portal_;
    portal_ = new TPortal(*juego_, this);
    connect(portal_, &TPortal::envioRecibido, this, [this] {
        for (TFDeciciones* pantalla : findChildren<TFDeciciones*>(QString(), Qt::FindDirectChildrenOnly))
            pantalla->actualizarMarcasPortal();
    });
}

void TFPrincipal::abrirCarpeta(const std::filesystem::path& carpeta) {
    dialogos().abrirCarpeta(QString::fromStdString(carpeta.string()));
}

void TFPrincipal::mostrarJuego() {
    juegoEnPantalla_ = true;
    statusBar()->clearMessage();
    actualizarEstado();
}

void TFPrincipal::NuevoClick() {
    if (dialogos().mensaje(this, QStringLiteral("ATENCION"), QStringLiteral("Desea comenzar un juego Nuevo?"),
                           ServicioDialogos::Icono::informacion,
                           ServicioDialogos::Botones::okCancelar) != ServicioDialogos::Respuesta::ok)
        return;
    if (!cerrarPantallasDePeriodo()) return;
    (new TFEquipos(*juego_, this))->show();
}

void TFPrincipal::PracticaClick() {
    if (!preguntar(this, QStringLiteral("La práctica es un juego nuevo en esta carpeta. ¿Desea comenzarla?"),
                   ServicioDialogos::Icono::advertencia))
        return;
    if (!cerrarPantallasDePeriodo()) return;
    const auto nombre = dialogos().pedirTexto(this, QStringLiteral("Práctica"), QStringLiteral("Nombre de su empresa:"),
                                              QStringLiteral("Mi empresa"));
    if (!nombre) return;
    const auto pedido = pedirEmpresasComputadora(this, QStringLiteral("Práctica"),
                                                 QStringLiteral("¿Cuántas empresas juega la computadora?"),
                                                 QStringLiteral("Estilo de la computadora (mezcla: uno de cada uno):"),
                                                 TFEquipos::maximoEquipos - 1);
    if (!pedido) return;
    const QString limpio = nombre->trimmed();
    const auto equipo = aCp1252(limpio);
    if (limpio.isEmpty() || !equipo || limpio.size() > static_cast<qsizetype>(sizeof(cadena::texto))) {
        mostrarMensaje(this, QStringLiteral("El nombre «%1» no sirve para una empresa: de 1 a 50 letras que el "
                                            "juego pueda guardar.")
                                 .arg(limpio));
        return;
    }
    try {
        juego_->crearPractica(*equipo, static_cast<std::size_t>(pedido->cantidad), pedido->estilo, semillaNueva());
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    mostrarJuego();
    statusBar()->showMessage(QStringLiteral("Práctica lista: decida el período 1, simule y lea su informe."));
    PeriodoClick();
}

void TFPrincipal::ReanudarClick() {
    if (!preguntar(this, QStringLiteral("¿Desea reanudar el juego guardado?"), ServicioDialogos::Icono::advertencia))
        return;
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
                                                     QString::fromStdString(juego_->ruta().string()));
        if (!carpeta) return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::vector<TDocumentoPdf> escritos;
        try {
            escritos = escribirPdfsDelPeriodo(*juego_, periodo, carpeta->toStdString());
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
            for (const auto& envio : juego_->enviosDelPeriodo()) {
                ++equipos;
                enviaron += envio ? 1 : 0;
            }
        } catch (const std::exception&) {
            // The question is asked all the same; the counts are only a help.
        }
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

// The decision entry screen takes the period from the stored parameters, so
// the ten items share this action.
void TFPrincipal::PeriodoClick() { abrirUnaVez<TFDeciciones>(); }

void TFPrincipal::ModificarClick() { abrirUnaVez<TFModificarDatos>(); }

template <class Pantalla>
void TFPrincipal::abrirUnaVez() {
    // A screen already open for the game is brought to the front, not doubled.
    for (QObject* hijo : children())
        if (auto* abierta = qobject_cast<Pantalla*>(hijo); abierta && abierta->isVisible()) {
            abierta->raise();
            abierta->activateWindow();
            return;
        }
    (new Pantalla(*juego_, this))->show();
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
    QString pregunta = QStringLiteral("¿Seguro que desea volver al periodo anterior?");
    try {
        if (const TEstadoJuego estado = juego_->leerEstado(); estado.periodo0Corrido() && estado.datos.periodoActual > 1)
            pregunta += QStringLiteral("\nSe deshará el período %1.").arg(estado.datos.periodoActual - 1);
    } catch (const std::exception&) {
        // The step back itself says what is wrong.
    }
    if (!preguntar(this, pregunta, ServicioDialogos::Icono::pregunta)) return;
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
    actualizarGraficos();
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
    // An open screen is brought forward on the period just run.
    for (QObject* hijo : children())
        if (auto* resultados = qobject_cast<TFResultados*>(hijo); resultados && resultados->isVisible())
            resultados->mostrarPeriodo(periodo);
    actualizarGraficos();
    // The last period ends the game: the class sees the standings and the winner.
    if (periodo == 10) ClaseClick();
}

void TFPrincipal::EvolucionClick() { abrirUnaVez<TFEvolucion>(); }

void TFPrincipal::ClaseClick() {
    for (QObject* hijo : children())
        if (auto* abierta = qobject_cast<TFClase*>(hijo); abierta && abierta->isVisible()) {
            abierta->raise();
            abierta->activateWindow();
            return;
        }
    (new TFClase(*juego_, this))->showFullScreen();
}

void TFPrincipal::actualizarGraficos() {
    for (QObject* hijo : children()) {
        if (auto* e = qobject_cast<TFEvolucion*>(hijo); e && e->isVisible()) e->actualizar();
        if (auto* c = qobject_cast<TFClase*>(hijo); c && c->isVisible()) c->actualizar();
    }
}

void TFPrincipal::actualizarEstadoLuego() {
    // A notice may arrive while a run holds the folder: read it afterwards.
    if (estadoPendiente_) return;
    estadoPendiente_ = true;
    QMetaObject::invokeMethod(this, &TFPrincipal::actualizarEstado, Qt::QueuedConnection);
}

void TFPrincipal::actualizarEstado() {
    estadoPendiente_ = false;
    const QString carpeta = QString::fromStdString(juego_->ruta().string());
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
    const QString sugerido = QString::fromStdString((juego_->ruta() / "temporada.xlsx").string());
    const auto elegido = dialogos().pedirArchivoParaGuardar(
        this, QStringLiteral("Exportar planilla"), sugerido,
        {QStringLiteral("Planilla de Excel (*.xlsx)"), QStringLiteral("Valores separados (*.csv)")});
    if (!elegido) return;
    const std::filesystem::path archivo(elegido->toStdString());
    try {
        exportarPlanilla(*juego_, archivo);
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    mostrarMensaje(this, QStringLiteral("Planilla de la temporada exportada en «%1».").arg(*elegido));
}

void TFPrincipal::AcercaDeClick() {
    dialogos().acercaDe(this, QStringLiteral("Acerca de CORVELIAN V 2.0"),
                        QStringLiteral("<h3>CORVELIAN V 2.0</h3>"
                                       "<p>Juego de simulación de empresas para el aula.</p>"
                                       "<p>Autores: el equipo de desarrollo de CORVELIAN.</p>"));
}

namespace {

const QString claveRecientes = QStringLiteral("carpetasRecientes");

QString rutaLimpia(const QString& carpeta) { return QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath()); }

std::filesystem::path aRuta(const QString& carpeta) { return std::filesystem::path(carpeta.toStdU16String()); }

QString deRuta(const std::filesystem::path& ruta) { return QString::fromStdU16String(ruta.u16string()); }

}  // namespace

QStringList TFPrincipal::carpetasRecientes() {
    const QSettings ajustes(QStringLiteral("corvelian"), QStringLiteral("corvelian"));
    return ajustes.value(claveRecientes).toStringList();
}

void TFPrincipal::mostrarTitulo() {
    std::filesystem::path carpeta = juego_->ruta();
    if (!carpeta.has_filename()) carpeta = carpeta.parent_path();
    const QString nombre = deRuta(carpeta.has_filename() ? carpeta.filename() : carpeta);
    setWindowTitle(tituloVentana + QStringLiteral(" - ") + nombre);
}

void TFPrincipal::mostrarRecientes(const QStringList& recientes) {
    // Removed later: this may run inside the slot of one of these items.
    for (QAction* viejo : std::as_const(mnuRecientes_)) {
        mnuJuego_->removeAction(viejo);
        viejo->deleteLater();
    }
    mnuRecientes_.clear();
    for (qsizetype i = 0; i < recientes.size(); ++i) {
        const QString carpeta = recientes[i];
        QString nombre = QFileInfo(carpeta).fileName();
        if (nombre.isEmpty()) nombre = carpeta;
        auto* item = new QAction(QStringLiteral("&%1 %2 (%3)")
                                     .arg(i + 1)
                                     .arg(QString(nombre).replace(QLatin1Char('&'), QStringLiteral("&&")),
                                          QDir::toNativeSeparators(carpeta).replace(QLatin1Char('&'), QStringLiteral("&&"))),
                                 mnuJuego_);
        item->setObjectName(QStringLiteral("mnuReciente%1").arg(i + 1));
        item->setData(carpeta);
        connect(item, &QAction::triggered, this, [this, carpeta] { abrirReciente(carpeta); });
        mnuJuego_->insertAction(sepSalir_, item);
        mnuRecientes_.append(item);
    }
}

void TFPrincipal::guardarRecientes(const QStringList& recientes) {
    QSettings ajustes(QStringLiteral("corvelian"), QStringLiteral("corvelian"));
    ajustes.setValue(claveRecientes, recientes);
    ajustes.sync();
    if (ajustes.status() != QSettings::NoError)
        statusBar()->showMessage(QStringLiteral("No se pudo guardar la lista de juegos recientes en «%1».")
                                     .arg(QDir::toNativeSeparators(ajustes.fileName())));
    mostrarRecientes(recientes);
}

void TFPrincipal::recordarCarpeta(const QString& carpeta) {
    QStringList recientes = carpetasRecientes();
    recientes.removeAll(carpeta);
    recientes.prepend(carpeta);
    while (recientes.size() > maxRecientes) recientes.removeLast();
    guardarRecientes(recientes);
}

void TFPrincipal::AbrirCarpetaClick() {
    const auto elegida = dialogos().pedirCarpeta(this, QStringLiteral("Abrir carpeta de juego"),
                                                 deRuta(juego_->ruta().parent_path()));
    if (!elegida || elegida->isEmpty()) return;
    // A folder named that does not exist yet is a new place for a game.
    try {
        crearCarpetaDeJuego(aRuta(rutaLimpia(*elegida)), juego_->sistemaArchivos());
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    abrirCarpetaDeJuego(*elegida);
}

void TFPrincipal::abrirReciente(const QString& carpeta) {
    if (!QFileInfo(carpeta).isDir()) {
        mostrarMensaje(this, QStringLiteral("La carpeta de juego «%1» ya no existe; se quita de la lista.")
                                 .arg(QDir::toNativeSeparators(carpeta)));
        QStringList recientes = carpetasRecientes();
        recientes.removeAll(carpeta);
        guardarRecientes(recientes);
        return;
    }
    abrirCarpetaDeJuego(carpeta);
}

bool TFPrincipal::cerrarPantallas() {
    // Decision screens first: they ask before typed decisions are lost.
    if (!cerrarPantallasDePeriodo()) return false;
    // Then whatever else shows the old game (set-up, results, standings).
    QList<QPointer<QWidget>> abiertas;
    for (QObject* hijo : children())
        if (auto* pantalla = qobject_cast<QWidget*>(hijo); pantalla && pantalla->isWindow() && pantalla->isVisible())
            abiertas.append(pantalla);
    for (const QPointer<QWidget>& pantalla : std::as_const(abiertas))
        if (pantalla && pantalla->isVisible() && !pantalla->close()) return false;
    return true;
}

bool TFPrincipal::abrirCarpetaDeJuego(const QString& carpeta) {
    const QString ruta = rutaLimpia(carpeta);
    if (!QFileInfo(ruta).isDir()) {
        mostrarMensaje(this, QStringLiteral("La carpeta de juego «%1» no existe.").arg(QDir::toNativeSeparators(ruta)));
        return false;
    }
    if (!cerrarPantallas()) return false;

    const std::filesystem::path anterior = juego_->ruta();
    auto nuevo = std::make_unique<TJuego>(aRuta(ruta));
    nuevo->fijarNotificador(this);
    try {
        // As "Reanudar": an interrupted change is settled and the severance
        // and the penalty come from this game.
        if (nuevo->leerEstado().hayJuego) nuevo->reanudar();
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return false;
    }

    // The portal's codes and sessions belong to the game left behind.
    const bool portalActivo = portal_->activo();
    portal_->detener();
    juego_ = std::move(nuevo);
    crearPortal();
    vigilarCarpeta();
    // The menus of a game follow its stored position; a folder without a
    // game is a new place, where only "Nuevo" makes sense.
    mostrarJuego();
    mostrarTitulo();
    if (portalActivo)
        mostrarMensaje(this, QStringLiteral("El portal de equipos se detuvo porque se abrió otro juego. "
                                            "Vuelva a iniciarlo desde Juego → Portal de equipos."));
    // The game left behind stays one click away.
    if (const QString dejada = rutaLimpia(deRuta(anterior)); dejada != ruta) recordarCarpeta(dejada);
    recordarCarpeta(ruta);
    return true;
}

void TFPrincipal::PortalClick() {
    for (TFPortal* abierta : findChildren<TFPortal*>(QString(), Qt::FindDirectChildrenOnly))
        if (abierta->isVisible()) {
            abierta->raise();
            abierta->activateWindow();
            return;
        }
    (new TFPortal(*juego_, this, *portal_))->show();
}
