#include "ui/UDeciciones.h"

#include "store/ErrorArchivo.h"
#include "store/NombresArchivos.h"
#include "ui/CamposDecision.h"
#include "ui/Formularios.h"
#include "ui/NotificadorJuego.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"
#include "ui/URevisionDecisiones.h"
#include "ui/USimular.h"

#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <optional>

namespace {

QLabel* etiqueta(QWidget* padre, const QString& texto, const char* nombre = nullptr) {
    auto* label = new QLabel(texto, padre);
    if (nombre) label->setObjectName(QString::fromLatin1(nombre));
    return label;
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

    lblPortal = etiqueta(this, QString(), "lblPortal");
    lblComputadora = etiqueta(this, QString(), "lblComputadora");
    campos_ = new TCamposDecision(TCamposDecision::Uso::periodo, this);
    lblAvisos = etiqueta(this, QString(), "lblAvisos");
    lblAvisos->setWordWrap(true);
    // Beside the fields, a column of its own: the screen keeps its size as warnings come and go.
    lblAvisos->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblAvisos->setFixedWidth(lblAvisos->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('n'))));
    QVBoxLayout* botones = crearBotones();

    auto* principal = new QVBoxLayout(this);
    principal->addLayout(crearCabecera());
    principal->addWidget(Label6);
    principal->addWidget(lblComputadora);
    principal->addWidget(lblPortal);
    auto* camposYAvisos = new QHBoxLayout;
    camposYAvisos->addWidget(campos_);
    camposYAvisos->addSpacing(12);
    camposYAvisos->addWidget(lblAvisos);
    principal->addLayout(camposYAvisos);
    principal->addLayout(botones);
    conectar();
    Label6->installEventFilter(this);

    prepararTeclado(this);
    fijarTamano(this);
    centrarSobre(this, padre);
    FormCreate();
}

QHBoxLayout* TFDeciciones::crearCabecera() {
    auto* cabecera = new QHBoxLayout;
    cabecera->addWidget(etiqueta(this, QStringLiteral("ZONA")));
    cabecera->addWidget(Label2);
    cabecera->addWidget(etiqueta(this, QStringLiteral("-")));
    cabecera->addWidget(etiqueta(this, QStringLiteral("PERÍODO")));
    cabecera->addWidget(Label5);
    cabecera->addStretch();
    cabecera->addWidget(lbNroEquipo);
    return cabecera;
}

QVBoxLayout* TFDeciciones::crearBotones() {
    btnAnterior = crearBotonImagen(QStringLiteral("btnAnterior"), QStyle::SP_ArrowBack,
                                   QStringLiteral("Equipo anterior"), this);
    btnSiguiente = crearBotonImagen(QStringLiteral("btnSiguiente"), QStyle::SP_ArrowForward,
                                    QStringLiteral("Equipo siguiente"), this);
    btnCancelar = crearBotonImagen(QStringLiteral("btnCancelar"), QStyle::SP_DialogCloseButton,
                                   QStringLiteral("Cerrar"), this);
    // Like the speed buttons they stand for, a click never takes the focus.
    for (QPushButton* b : {btnAnterior, btnSiguiente, btnCancelar}) b->setFocusPolicy(Qt::TabFocus);
    auto boton = [this](const QString& texto, const char* nombre) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QString::fromLatin1(nombre));
        // Loading replaces what the fields hold, so clicking these buttons
        // is no reason to check the field left (Tab still reaches them).
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    btnCargarDatos = boton(QStringLiteral("Cargar Decisión Anterior"), "btnCargarDatos");
    btnCargarDatosTodas = boton(QStringLiteral("Cargar Todas"), "btnCargarDatosTodas");
    btnCopiarAnterior = boton(QStringLiteral("Copiar período anterior"), "btnCopiarAnterior");
    btnImportarCsv = boton(QStringLiteral("Importar CSV…"), "btnImportarCsv");
    btnRevisar = boton(QStringLiteral("Revisar todos"), "btnRevisar");
    btnCargarPortal = boton(QStringLiteral("Cargar del portal"), "btnCargarPortal");
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
    auto* botones = new QVBoxLayout;
    for (QLayout* fila : std::initializer_list<QLayout*>{cargar, traer, portal, navegar}) botones->addLayout(fila);
    return botones;
}

