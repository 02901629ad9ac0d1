#include "ui/UPortal.h"

#include "juego/Juego.h"
#include "portal/Portal.h"
#include "store/ErrorArchivo.h"
#include "ui/CodigoQr.h"
#include "ui/Formularios.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"
#include "engine/ValidarDecision.h"
#include "store/Texto.h"

#include <QColor>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QTabWidget>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

/// "ABCD EFGH": two groups read aloud and typed more easily; the portal
/// ignores the blank.
QString codigoLegible(const std::string& codigo) {
    const QString c = QString::fromStdString(codigo);
    return c.size() == 8 ? c.left(4) + QLatin1Char(' ') + c.mid(4) : c;
}

/// The register's column key in the words of the screens: the decisions
/// as the decision table names them; a key this program does not know, as is.
QString tituloDeColumna(const std::string& clave, const std::string& bancoA, const std::string& bancoB) {
    static const std::pair<const char*, const char*> kFijas[] = {
        {"momento", "Hora"}, {"periodo", "Período"}, {"empresa", "Equipo"},
        {"direccion", "Dirección"}, {"resultado", "Resultado"}, {"motivo", "Motivo"}};
    for (const auto& [columna, titulo] : kFijas)
        if (clave == columna) return QString::fromUtf8(titulo);
    for (const TRangoDecision& r : rangosDecision())
        if (clave == r.columna) return QString::fromStdString(etiquetaDecision(r, bancoA, bancoB));
    return QString::fromStdString(clave);
}

}  // namespace

TFPortal::TFPortal(TJuego& juego, QWidget* padre, TPortal& portal)
    : QWidget(padre, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), juego_(juego),
      portal_(portal) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Portal de equipos"));
    setObjectName(QStringLiteral("FPortal"));
    // The widgets are made in the order of the focus chain.
    crearDireccion();
    crearListaCodigos();
    crearBotonesEquipo();
    crearPlazo();
    crearListaEnvios();
    auto* btnCerrar = new QPushButton(QStringLiteral("Cerrar"), this);
    btnCerrar->setObjectName(QStringLiteral("btnCerrar"));
    disponer(btnCerrar);
    resize(760, 600);
    conectar(btnCerrar);
    centrarSobre(this, padre);
    actualizar();
    prepararTeclado(this);  // after actualizar: the other buttons leave Iniciar/Detener its letter
}

/// The port, the start button, the state, the addresses to type and the QR code.
void TFPortal::crearDireccion() {
    edPuerto = new QSpinBox(this);
    edPuerto->setObjectName(QStringLiteral("edPuerto"));
    edPuerto->setRange(1, 65535);
    edPuerto->setValue(TPortal::kPuertoPredeterminado);
    cmbDireccion = new QComboBox(this);
    cmbDireccion->setObjectName(QStringLiteral("cmbDireccion"));
    cmbDireccion->setToolTip(QStringLiteral("Dónde escucha el portal: en todas las redes de esta computadora o solo "
                                            "en la del aula."));
    llenarDirecciones();
    btnIniciar = new QPushButton(this);
    btnIniciar->setObjectName(QStringLiteral("btnIniciar"));
    lblEstado = new QLabel(this);
    lblEstado->setObjectName(QStringLiteral("lblEstado"));
    // A damaged codes file is named here at length: the label wraps, the dialog keeps its size.
    lblEstado->setWordWrap(true);
    lblDirecciones = new QLabel(this);
    lblDirecciones->setObjectName(QStringLiteral("lblDirecciones"));
    lblDirecciones->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont grande = lblDirecciones->font();
    grande.setPointSize(grande.pointSize() + 4);
    grande.setBold(true);
    lblDirecciones->setFont(grande);
    lblQr = new QLabel(this);
    lblQr->setObjectName(QStringLiteral("lblQr"));
    lblQr->setMinimumSize(200, 200);
    lblQr->setAlignment(Qt::AlignCenter);
}

