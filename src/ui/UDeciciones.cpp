#include "ui/UDeciciones.h"

#include "store/NombresArchivos.h"

#include "engine/ValidarDecision.h"
#include "juego/LectorCsv.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"
#include "ui/Formularios.h"
#include "ui/MensajesDecision.h"
#include "ui/NotificadorJuego.h"
#include "ui/ServicioDialogos.h"
#include "ui/TextoQt.h"
#include "ui/URevisionDecisiones.h"
#include "ui/USimular.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <filesystem>
#include <iterator>
#include <optional>
#include <utility>
#include <exception>

namespace {

constexpr std::array<int32_t, 5> kNiveles = {0, 25, 50, 75, 100};

QLabel* etiqueta(QWidget* padre, const QString& texto, const char* nombre = nullptr) {
    auto* label = new QLabel(texto, padre);
    if (nombre) label->setObjectName(QString::fromLatin1(nombre));
    return label;
}

int32_t entero(const QLineEdit* edit) { return enteroDe(edit->text()); }

void errorCampo(QWidget* padre, const QString& texto) {
    dialogos().mensaje(padre, QStringLiteral("ERROR!!!!"), texto, ServicioDialogos::Icono::advertencia,
                       ServicioDialogos::Botones::ok);
}

}  // namespace

TFDeciciones::TFDeciciones(TJuego& juego, QWidget* padre)
    : QWidget(padre, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint), juego_(juego) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Decisiones"));
    setObjectName(QStringLiteral("FDeciciones"));

    Label2 = etiqueta(this, QStringLiteral("1"), "Label2");
    Label5 = etiqueta(this, QStringLiteral("x"), "Label5");
    Label6 = etiqueta(this, QStringLiteral("NOMBRE"), "Label6");
    lbNroEquipo = etiqueta(this, QStringLiteral("1/2"), "lbNroEquipo");
    QFont grande = Label6->font();
    grande.setBold(true);
    grande.setPointSize(grande.pointSize() + 4);
    for (QLabel* l : {Label2, Label5, Label6, lbNroEquipo}) l->setFont(grande);
    fuenteNombre_ = grande;
    // A name has up to 50 characters: room for two lines of the large font,
    // and ajustarNombre shrinks the font when even that is not enough.
    Label6->setWordWrap(true);
    Label6->setMinimumWidth(QFontMetrics(grande).horizontalAdvance(QString(24, QLatin1Char('M'))));
    Label6->setFixedHeight(QFontMetrics(grande).lineSpacing() * 2 + 4);
    Label6->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* cabecera = new QHBoxLayout;
    cabecera->addWidget(etiqueta(this, QStringLiteral("ZONA")));
    cabecera->addWidget(Label2);
    cabecera->addWidget(etiqueta(this, QStringLiteral("-")));
    cabecera->addWidget(etiqueta(this, QStringLiteral("PERIODO")));
    cabecera->addWidget(Label5);
    cabecera->addStretch();
    cabecera->addWidget(lbNroEquipo);

    Edit1 = new TCampoTexto(QStringLiteral("Edit1"), this);
    Edit2 = new TCampoTexto(QStringLiteral("Edit2"), this);
    Edit3 = new TCampoTexto(QStringLiteral("Edit3"), this);
    Edit4 = new TCampoTexto(QStringLiteral("Edit4"), this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("0 "), QStringLiteral("25 "), QStringLiteral("50  "), QStringLiteral("75 "),
                         QStringLiteral("100 ")});
    Edit6 = new TCampoTexto(QStringLiteral("Edit6"), this);
    Edit7 = new TCampoTexto(QStringLiteral("Edit7"), this);
    Edit8 = new TCampoTexto(QStringLiteral("Edit8"), this);
    Edit9 = new TCampoTexto(QStringLiteral("Edit9"), this);
    Edit10 = new TCampoTexto(QStringLiteral("Edit10"), this);
    Label17 = etiqueta(this, QString(), "Label17");
    Label18 = etiqueta(this, QString(), "Label18");
    Label19 = etiqueta(this, QString(), "Label19");
    Label20 = etiqueta(this, QString(), "Label20");

    auto* campos = new QGridLayout;
    int linea = 0;
    auto fila = [&](const QString& texto, QWidget* control, QLabel* banco = nullptr) {
        agregarFila(campos, linea, texto, control, banco);
    };
    fila(QStringLiteral("PRECIO"), Edit1);
    fila(QStringLiteral("MARKETING"), Edit2);
    fila(QStringLiteral("INV.Y DES."), Edit3);
    fila(QStringLiteral("CAPACITACION"), Edit4);
    fila(QStringLiteral("N.DE PROD(%)"), ComboBox1);
    fila(QStringLiteral("INV.EN PLANTA"), Edit6);
    fila(QStringLiteral("PED.PRESTAMO"), Edit7, Label17);
    fila(QStringLiteral("PED.PRESTAMO"), Edit8, Label18);
    fila(QStringLiteral("DEV.PRESTAMO"), Edit9, Label19);
    fila(QStringLiteral("DEV.PRESTAMO"), Edit10, Label20);
    campos->setColumnMinimumWidth(2, 90);

    btnAnterior = crearBotonImagen(QStringLiteral("btnAnterior"), QStyle::SP_ArrowBack,
                                   QStringLiteral("Equipo anterior"), this);
    btnSiguiente = crearBotonImagen(QStringLiteral("btnSiguiente"), QStyle::SP_ArrowForward,
                                    QStringLiteral("Equipo siguiente"), this);
    btnCancelar = crearBotonImagen(QStringLiteral("btnCancelar"), QStyle::SP_DialogCloseButton,
                                   QStringLiteral("Cerrar"), this);
    // Like the speed buttons they stand for, they never take the focus.
    for (QPushButton* b : {btnAnterior, btnSiguiente, btnCancelar}) b->setFocusPolicy(Qt::NoFocus);
    btnCargarDatos = new QPushButton(QStringLiteral("Cargar Decisión Anterior"), this);
    btnCargarDatos->setObjectName(QStringLiteral("btnCargarDatos"));
    btnCargarDatosTodas = new QPushButton(QStringLiteral("Cargar Todas"), this);
    btnCargarDatosTodas->setObjectName(QStringLiteral("btnCargarDatosTodas"));
    // Loading replaces what the fields hold, so leaving a field for these
    // buttons is no reason to check it.
    btnCargarDatos->setFocusPolicy(Qt::NoFocus);
    btnCargarDatosTodas->setFocusPolicy(Qt::NoFocus);
    btnCopiarAnterior = new QPushButton(QStringLiteral("Copiar período anterior"), this);
    btnCopiarAnterior->setObjectName(QStringLiteral("btnCopiarAnterior"));
    btnCopiarAnterior->setFocusPolicy(Qt::NoFocus);
    btnImportarCsv = new QPushButton(QStringLiteral("Importar CSV…"), this);
    btnImportarCsv->setObjectName(QStringLiteral("btnImportarCsv"));
    btnImportarCsv->setFocusPolicy(Qt::NoFocus);
    btnRevisar = new QPushButton(QStringLiteral("Revisar todos"), this);
    btnRevisar->setObjectName(QStringLiteral("btnRevisar"));
    btnRevisar->setFocusPolicy(Qt::NoFocus);
    btnCargarPortal = new QPushButton(QStringLiteral("Cargar del portal"), this);
    btnCargarPortal->setObjectName(QStringLiteral("btnCargarPortal"));
    btnCargarPortal->setFocusPolicy(Qt::NoFocus);
    lblPortal = etiqueta(this, QString(), "lblPortal");
    lblComputadora = etiqueta(this, QString(), "lblComputadora");
    lblEnviosPortal = etiqueta(this, QString(), "lblEnviosPortal");
    lblEnviosPortal->setWordWrap(true);

    auto* cargar = new QHBoxLayout;
    cargar->addWidget(btnCargarDatos);
    cargar->addWidget(btnCargarDatosTodas);
    auto* traer = new QHBoxLayout;
    traer->addWidget(btnCopiarAnterior);
    traer->addWidget(btnImportarCsv);
    traer->addWidget(btnRevisar);
    auto* portal = new QHBoxLayout;
    portal->addWidget(lblEnviosPortal, 1);
    portal->addWidget(btnCargarPortal);
    auto* navegar = new QHBoxLayout;
    navegar->addWidget(btnAnterior);
    navegar->addWidget(btnSiguiente);
    navegar->addStretch();
    navegar->addWidget(btnCancelar);

    auto* principal = new QVBoxLayout(this);
    principal->addLayout(cabecera);
    principal->addWidget(Label6);
    principal->addWidget(lblComputadora);
    principal->addWidget(lblPortal);
    principal->addLayout(campos);
    principal->addLayout(cargar);
    principal->addLayout(traer);
    principal->addLayout(portal);
    principal->addLayout(navegar);

    connect(btnSiguiente, &QPushButton::clicked, this, &TFDeciciones::btnSiguienteClick);
    for (TCampoTexto* campo : findChildren<TCampoTexto*>())
        connect(campo, &QLineEdit::textEdited, this, [this] { sinGuardar_ = true; });
    connect(ComboBox1, &QComboBox::activated, this, [this] { sinGuardar_ = true; });
    connect(btnAnterior, &QPushButton::clicked, this, &TFDeciciones::btnAnteriorClick);
    connect(btnCancelar, &QPushButton::clicked, this, &TFDeciciones::btnCancelarClick);
    connect(btnCargarDatos, &QPushButton::clicked, this, &TFDeciciones::btnCargarDatosClick);
    connect(btnCargarDatosTodas, &QPushButton::clicked, this, &TFDeciciones::btnCargarDatosTodasClick);
    connect(btnCopiarAnterior, &QPushButton::clicked, this, &TFDeciciones::btnCopiarAnteriorClick);
    connect(btnImportarCsv, &QPushButton::clicked, this, &TFDeciciones::btnImportarCsvClick);
    connect(btnRevisar, &QPushButton::clicked, this, &TFDeciciones::btnRevisarClick);
    connect(btnCargarPortal, &QPushButton::clicked, this, &TFDeciciones::btnCargarPortalClick);
    connect(Edit1, &TCampoTexto::salida, this, [this] { alSalir(&TFDeciciones::Edit1Exit); });
    connect(Edit2, &TCampoTexto::salida, this, [this] { alSalir(&TFDeciciones::Edit2Exit); });
    connect(Edit4, &TCampoTexto::salida, this, [this] { alSalir(&TFDeciciones::Edit4Exit); });
    for (const auto& [edit, campo] :
         {std::pair{Edit3, &TRegDecision::invYDes}, std::pair{Edit6, &TRegDecision::invPlanta},
          std::pair{Edit7, &TRegDecision::pedPrestamoA}, std::pair{Edit8, &TRegDecision::pedPrestamoB},
          std::pair{Edit9, &TRegDecision::devPrestamoA}, std::pair{Edit10, &TRegDecision::devPrestamoB}})
        connect(edit, &TCampoTexto::salida, this, [this, c = campo] {
            if (sinComprobar_) return;
            sinComprobar_ = true;
            montoExit(c);
            sinComprobar_ = false;
        });

    orden_ = {Edit1, Edit2, Edit3, Edit4, ComboBox1, Edit6, Edit7, Edit8, Edit9, Edit10};
    for (QWidget* campo : orden_) campo->installEventFilter(this);
    Label6->installEventFilter(this);

    fijarTamano(this);
    centrarSobre(this, padre);
    FormCreate();
    if (TNotificadorJuego* notificador = TNotificadorJuego::de(this))
        connect(notificador, &TNotificadorJuego::envioRecibido, this, &TFDeciciones::actualizarMarcasPortal);
}