void TFDeciciones::conectar() {
    connect(btnSiguiente, &QPushButton::clicked, this, &TFDeciciones::btnSiguienteClick);
    connect(btnAnterior, &QPushButton::clicked, this, &TFDeciciones::btnAnteriorClick);
    connect(btnCancelar, &QPushButton::clicked, this, &TFDeciciones::btnCancelarClick);
    connect(btnCargarDatos, &QPushButton::clicked, this, &TFDeciciones::btnCargarDatosClick);
    connect(btnCargarDatosTodas, &QPushButton::clicked, this, &TFDeciciones::btnCargarDatosTodasClick);
    connect(btnCopiarAnterior, &QPushButton::clicked, this, &TFDeciciones::btnCopiarAnteriorClick);
    connect(btnImportarCsv, &QPushButton::clicked, this, &TFDeciciones::btnImportarCsvClick);
    connect(btnRevisar, &QPushButton::clicked, this, &TFDeciciones::btnRevisarClick);
    connect(btnCargarPortal, &QPushButton::clicked, this, &TFDeciciones::btnCargarPortalClick);
    connect(campos_, &TCamposDecision::editado, this, [this] {
        sinGuardar_ = true;
        mostrarAvisos();
    });
    connect(campos_, &TCamposDecision::despuesDelUltimo, this, &TFDeciciones::btnSiguienteClick);
    connect(campos_, &TCamposDecision::otroEquipo, this, [this](bool adelante) {
        if (adelante) btnSiguienteClick();
        else btnAnteriorClick();
    });
    if (TNotificadorJuego* notificador = TNotificadorJuego::de(this))
        connect(notificador, &TNotificadorJuego::envioRecibido, this, &TFDeciciones::actualizarMarcasPortal);
}