void TFPortal::llenarDirecciones() {
    const QString elegida = portal_.activo() ? portal_.direccion().toString() : cmbDireccion->currentData().toString();
    cmbDireccion->clear();
    cmbDireccion->addItem(QStringLiteral("Todas"), QString());
    for (const QNetworkInterface& interfaz : QNetworkInterface::allInterfaces()) {
        if (!(interfaz.flags() & QNetworkInterface::IsUp) || (interfaz.flags() & QNetworkInterface::IsLoopBack)) continue;
        for (const QNetworkAddressEntry& entrada : interfaz.addressEntries())
            if (entrada.ip().protocol() == QAbstractSocket::IPv4Protocol)
                cmbDireccion->addItem(QStringLiteral("%1 (%2)").arg(entrada.ip().toString(), interfaz.humanReadableName()),
                                      entrada.ip().toString());
    }
    // For trying the portal from this computer's own browser.
    cmbDireccion->addItem(QStringLiteral("127.0.0.1 (solo esta computadora)"), QStringLiteral("127.0.0.1"));
    const int indice = cmbDireccion->findData(elegida);
    cmbDireccion->setCurrentIndex(std::max(indice, 0));
}

/// The teams and their codes, one selectable row each.
void TFPortal::crearListaCodigos() {
    tblCodigos = new QTableWidget(0, 2, this);
    tblCodigos->setObjectName(QStringLiteral("tblCodigos"));
    tblCodigos->setHorizontalHeaderLabels({QStringLiteral("Equipo"), QStringLiteral("Código")});
    tblCodigos->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    tblCodigos->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    tblCodigos->verticalHeader()->setVisible(false);
    tblCodigos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblCodigos->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblCodigos->setSelectionMode(QAbstractItemView::SingleSelection);
}

/// What the teacher does to the team selected, and the slips of every team.
void TFPortal::crearBotonesEquipo() {
    btnRenovar = new QPushButton(QStringLiteral("Renovar código"), this);
    btnRenovar->setObjectName(QStringLiteral("btnRenovar"));
    btnRenovarTodos = new QPushButton(QStringLiteral("Renovar todos…"), this);
    btnRenovarTodos->setObjectName(QStringLiteral("btnRenovarTodos"));
    btnRenovarTodos->setToolTip(QStringLiteral("Da códigos nuevos a todos los equipos; rehace también un archivo de "
                                               "códigos dañado."));
    btnImprimir = new QPushButton(QStringLiteral("Imprimir tarjetas…"), this);
    btnImprimir->setObjectName(QStringLiteral("btnImprimir"));
    btnCerrarSesiones = new QPushButton(QStringLiteral("Cerrar sesiones"), this);
    btnCerrarSesiones->setObjectName(QStringLiteral("btnCerrarSesiones"));
    btnCerrarSesiones->setToolTip(QStringLiteral("Saca del portal a quienes entraron como el equipo elegido: "
                                                 "tienen que volver a escribir el código."));
}

/// The deadline typed as HH:MM, its button and what is in force.
void TFPortal::crearPlazo() {
    edPlazo = new QLineEdit(this);
    edPlazo->setObjectName(QStringLiteral("edPlazo"));
    edPlazo->setPlaceholderText(QStringLiteral("HH:MM"));
    edPlazo->setMaxLength(5);
    edPlazo->setMaximumWidth(80);
    btnPlazo = new QPushButton(QStringLiteral("Fijar plazo"), this);
    btnPlazo->setObjectName(QStringLiteral("btnPlazo"));
    lblPlazo = new QLabel(this);
    lblPlazo->setObjectName(QStringLiteral("lblPlazo"));
    edConexiones = new QSpinBox(this);
    edConexiones->setObjectName(QStringLiteral("edConexiones"));
    edConexiones->setRange(1, static_cast<int>(TPortal::kConexionesPorDireccionMaximas));
    edConexiones->setValue(static_cast<int>(portal_.conexionesPorDireccion()));
    edConexiones->setToolTip(QStringLiteral("Cuántas conexiones a la vez puede tener una dirección. Un aula cuyos "
                                            "teléfonos salen por una sola dirección necesita más."));
    lblTopes = new QLabel(this);
    lblTopes->setObjectName(QStringLiteral("lblTopes"));
    lblTopes->setWordWrap(true);
}

/// The register of submissions, read only.
void TFPortal::crearListaEnvios() {
    tblEnvios = new QTableWidget(0, 0, this);
    tblEnvios->setObjectName(QStringLiteral("tblEnvios"));
    tblEnvios->verticalHeader()->setVisible(false);
    tblEnvios->setEditTriggers(QAbstractItemView::NoEditTriggers);
    reintentoEnvios_ = new QTimer(this);
    reintentoEnvios_->setSingleShot(true);
    reintentoEnvios_->setInterval(1000);
    connect(reintentoEnvios_, &QTimer::timeout, this, &TFPortal::actualizarEnvios);
}