void TFDeciciones::FormCreate() {
    TEstadoJuego estado;
    try {
        estado = juego_.leerEstado();
        nombres_ = juego_.empresasActivas();
    } catch (const std::exception& e) {
        mostrarError(this, e);
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    marca_ = estado.marca;
    const TRegDatosIniciales& datos = estado.datos;
    cantEquipos_ = datos.cantEquipos;
    if (cantEquipos_ == 0) {
        mostrarMensaje(this, QStringLiteral("No quedan mas equipos, todos han quebrado."));
        // Closed once the caller has finished opening it.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    periodoActual_ = datos.periodoActual;
    Label17->setText(aQString(aTexto(datos.nombreBancoA)));
    Label19->setText(aQString(aTexto(datos.nombreBancoA)));
    Label18->setText(aQString(aTexto(datos.nombreBancoB)));
    Label20->setText(aQString(aTexto(datos.nombreBancoB)));
    Label2->setText(QString::number(datos.nroZona));
    Label5->setText(QString::number(periodoActual_));
    decisionesEquipos_.assign(cantEquipos_, TRegDecision{});
    computadora_.assign(cantEquipos_, false);
    try {
        // The computer's companies open with its decisions; the game master may change them.
        const auto propuestas = juego_.decisionesComputadora();
        for (std::size_t i = 0; i < propuestas.size() && i < cantEquipos_; ++i)
            if (propuestas[i]) {
                decisionesEquipos_[i] = *propuestas[i];
                computadora_[i] = true;
            }
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
    actualizarMarcasPortal();
    try {
        mostrarEquipo(1);
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
}

void TFDeciciones::mostrarEquipo(uint8_t t) {
    // The name comes first: when it cannot be read, nothing on show changes.
    if (t < 1 || t > nombres_.size())
        throw ErrorArchivo(juego_.carpeta().ruta(kArchivoResultados), "lectura más allá del fin del archivo");
    equipoActual_ = t;
    Label6->setText(aQString(nombres_[t - 1u]));
    ajustarNombre();
    lbNroEquipo->setText(QStringLiteral("%1/%2").arg(t).arg(cantEquipos_));
    const bool enviado = t <= enviadosPortal_.size() && enviadosPortal_[t - 1u];
    lblPortal->setText(enviado ? QStringLiteral("✔ Envió sus decisiones por el portal") : QString());
    lblComputadora->setText(t <= computadora_.size() && computadora_[t - 1u] ? QStringLiteral("(computadora)")
                                                                              : QString());
    const TRegDecision& d = decisionesEquipos_[t - 1];
    Edit1->setText(QString::number(d.precio));
    Edit2->setText(QString::number(d.marketing));
    Edit3->setText(QString::number(d.invYDes));
    Edit4->setText(QString::number(d.capacitacion));
    for (std::size_t i = 0; i < kNiveles.size(); ++i)
        if (kNiveles[i] == d.nivelProduccion) ComboBox1->setCurrentIndex(static_cast<int>(i));
    Edit6->setText(QString::number(d.invPlanta));
    Edit7->setText(QString::number(d.pedPrestamoA));
    Edit8->setText(QString::number(d.pedPrestamoB));
    Edit9->setText(QString::number(d.devPrestamoA));
    Edit10->setText(QString::number(d.devPrestamoB));
    enfocar(Edit1);
    // Edit1 may have held the focus already, so no focus event selects it.
    Edit1->selectAll();
}

void TFDeciciones::ajustarNombre() {
    const QString nombre = Label6->text();
    QFont fuente = fuenteNombre_;
    const int ancho = std::max(Label6->contentsRect().width(), Label6->minimumWidth());
    const int alto = Label6->contentsRect().height();
    // Word wrapping cannot break a long word, so the font shrinks until the
    // whole name fits the label's two lines.
    for (int puntos = fuenteNombre_.pointSize(); puntos > 4; --puntos) {
        fuente.setPointSize(puntos);
        const QRect ocupa = QFontMetrics(fuente).boundingRect(QRect(0, 0, ancho, 100000),
                                                              Qt::TextWordWrap, nombre);
        if (ocupa.width() <= ancho && ocupa.height() <= alto) break;
    }
    Label6->setFont(fuente);
    Label6->setToolTip(nombre);
}

TRegDecision TFDeciciones::leerFormulario() const {
    TRegDecision r{};
    r.precio = entero(Edit1);
    r.marketing = entero(Edit2);
    r.invYDes = entero(Edit3);
    r.capacitacion = entero(Edit4);
    const int indice = ComboBox1->currentIndex();
    if (indice >= 0 && indice < static_cast<int>(kNiveles.size())) r.nivelProduccion = kNiveles[indice];
    r.invPlanta = entero(Edit6);
    r.pedPrestamoA = entero(Edit7);
    r.pedPrestamoB = entero(Edit8);
    r.devPrestamoA = entero(Edit9);
    r.devPrestamoB = entero(Edit10);
    return r;
}

QLineEdit* TFDeciciones::campoDe(int32_t TRegDecision::*campo) const {
    const std::pair<int32_t TRegDecision::*, QLineEdit*> campos[] = {
        {&TRegDecision::precio, Edit1},        {&TRegDecision::marketing, Edit2},
        {&TRegDecision::invYDes, Edit3},       {&TRegDecision::capacitacion, Edit4},
        {&TRegDecision::invPlanta, Edit6},     {&TRegDecision::pedPrestamoA, Edit7},
        {&TRegDecision::pedPrestamoB, Edit8},  {&TRegDecision::devPrestamoA, Edit9},
        {&TRegDecision::devPrestamoB, Edit10}};
    for (const auto& [c, edit] : campos)
        if (c == campo) return edit;
    return nullptr;  // the production level comes from its list
}

void TFDeciciones::rechazarCampo(const TRangoDecision& rango) {
    mostrarMensaje(this, mensajeRango(rango));
    QLineEdit* edit = campoDe(rango.campo);
    if (!edit) return;
    // Price and marketing fall back to their upper bound; other fields keep
    // what was typed, so the game master sees what to correct.
    if (rango.campo == &TRegDecision::precio || rango.campo == &TRegDecision::marketing)
        edit->setText(QString::number(rango.maximo));
    enfocar(edit);
}

bool TFDeciciones::comprobarRangos(const TRegDecision& r) {
    // The navigation buttons take no focus, so a value typed and sent on at
    // once never left its field: the field checks run here as well.
    sinComprobar_ = true;
    bool valido = true;
    for (const TRangoDecision& rango : rangosDecision()) {
        if (enRango(rango, r.*(rango.campo))) continue;
        rechazarCampo(rango);
        valido = false;
        break;
    }
    sinComprobar_ = false;
    return valido;
}

bool TFDeciciones::guardarFormulario() {
    TRegDecision r;
    try {
        r = leerFormulario();
    } catch (const ErrorConversion& e) {
        mostrarMensaje(this, QString::fromUtf8(e.what()));
        return false;
    }
    if (!comprobarRangos(r)) return false;
    guardarEnMemoria(equipoActual_, r);
    return true;
}

void TFDeciciones::guardarEnMemoria(uint8_t t, const TRegDecision& r) { decisionesEquipos_[t - 1] = r; }

void TFDeciciones::guardarDecisiones() {
    // All or nothing, and only on the game this screen was opened on.
    juego_.guardarDecisiones(decisionesEquipos_, &marca_);
}

void TFDeciciones::enfocar(QLineEdit* edit) {
    const bool antes = sinComprobar_;
    sinComprobar_ = true;
    edit->setFocus(Qt::OtherFocusReason);
    sinComprobar_ = antes;
}

void TFDeciciones::campoSiguiente(QWidget* desde, bool atras) {
    const auto donde = std::find(orden_.begin(), orden_.end(), desde);
    if (donde == orden_.end()) return;
    if (atras) {
        if (donde != orden_.begin()) (*std::prev(donde))->setFocus(Qt::BacktabFocusReason);
        return;
    }
    if (std::next(donde) == orden_.end()) {
        btnSiguienteClick();
        return;
    }
    // Leaving the field this way runs its check, as Tab does.
    (*std::next(donde))->setFocus(Qt::TabFocusReason);
}

bool TFDeciciones::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == Label6) {
        // The label's real width is known once the window is laid out.
        if (evento->type() == QEvent::Resize) ajustarNombre();
        return QWidget::eventFilter(objeto, evento);
    }
    auto* campo = qobject_cast<QWidget*>(objeto);
    auto* edit = qobject_cast<QLineEdit*>(objeto);
    switch (evento->type()) {
    case QEvent::KeyPress: {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        switch (tecla->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            campoSiguiente(campo, tecla->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        case Qt::Key_PageDown:
            btnSiguienteClick();
            return true;
        case Qt::Key_PageUp:
            btnAnteriorClick();
            return true;
        default: break;
        }
        break;
    }
    case QEvent::FocusIn:
        if (edit) {
            // Typing replaces what the field holds, however the focus came.
            objeto->event(evento);  // virtual: the field's own handling first
            edit->selectAll();
            seleccionarAlSoltar_ = static_cast<QFocusEvent*>(evento)->reason() == Qt::MouseFocusReason;
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (edit && seleccionarAlSoltar_) {
            // The press of the click that gave the focus placed the cursor.
            seleccionarAlSoltar_ = false;
            objeto->event(evento);  // virtual: the field's own handling first
            if (!edit->hasSelectedText()) edit->selectAll();
            return true;
        }
        break;
    default: break;
    }
    return QWidget::eventFilter(objeto, evento);
}

void TFDeciciones::btnSiguienteClick() {
    if (cantEquipos_ == 0) return;
    try {
        if (!guardarFormulario()) return;
        if (equipoActual_ < cantEquipos_) {
            mostrarEquipo(static_cast<uint8_t>(equipoActual_ + 1));
            return;
        }
        guardarDecisiones();
        sinGuardar_ = false;
    } catch (const std::exception& e) {
        // The decisions file could not even be created: the screen stays on
        // the last team, with everything typed still in memory.
        mostrarError(this, e);
        return;
    }
    const auto respuesta = dialogos().mensaje(this, QStringLiteral("Atención"), QStringLiteral("¿Pasar a la simulación?"),
                                              ServicioDialogos::Icono::pregunta, ServicioDialogos::Botones::siNo);
    if (respuesta != ServicioDialogos::Respuesta::si) return;  // stays on the last team, the file written
    auto* simular = new TFSimular(juego_, parentWidget(), marca_);
    simular->show();
    close();
}

void TFDeciciones::btnAnteriorClick() {
    if (cantEquipos_ == 0 || equipoActual_ == 1) return;
    try {
        if (!guardarFormulario()) return;
        mostrarEquipo(static_cast<uint8_t>(equipoActual_ - 1));
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
}

void TFDeciciones::btnCancelarClick() { close(); }

void TFDeciciones::closeEvent(QCloseEvent* evento) {
    if (sinGuardar_ &&
        dialogos().mensaje(this, QStringLiteral("Atención"),
                           QStringLiteral("Hay decisiones cargadas que no se guardaron. ¿Desea cerrar la pantalla y "
                                          "perderlas?"),
                           ServicioDialogos::Icono::pregunta,
                           ServicioDialogos::Botones::siNo) != ServicioDialogos::Respuesta::si) {
        evento->ignore();
        return;
    }
    evento->accept();
}

void TFDeciciones::btnCargarDatosClick() {
    if (cantEquipos_ == 0) return;
    TRegDecision r{};
    try {
        const auto guardadas = juego_.decisionesGuardadas();
        if (guardadas.size() < equipoActual_) throw ErrorArchivo(juego_.carpeta().ruta(kArchivoDecisiones), "sin datos");
        r = guardadas[equipoActual_ - 1u];
    } catch (const std::exception&) {
        mostrarMensaje(this, QStringLiteral("No hay datos para el periodo actual."));
        return;
    }
    guardarEnMemoria(equipoActual_, r);
    try {
        mostrarEquipo(equipoActual_);
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
}

void TFDeciciones::btnCargarDatosTodasClick() {
    if (cantEquipos_ == 0) return;
    std::vector<TRegDecision> guardadas;
    try {
        guardadas = juego_.decisionesGuardadas();
    } catch (const std::exception&) {
    }
    for (int t = 1; t <= cantEquipos_; ++t) {
        if (guardadas.size() < static_cast<std::size_t>(t)) {
            mostrarMensaje(this, QStringLiteral("No hay datos para el periodo actual."));
            return;
        }
        guardarEnMemoria(static_cast<uint8_t>(t), guardadas[static_cast<std::size_t>(t - 1)]);
    }
    try {
        mostrarEquipo(1);
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
}

void TFDeciciones::btnCopiarAnteriorClick() {
    if (cantEquipos_ == 0) return;
    const int anterior = periodoActual_ - 1;
    TArchivoPeriodo archivo;
    try {
        archivo = juego_.periodoDelHistorial(anterior);
    } catch (const std::exception&) {
        mostrarMensaje(this, QStringLiteral("No hay decisiones del período %1 en el historial.").arg(anterior));
        return;
    }
    // The history keeps every company of that run, bankrupt ones included,
    // so each team is found by its name; all are found or nothing changes.
    std::vector<TRegDecision> copia = decisionesEquipos_;
    copia.resize(cantEquipos_);
    for (std::size_t t = 0; t < copia.size(); ++t) {
        // The computer's companies keep the decisions it made for this period.
        if (t < computadora_.size() && computadora_[t]) continue;
        const std::string nombre = t < nombres_.size() ? nombres_[t] : std::string();
        std::size_t i = 0;
        while (i < archivo.industria.size() && archivo.industria[i].empresa != nombre) ++i;
        if (i >= archivo.industria.size() || i >= archivo.decisiones.size()) {
            mostrarMensaje(this, QStringLiteral("El período %1 del historial no tiene decisiones de «%2».")
                                     .arg(anterior)
                                     .arg(aQString(nombre)));
            return;
        }
        copia[t] = archivo.decisiones[i];
    }
    decisionesEquipos_ = std::move(copia);
    mostrarSinGuardar(1);
}

void TFDeciciones::mostrarSinGuardar(uint8_t equipo) {
    sinGuardar_ = true;
    try {
        mostrarEquipo(equipo);
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
}

void TFDeciciones::btnImportarCsvClick() {
    if (cantEquipos_ == 0) return;
    const auto archivo = dialogos().elegirArchivoAbrir(this, QStringLiteral("Importar decisiones"),
                                                       QStringLiteral("Archivos CSV (*.csv);;Todos los archivos (*)"));
    if (!archivo) return;
    std::vector<std::optional<TRegDecision>> leidas;
    try {
        // The same reader and messages as the tool's "decisiones" order; the
        // computer's companies left out keep what the screen holds.
        leidas = leerDecisionesCsv(aRuta(*archivo), nombres_, computadora_);
    } catch (const std::exception& e) {
        mostrarMensaje(this, QString::fromUtf8(e.what()));
        return;
    }
    if (leidas.size() != decisionesEquipos_.size()) return;  // the reader gives one entry per company
    for (std::size_t i = 0; i < leidas.size(); ++i)
        if (leidas[i]) decisionesEquipos_[i] = *leidas[i];
    mostrarSinGuardar(1);
}

void TFDeciciones::btnRevisarClick() {
    if (cantEquipos_ == 0) return;
    if (!guardarFormulario()) return;
    QStringList equipos;
    for (std::size_t t = 0; t < decisionesEquipos_.size(); ++t)
        equipos.append(t < nombres_.size() ? nombreMarcado(t) : QString::number(t + 1));
    auto* revision = new TFRevisionDecisiones(
        juego_, this, equipos, {Label17->text(), Label18->text()}, decisionesEquipos_, marca_,
        [this](const std::vector<TRegDecision>& decisiones, bool guardadas) {
            decisionesEquipos_ = decisiones;
            if (guardadas) {
                // Stored, and the simulate screen is open: this screen's work is done.
                sinGuardar_ = false;
                close();
                return;
            }
            mostrarSinGuardar(equipoActual_);
        });
    revision->show();
}

void TFDeciciones::Edit1Exit() {
    const auto valor = leerEntero(aCp1252(Edit1->text()).value_or(std::string()));
    if (!valor) {
        errorCampo(this, QStringLiteral("Ud ha colocado un valor incorrecto en precio"));
    } else if (!precioValido(*valor)) {
        rechazarCampo(rangoDecision(&TRegDecision::precio));
    }
}

void TFDeciciones::Edit2Exit() {
    const auto valor = leerEntero(aCp1252(Edit2->text()).value_or(std::string()));
    if (!valor) {
        errorCampo(this, QStringLiteral("Ud ha colocado un valor incorrecto en marketing"));
    } else if (!marketingValido(*valor)) {
        rechazarCampo(rangoDecision(&TRegDecision::marketing));
    }
}

void TFDeciciones::Edit4Exit() {
    const auto valor = leerEntero(aCp1252(Edit4->text()).value_or(std::string()));
    if (!valor) {
        errorCampo(this, QStringLiteral("Ud ha colocado un valor incorrecto en capacitación"));
    } else if (!capacitacionValida(*valor)) {
        rechazarCampo(rangoDecision(&TRegDecision::capacitacion));
    }
}

void TFDeciciones::montoExit(int32_t TRegDecision::*campo) {
    // A text that is not a number is reported when the team changes.
    const TRangoDecision& rango = rangoDecision(campo);
    const auto valor = leerEntero(aCp1252(campoDe(campo)->text()).value_or(std::string()));
    if (valor && !enRango(rango, *valor)) rechazarCampo(rango);
}

void TFDeciciones::alSalir(void (TFDeciciones::*comprobacion)()) {
    if (sinComprobar_) return;
    sinComprobar_ = true;
    (this->*comprobacion)();
    sinComprobar_ = false;
}

void TFDeciciones::actualizarMarcasPortal() {
    std::vector<std::optional<TRegDecision>> envios;
    try {
        // Only the submissions of the game this screen was opened on.
        if (juego_.leerEstado().marca == marca_) envios = juego_.enviosDelPeriodo();
    } catch (const std::exception&) {
        // The marks are a help: a game that cannot be read now shows none,
        // and loading says why.
    }
    enviadosPortal_.assign(cantEquipos_, false);
    QStringList faltan;
    int enviaron = 0, equipos = 0;
    for (std::size_t i = 0; i < enviadosPortal_.size(); ++i) {
        enviadosPortal_[i] = i < envios.size() && envios[i].has_value();
        // The computer's companies send nothing: nobody waits for them.
        const bool deComputadora = i < computadora_.size() && computadora_[i];
        if (!deComputadora) ++equipos;
        if (enviadosPortal_[i]) ++enviaron;
        else if (i < nombres_.size() && !deComputadora) faltan << aQString(nombres_[i]);
    }
    QString texto = equipos == 1 ? QStringLiteral("Portal: %1 de 1 equipo envió sus decisiones.").arg(enviaron)
                                 : QStringLiteral("Portal: %1 de %2 equipos enviaron sus decisiones.").arg(enviaron).arg(equipos);
    if (enviaron > 0 && !faltan.isEmpty()) texto += QStringLiteral(" Faltan: %1.").arg(faltan.join(QStringLiteral(", ")));
    lblEnviosPortal->setText(texto);
    btnCargarPortal->setEnabled(enviaron > 0);
    if (equipoActual_ >= 1 && equipoActual_ <= enviadosPortal_.size())
        lblPortal->setText(enviadosPortal_[equipoActual_ - 1u] ? QStringLiteral("✔ Envió sus decisiones por el portal")
                                                              : QString());
}

void TFDeciciones::btnCargarPortalClick() {
    if (cantEquipos_ == 0) return;
    std::vector<std::optional<TRegDecision>> envios;
    try {
        const TEstadoJuego estado = juego_.leerEstado();
        if (!(estado.marca == marca_)) throw ErrorJuego(mensajeJuegoCambiado(estado));
        envios = juego_.enviosDelPeriodo();
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    QStringList faltan;
    int cargados = 0;
    for (std::size_t i = 0; i < cantEquipos_; ++i) {
        if (i < envios.size() && envios[i]) {
            guardarEnMemoria(static_cast<uint8_t>(i + 1), *envios[i]);
            ++cargados;
        } else if (i < nombres_.size() && !(i < computadora_.size() && computadora_[i])) {
            faltan << aQString(nombres_[i]);
        }
    }
    actualizarMarcasPortal();
    if (cargados == 0) {
        mostrarMensaje(this, QStringLiteral("Ningún equipo envió decisiones por el portal para este período."));
        return;
    }
    mostrarSinGuardar(1);
    if (!faltan.isEmpty())
        mostrarMensaje(this, QStringLiteral("Se cargaron las decisiones de %1 %2. No enviaron las suyas: %3.")
                                 .arg(cargados)
                                 .arg(cargados == 1 ? QStringLiteral("equipo") : QStringLiteral("equipos"))
                                 .arg(faltan.join(QStringLiteral(", "))));
}

QString TFDeciciones::nombreMarcado(std::size_t i) const {
    const QString nombre = aQString(nombres_[i]);
    return i < computadora_.size() && computadora_[i] ? nombre + QStringLiteral(" (computadora)") : nombre;
}