void TFDeciciones::FormCreate() {
    TEstadoJuego estado;
    try {
        estado = juego_.leerEstado();
        nombres_ = juego_.empresasActivas();
        if (juego_.equipoDePractica()) {
            alumno_ = juego_.empresaDePractica();
            if (!alumno_) {
                mostrarMensaje(this, QStringLiteral("Su empresa quebró: en esta práctica ya no tiene decisiones que cargar."));
                QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
                return;
            }
        }
    } catch (const std::exception& e) {
        mostrarError(this, e);
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    marca_ = estado.marca;
    const TRegDatosIniciales& datos = estado.datos;
    cantEquipos_ = datos.cantEquipos;
    if (cantEquipos_ == 0) {
        mostrarMensaje(this, QStringLiteral("No quedan más equipos: todos han quebrado."));
        // Closed once the caller has finished opening it.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    periodoActual_ = datos.periodoActual;
    campos_->mostrarBancos(aQString(aTexto(datos.nombreBancoA)), aQString(aTexto(datos.nombreBancoB)));
    Label2->setText(QString::number(datos.nroZona));
    Label5->setText(QString::number(periodoActual_));
    decisionesEquipos_.assign(cantEquipos_, TRegDecision{});
    computadora_.assign(cantEquipos_, false);
    if (alumno_) {
        // The student sees nothing of the computer's companies: the
        // computer decides for them when the student's decisions are stored.
        for (std::size_t i = 0; i < computadora_.size(); ++i) computadora_[i] = static_cast<int>(i) + 1 != *alumno_;
        for (QPushButton* b : {btnCargarDatosTodas, btnRevisar}) b->hide();
    } else {
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
    }
    // Stored for every company (a step back brings them): they open as stored.
    if (estado.decisionesGuardadas >= cantEquipos_) traer(decisionesGuardadas(juego_, equipos()));
    actualizarMarcasPortal();
    mostrarSinFallar(primerEquipo());
}

void TFDeciciones::mostrarEquipo(uint8_t t) {
    // The name comes first: when it cannot be read, nothing on show changes.
    if (t < 1 || t > nombres_.size())
        throw ErrorArchivo(juego_.carpeta().ruta(kArchivoResultados), "lectura más allá del fin del archivo");
    equipoActual_ = t;
    Label6->setText(aQString(nombres_[t - 1u]));
    ajustarNombre();
    lbNroEquipo->setText(alumno_ ? QString() : QStringLiteral("%1/%2").arg(t).arg(cantEquipos_));
    const bool enviado = t <= enviadosPortal_.size() && enviadosPortal_[t - 1u];
    lblPortal->setText(enviado ? QStringLiteral("✔ Envió sus decisiones por el portal") : QString());
    lblComputadora->setText(t <= computadora_.size() && computadora_[t - 1u] ? QStringLiteral("(computadora)")
                                                                              : QString());
    campos_->mostrar(decisionesEquipos_[t - 1]);
    campos_->enfocarPrimero();
    mostrarAvisos();
}

void TFDeciciones::mostrarAvisos() {
    QString texto;
    if (equipoActual_ >= 1 && equipoActual_ <= decisionesEquipos_.size()) {
        // This team's alone: the others' may still be at zeros, which the warnings cannot work with.
        const TRegDecision tecleada = campos_->leerComoEsta(decisionesEquipos_[equipoActual_ - 1u]);
        try {
            const TAvisosEmpresa propios = juego_.avisosDeEmpresa(nombres_[equipoActual_ - 1u], tecleada);
            texto = QStringLiteral("El banco A (%1) todavía le presta u$s %2 y el banco B (%3), u$s %4.")
                        .arg(campos_->bancoA())
                        .arg(std::max<int64_t>(0, propios.credito.bancoA))
                        .arg(campos_->bancoB())
                        .arg(std::max<int64_t>(0, propios.credito.bancoB));
            for (const TAvisoDecision& aviso : propios.avisos)
                texto += QStringLiteral("\n⚠ ") + QString::fromStdString(aviso.texto);
        } catch (const std::exception&) {
            // Only a help while typing: a game that cannot be read says so when the decisions are stored.
            texto.clear();
        }
    }
    if (lblAvisos->text() == texto) return;
    lblAvisos->setText(texto);
    // The screen has a fixed size: it grows only for warnings longer than the fields' column.
    layout()->activate();
    const int falta = lblAvisos->heightForWidth(lblAvisos->width()) - lblAvisos->height();
    if (falta > 0 && lblAvisos->height() > 0) setFixedHeight(height() + falta);
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

bool TFDeciciones::guardarFormulario() {
    // The navigation buttons take no focus, so a value typed and sent on at
    // once never left its field: the fields are checked here as well.
    const std::optional<TRegDecision> r = campos_->leer();
    if (!r) return false;
    guardarEnMemoria(equipoActual_, *r);
    return true;
}

void TFDeciciones::guardarEnMemoria(uint8_t t, const TRegDecision& r) { decisionesEquipos_[t - 1] = r; }

void TFDeciciones::guardarDecisiones() {
    // All or nothing, and only on the game this screen was opened on.
    if (!alumno_) {
        juego_.guardarDecisiones(decisionesEquipos_, &marca_);
        return;
    }
    std::vector<std::optional<TRegDecision>> decisiones(decisionesEquipos_.size());
    decisiones.at(*alumno_ - 1u) = decisionesEquipos_.at(*alumno_ - 1u);
    juego_.guardarDecisionesCompletas(decisiones, &marca_);
}

bool TFDeciciones::eventFilter(QObject* objeto, QEvent* evento) {
    // The label's real width is known once the window is laid out.
    if (objeto == Label6 && evento->type() == QEvent::Resize) ajustarNombre();
    return QWidget::eventFilter(objeto, evento);
}

void TFDeciciones::btnSiguienteClick() {
    if (cantEquipos_ == 0) return;
    try {
        if (!guardarFormulario()) return;
        if (equipoActual_ < ultimoEquipo()) {
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
    if (cantEquipos_ == 0 || equipoActual_ <= primerEquipo()) return;
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

TEquiposDecision TFDeciciones::equipos() const { return {cantEquipos_, nombres_, computadora_}; }

bool TFDeciciones::traer(const TDecisionesTraidas& traidas) {
    for (std::size_t i = 0; i < traidas.decisiones.size() && i < decisionesEquipos_.size(); ++i)
        if (traidas.decisiones[i] && (!alumno_ || static_cast<int>(i) + 1 == *alumno_))
            decisionesEquipos_[i] = *traidas.decisiones[i];
    if (!traidas.falla.isEmpty()) mostrarMensaje(this, traidas.falla);
    return traidas.falla.isEmpty() && !traidas.decisiones.empty();
}

void TFDeciciones::mostrarSinFallar(uint8_t equipo) {
    try {
        mostrarEquipo(equipo);
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
}

void TFDeciciones::mostrarSinGuardar(uint8_t equipo) {
    sinGuardar_ = true;
    mostrarSinFallar(equipo);
}

void TFDeciciones::btnCargarDatosClick() {
    if (cantEquipos_ == 0) return;
    if (traer(decisionGuardada(juego_, equipos(), equipoActual_))) mostrarSinFallar(equipoActual_);
}

void TFDeciciones::btnCargarDatosTodasClick() {
    if (cantEquipos_ == 0) return;
    if (traer(decisionesGuardadas(juego_, equipos()))) mostrarSinFallar(primerEquipo());
}

void TFDeciciones::btnCopiarAnteriorClick() {
    if (cantEquipos_ == 0) return;
    const TDecisionesTraidas traidas = decisionesDelPeriodo(juego_, equipos(), periodoActual_ - 1);
    if (!traer(traidas)) return;
    mostrarSinGuardar(primerEquipo());
    if (!traidas.aviso.isEmpty()) mostrarMensaje(this, traidas.aviso);
}

void TFDeciciones::btnImportarCsvClick() {
    if (cantEquipos_ == 0) return;
    const auto archivo = dialogos().elegirArchivoAbrir(this, QStringLiteral("Importar decisiones"),
                                                       QStringLiteral("Archivos CSV (*.csv);;Todos los archivos (*)"));
    if (archivo && traer(decisionesDeCsv(*archivo, equipos()))) mostrarSinGuardar(primerEquipo());
}

void TFDeciciones::btnCargarPortalClick() {
    if (cantEquipos_ == 0) return;
    const TDecisionesTraidas traidas = decisionesDelPortal(juego_, equipos(), marca_);
    // The marks are read again when the portal could be read at all.
    if (!traidas.decisiones.empty()) actualizarMarcasPortal();
    if (!traer(traidas)) return;
    mostrarSinGuardar(primerEquipo());
    if (!traidas.aviso.isEmpty()) mostrarMensaje(this, traidas.aviso);
}

void TFDeciciones::btnRevisarClick() {
    if (cantEquipos_ == 0) return;
    // Incomplete or out of range, the team's values go to the grid, which marks them.
    guardarEnMemoria(equipoActual_, campos_->leerComoEsta(decisionesEquipos_[equipoActual_ - 1u]));
    QStringList equipos;
    for (std::size_t t = 0; t < decisionesEquipos_.size(); ++t)
        equipos.append(t < nombres_.size() ? nombreMarcado(t) : QString::number(t + 1));
    auto* revision = new TFRevisionDecisiones(
        juego_, this, equipos, {campos_->bancoA(), campos_->bancoB()}, decisionesEquipos_, marca_,
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

QString TFDeciciones::nombreMarcado(std::size_t i) const {
    const QString nombre = aQString(nombres_[i]);
    return i < computadora_.size() && computadora_[i] ? nombre + QStringLiteral(" (computadora)") : nombre;
}