/// The address part and the QR code above, the two lists in tabs, the buttons below.
void TFPortal::disponer(QPushButton* btnCerrar) {
    auto* puerto = new QHBoxLayout;
    auto* red = new QLabel(QStringLiteral("&Red:"), this);
    red->setBuddy(cmbDireccion);
    puerto->addWidget(red);
    puerto->addWidget(cmbDireccion);
    puerto->addWidget(new QLabel(QStringLiteral("Puerto:"), this));
    puerto->addWidget(edPuerto);
    puerto->addWidget(btnIniciar);
    puerto->addStretch();
    auto* izquierda = new QVBoxLayout;
    izquierda->addLayout(puerto);
    izquierda->addWidget(lblEstado);
    izquierda->addWidget(new QLabel(QStringLiteral("Los equipos escriben en el navegador del teléfono o de la "
                                                   "computadora, conectados a la red del aula:"),
                                    this));
    izquierda->addWidget(lblDirecciones);
    auto* plazo = new QHBoxLayout;
    plazo->addWidget(new QLabel(QStringLiteral("Plazo de envío (hoy):"), this));
    plazo->addWidget(edPlazo);
    plazo->addWidget(btnPlazo);
    plazo->addWidget(lblPlazo, 1);
    izquierda->addLayout(plazo);
    auto* conexiones = new QHBoxLayout;
    auto* etiqueta = new QLabel(QStringLiteral("Conexiones por dirección:"), this);
    etiqueta->setBuddy(edConexiones);
    conexiones->addWidget(etiqueta);
    conexiones->addWidget(edConexiones);
    conexiones->addStretch();
    izquierda->addLayout(conexiones);
    izquierda->addWidget(lblTopes);
    izquierda->addStretch();
    auto* arriba = new QHBoxLayout;
    arriba->addLayout(izquierda, 1);
    arriba->addWidget(lblQr);
    auto* abajo = new QHBoxLayout;
    abajo->addWidget(btnRenovar);
    abajo->addWidget(btnRenovarTodos);
    abajo->addWidget(btnCerrarSesiones);
    abajo->addWidget(btnImprimir);
    abajo->addStretch();
    abajo->addWidget(btnCerrar);
    auto* principal = new QVBoxLayout(this);
    principal->addLayout(arriba);
    auto* pestanas = new QTabWidget(this);
    pestanas->setObjectName(QStringLiteral("pestanas"));
    pestanas->addTab(tblCodigos, QStringLiteral("Códigos"));
    pestanas->addTab(tblEnvios, QStringLiteral("Envíos recibidos"));
    principal->addWidget(pestanas, 1);
    principal->addLayout(abajo);
}

void TFPortal::conectar(QPushButton* btnCerrar) {
    connect(btnIniciar, &QPushButton::clicked, this, &TFPortal::btnIniciarClick);
    connect(btnRenovar, &QPushButton::clicked, this, &TFPortal::btnRenovarClick);
    connect(btnRenovarTodos, &QPushButton::clicked, this, &TFPortal::btnRenovarTodosClick);
    connect(btnImprimir, &QPushButton::clicked, this, &TFPortal::btnImprimirClick);
    connect(btnCerrar, &QPushButton::clicked, this, &QWidget::close);
    connect(btnCerrarSesiones, &QPushButton::clicked, this, &TFPortal::btnCerrarSesionesClick);
    connect(btnPlazo, &QPushButton::clicked, this, &TFPortal::btnPlazoClick);
    connect(edPlazo, &QLineEdit::returnPressed, this, &TFPortal::btnPlazoClick);
    connect(edConexiones, &QSpinBox::valueChanged, this,
            [this](int valor) { portal_.fijarConexionesPorDireccion(static_cast<unsigned>(valor)); });
    connect(&portal_, &TPortal::estadoCambiado, this, &TFPortal::actualizar);
    // The caps are hit on the portal's threads, and a deadline passes on its own: looked at now and then.
    auto* reloj = new QTimer(this);
    connect(reloj, &QTimer::timeout, this, &TFPortal::actualizarAvisos);
    reloj->start(2000);
    // The portal's thread tells of each line of the register, stored or refused; the list follows.
    connect(&portal_, &TPortal::envioAnotado, this, &TFPortal::actualizarEnvios, Qt::QueuedConnection);
}

void TFPortal::actualizar() {
    const bool activo = portal_.activo();
    btnIniciar->setText(activo ? QStringLiteral("&Detener") : QStringLiteral("&Iniciar"));
    edPuerto->setEnabled(!activo);
    cmbDireccion->setEnabled(!activo);
    if (activo) {
        edPuerto->setValue(portal_.puerto());
        llenarDirecciones();
    }
    const QStringList direcciones = portal_.direccionesParaTeclear();
    if (!activo) {
        lblEstado->setText(QStringLiteral("El portal está detenido: nadie puede entrar."));
        lblDirecciones->clear();
        lblQr->clear();
    } else {
        const QHostAddress escucha = portal_.direccion();
        const bool todas = escucha == QHostAddress::Any || escucha == QHostAddress::AnyIPv4;
        lblEstado->setText(todas ? QStringLiteral("El portal está abierto en el puerto %1, en todas las redes de esta "
                                                  "computadora.")
                                       .arg(portal_.puerto())
                                 : QStringLiteral("El portal está abierto en el puerto %1, solo en la dirección %2.")
                                       .arg(portal_.puerto())
                                       .arg(escucha.toString()));
        lblDirecciones->setText(direcciones.isEmpty()
                                    ? QStringLiteral("(esta computadora no está conectada a una red)")
                                    : direcciones.join(QLatin1Char('\n')));
        lblQr->setPixmap(direcciones.isEmpty() ? QPixmap() : QPixmap::fromImage(imagenQr(direcciones.first(), 5)));
    }
    // The codes exist once the portal has started for this game.
    codigos_.clear();
    bool danados = false;
    try {
        codigos_ = activo ? juego_.codigosDeAcceso() : juego_.codigosGuardados();
    } catch (const ErrorArchivoDanado& e) {
        danados = true;
        lblEstado->setText(lblEstado->text() + QLatin1Char(' ') + QString::fromUtf8(e.what()) +
                           QStringLiteral(" Use «Renovar todos…»."));
    } catch (const std::exception& e) {
        lblEstado->setText(lblEstado->text() + QLatin1Char(' ') + QString::fromUtf8(e.what()));
    }
    tblCodigos->setRowCount(static_cast<int>(codigos_.size()));
    for (std::size_t i = 0; i < codigos_.size(); ++i) {
        const int fila = static_cast<int>(i);
        tblCodigos->setItem(fila, 0, new QTableWidgetItem(aQString(codigos_[i].empresa)));
        auto* codigo = new QTableWidgetItem(codigoLegible(codigos_[i].codigo));
        QFont fija(QStringLiteral("DejaVu Sans Mono"));
        fija.setStyleHint(QFont::Monospace);
        fija.setBold(true);
        codigo->setFont(fija);
        tblCodigos->setItem(fila, 1, codigo);
    }
    btnRenovar->setEnabled(!codigos_.empty());
    btnRenovarTodos->setEnabled(!codigos_.empty() || danados);
    btnCerrarSesiones->setEnabled(activo && !codigos_.empty());
    btnImprimir->setEnabled(!codigos_.empty());
    actualizarAvisos();
    actualizarEnvios();
}

void TFPortal::actualizarAvisos() {
    const auto plazo = portal_.plazo();
    const QString hora = plazo ? QString::fromStdString(textoHora(*plazo)) : QString();
    if (!plazo) lblPlazo->setText(QStringLiteral("Sin plazo."));
    else if (*plazo <= std::chrono::system_clock::now())
        lblPlazo->setText(QStringLiteral("El plazo de las %1 ya pasó: se rechazan los envíos.").arg(hora));
    else lblPlazo->setText(QStringLiteral("Se reciben envíos hasta las %1.").arg(hora));
    // The last few addresses that hit a cap in the last ten minutes.
    const auto desde = std::chrono::system_clock::now() - std::chrono::minutes(10);
    QStringList lineas;
    for (const TTope& t : portal_.topesDespuesDe(0))
        if (t.hora >= desde)
            lineas << QStringLiteral("%1 %2 llegó al tope de %3%4.")
                          .arg(QString::fromStdString(textoHora(t.hora)), QString::fromStdString(t.direccion), t.motivo,
                               t.veces > 1 ? QStringLiteral(" (%1 veces)").arg(t.veces) : QString());
    while (lineas.size() > 3) lineas.removeFirst();
    lblTopes->setText(lineas.join(QLatin1Char('\n')));
}

void TFPortal::actualizarEnvios() {
    std::vector<std::vector<std::string>> filas;
    try {
        filas = filasDelRegistro(juego_.registroDelPortal());
    } catch (const std::exception&) {
        // A game in use for a moment: the list is read again shortly, not at the next submission.
        reintentoEnvios_->start();
        return;
    }
    if (filas.empty()) filas = filasDelRegistro(cabeceraRegistro());
    std::string bancoA = "A", bancoB = "B";
    try {
        const TRegDatosIniciales datos = juego_.parametros();
        bancoA = cp1252AUtf8(aTexto(datos.nombreBancoA));
        bancoB = cp1252AUtf8(aTexto(datos.nombreBancoB));
    } catch (const std::exception&) {
        // The captions name the banks by their letters.
    }
    QStringList titulos;
    int resultado = -1;
    for (const std::string& t : filas.front()) {
        if (t == "resultado") resultado = static_cast<int>(titulos.size());
        titulos << tituloDeColumna(t, bancoA, bancoB);
    }
    tblEnvios->setColumnCount(static_cast<int>(titulos.size()));
    tblEnvios->setHorizontalHeaderLabels(titulos);
    // The newest first: that is what the teacher looks for; a refused one stands out.
    tblEnvios->setRowCount(static_cast<int>(filas.size() - 1));
    for (std::size_t i = 1; i < filas.size(); ++i) {
        const int fila = static_cast<int>(filas.size() - 1 - i);
        const bool rechazado = resultado >= 0 && std::size_t(resultado) < filas[i].size() && filas[i][resultado] == "rechazado";
        for (std::size_t j = 0; j < filas[i].size() && j < std::size_t(titulos.size()); ++j) {
            auto* celda = new QTableWidgetItem(QString::fromStdString(filas[i][j]));
            if (rechazado) celda->setForeground(QColor(160, 0, 0));
            tblEnvios->setItem(fila, static_cast<int>(j), celda);
        }
    }
    tblEnvios->resizeColumnsToContents();
}

void TFPortal::btnCerrarSesionesClick() {
    const int fila = tblCodigos->currentRow();
    if (fila < 0 || fila >= static_cast<int>(codigos_.size())) {
        mostrarMensaje(this, QStringLiteral("Elija en la lista el equipo cuyas sesiones quiere cerrar."));
        return;
    }
    const std::string empresa = codigos_[static_cast<std::size_t>(fila)].empresa;
    const int cerradas = portal_.cerrarSesiones(empresa);
    mostrarMensaje(this, QStringLiteral("Se cerraron %1 sesiones de «%2». Para que nadie más entre con su código, "
                                        "renuévelo.")
                             .arg(cerradas)
                             .arg(aQString(empresa)));
}

void TFPortal::btnPlazoClick() {
    const QString texto = edPlazo->text().trimmed();
    std::optional<std::chrono::system_clock::time_point> hasta;
    if (!texto.isEmpty() && !(hasta = horaDeHoy(texto.toStdString()))) {
        mostrarMensaje(this, QStringLiteral("«%1» no es una hora: escríbala como HH:MM, por ejemplo 10:59.").arg(texto));
        return;
    }
    try {
        portal_.fijarPlazo(hasta);
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
    actualizar();
    if (hasta && *hasta <= std::chrono::system_clock::now())
        mostrarMensaje(this, QStringLiteral("Las %1 ya pasaron: el portal rechaza desde ahora los envíos del período "
                                            "abierto. Para recibirlos, fije una hora posterior o deje el plazo vacío.")
                                 .arg(QString::fromStdString(textoHora(*hasta))));
}

void TFPortal::btnIniciarClick() {
    try {
        if (portal_.activo()) portal_.detener();
        else {
            const QString elegida = cmbDireccion->currentData().toString();
            portal_.iniciar(elegida.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(elegida),
                            static_cast<quint16>(edPuerto->value()));
        }
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
    actualizar();
}

void TFPortal::btnRenovarClick() {
    const int fila = tblCodigos->currentRow();
    if (fila < 0 || fila >= static_cast<int>(codigos_.size())) {
        mostrarMensaje(this, QStringLiteral("Elija en la lista el equipo cuyo código quiere renovar."));
        return;
    }
    const TCodigoEquipo equipo = codigos_[static_cast<std::size_t>(fila)];
    const auto respuesta = dialogos().mensaje(
        this, QStringLiteral("Atención"),
        QStringLiteral("¿Darle un código nuevo a «%1»? El código actual deja de servir y el equipo tiene que "
                       "volver a entrar con el nuevo.")
            .arg(aQString(equipo.empresa)),
        ServicioDialogos::Icono::pregunta, ServicioDialogos::Botones::siNo);
    if (respuesta != ServicioDialogos::Respuesta::si) return;
    try {
        juego_.renovarCodigo(equipo.empresa);
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
    actualizar();
    tblCodigos->selectRow(fila);
}

void TFPortal::btnRenovarTodosClick() {
    const auto respuesta = dialogos().mensaje(
        this, QStringLiteral("Atención"),
        QStringLiteral("¿Darles un código nuevo a todos los equipos? Los códigos actuales dejan de servir, los "
                       "equipos tienen que volver a entrar con los nuevos y los envíos de este período hechos con "
                       "un archivo de códigos dañado se descartan."),
        ServicioDialogos::Icono::pregunta, ServicioDialogos::Botones::siNo);
    if (respuesta != ServicioDialogos::Respuesta::si) return;
    try {
        juego_.renovarCodigos();
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
    actualizar();
}

void TFPortal::btnImprimirClick() {
    try {
        codigos_ = juego_.codigosDeAcceso();
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    QStringList direcciones = portal_.direccionesParaTeclear();
    if (direcciones.isEmpty()) {
        // The network chosen for the portal, else the machine's first.
        const QString elegida = cmbDireccion->currentData().toString();
        const QStringList ips = elegida.isEmpty() ? direccionesIpv4() : QStringList{elegida};
        const int puerto = portal_.activo() ? portal_.puerto() : edPuerto->value();
        if (!ips.isEmpty()) direcciones << QStringLiteral("http://%1:%2/").arg(ips.first()).arg(puerto);
    }
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(QStringLiteral("Códigos del portal"));
    if (!dialogos().configurarImpresora(this, impresora)) return;
    if (imprimirTarjetas(impresora, codigos_, direcciones.value(0)) == 0)
        mostrarMensaje(this, QStringLiteral("No se pudo imprimir."));
}

int imprimirTarjetas(QPrinter& impresora, const std::vector<TCodigoEquipo>& codigos, const QString& direccion) {
    QPainter pintor;
    if (codigos.empty() || !pintor.begin(&impresora)) return 0;
    const QRectF pagina = impresora.pageLayout().paintRectPixels(impresora.resolution());
    constexpr int columnas = 2, filas = 4;
    const double ancho = pagina.width() / columnas, alto = pagina.height() / filas;
    const double margen = ancho * 0.05;
    QFont normal(QStringLiteral("DejaVu Sans"));
    normal.setPointSizeF(11);
    QFont codigo(QStringLiteral("DejaVu Sans Mono"));
    codigo.setPointSizeF(22);
    codigo.setBold(true);
    int paginas = 1;
    for (std::size_t i = 0; i < codigos.size(); ++i) {
        const int lugar = static_cast<int>(i % (columnas * filas));
        if (i > 0 && lugar == 0) {
            if (!impresora.newPage()) return 0;
            ++paginas;
        }
        const QRectF tarjeta(ancho * (lugar % columnas), alto * (lugar / columnas), ancho, alto);
        pintor.setPen(QPen(Qt::gray, 0, Qt::DashLine));
        pintor.drawRect(tarjeta);
        pintor.setPen(Qt::black);
        const QRectF dentro = tarjeta.adjusted(margen, margen, -margen, -margen);
        pintor.setFont(normal);
        const QString texto = QStringLiteral("CORVELIAN · Portal de equipos\nEquipo: %1").arg(aQString(codigos[i].empresa));
        pintor.drawText(dentro, Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, texto);
        pintor.setFont(codigo);
        pintor.drawText(dentro, Qt::AlignCenter, codigoLegible(codigos[i].codigo));
        pintor.setFont(normal);
        pintor.drawText(dentro, Qt::AlignBottom | Qt::AlignLeft | Qt::TextWordWrap,
                        QStringLiteral("Escriba en el navegador:\n%1").arg(direccion.isEmpty() ? QStringLiteral("(la dirección que da el docente)") : direccion));
    }
    return pintor.end() ? paginas : 0;
}
