#include "ui/UDatosIniciales.h"

#include "juego/Juego.h"
#include "store/DatosIniciales.h"
#include "store/ErrorArchivo.h"
#include "ui/Formularios.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"
#include "ui/UEquipos.h"
#include "ui/UPrincipal.h"
#include "ui/UTablas.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

#include <exception>
#include <stdexcept>
#include <utility>

namespace {

// Keeps a box in upper case while the game master types.
class TMayusculas : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& texto, int&) const override {
        texto = texto.toUpper();
        return Acceptable;
    }
};

std::string bytesDe(const TCampoTexto* campo) {
    // A character Windows-1252 cannot hold makes no number either; the text
    // then fails to convert as typed.
    return aCp1252(campo->text()).value_or(campo->text().toStdString());
}

// Bank names are stored in upper case even when the box was never left.
std::string nombreBanco(const TCampoTexto* campo) {
    auto bytes = aCp1252(campo->text().toUpper());
    if (!bytes) throw std::invalid_argument("nombre de banco no representable");
    return *bytes;
}

}  // namespace

TFDatosIniciales::TFDatosIniciales(TJuego& juego, TFPrincipal* principal, TFEquipos* equipos)
    : QWidget(principal), juego_(juego), principal_(principal), equipos_(equipos) {
    FormCreate();
}

void TFDatosIniciales::FormCreate() {
    setObjectName(QStringLiteral("FDatosIniciales"));
    prepararPantalla(this, QStringLiteral("Cargar Datos Iniciales"));
    crearCajas();

    btnAdminTablas = new QPushButton(QStringLiteral("ADMINISTRAR TABLAS"), this);
    btnAdminTablas->setObjectName(QStringLiteral("btnAdminTablas"));
    btnAdminTablas->setToolTip(QStringLiteral("Parámetros de la tabla de demanda"));
    btnAdminTablas->setAutoDefault(false);
    btnAdminTablas->setMinimumWidth(180);
    Label15 = new TEtiquetaDobleClic(QStringLiteral("Label15"), this);

    auto* tablas = new QHBoxLayout;
    tablas->setContentsMargins(16, 4, 16, 12);
    tablas->addStretch(1);
    tablas->addWidget(btnAdminTablas);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 0);
    principal->setSpacing(0);
    principal->addWidget(crearBandaTitulo(QStringLiteral("DATOS INICIALES"), this, Label15));
    principal->addLayout(crearColumnas());
    principal->addLayout(tablas);
    QWidget* banda = crearBotones(principal);

    connect(caja(&TTextosDatosIniciales::nombreBancoA), &TCampoTexto::salida, this, &TFDatosIniciales::Edit1Exit);
    connect(caja(&TTextosDatosIniciales::nombreBancoB), &TCampoTexto::salida, this, &TFDatosIniciales::Edit2Exit);
    // The labels follow the box however its name comes: opened, typed, or
    // kept by the sample while the box was never left.
    for (const char banco : {'A', 'B'}) {
        connect(caja(banco == 'A' ? &TTextosDatosIniciales::nombreBancoA : &TTextosDatosIniciales::nombreBancoB),
                &QLineEdit::textChanged, this, [this, banco] { mostrarBanco(banco); });
        mostrarBanco(banco);
    }
    connect(btnAdminTablas, &QPushButton::clicked, this, &TFDatosIniciales::btnAdminTablasClick);
    connect(Label15, &TEtiquetaDobleClic::dobleClic, this, &TFDatosIniciales::Label15DblClick);
    connect(agregarBotonEjemplo(banda), &QPushButton::clicked, this, &TFDatosIniciales::Label15DblClick);
    connect(btnGuardar, &QPushButton::clicked, this, &TFDatosIniciales::btnGuardarClick);
    connect(btnCancelar, &QPushButton::clicked, this, &TFDatosIniciales::btnCancelarClick);

    prepararTeclado(this);
    fijarTamano(this);
    centrarSobre(this, principal_);
}

void TFDatosIniciales::crearCajas() {
    for (const TParametro& p : kTablaParametros) {
        auto* c = new TCampoTexto(QString::fromLatin1(p.control), this);
        c->setText(aQString(textoPorOmision(p)));
        c->setFixedWidth(130);
        if (esNombre(p)) c->setMaxLength(10);
        cajas_.push_back(c);
    }
    etiquetasBanco_ = crearEtiquetasBanco(this);
}

// Each column: label, the bank's name where the row belongs to a bank, and the box.
QLayout* TFDatosIniciales::crearColumnas() {
    auto* columnas = new QHBoxLayout;
    columnas->setContentsMargins(16, 14, 16, 8);
    columnas->setSpacing(28);
    for (const auto& [desde, hasta] : {std::pair<std::size_t, std::size_t>{0, kFilasColumnaIzquierda},
                                       std::pair<std::size_t, std::size_t>{kFilasColumnaIzquierda, cajas_.size()}}) {
        auto* grilla = new QGridLayout;
        grilla->setHorizontalSpacing(8);
        grilla->setVerticalSpacing(6);
        for (std::size_t i = desde; i < hasta; ++i)
            agregarFilaParametro(grilla, static_cast<int>(i - desde), 0, QString::fromUtf8(kTablaParametros[i].caja),
                                 etiquetasBanco_[i], cajas_[i]);
        grilla->setRowStretch(static_cast<int>(hasta - desde), 1);
        columnas->addLayout(grilla);
    }
    return columnas;
}

QWidget* TFDatosIniciales::crearBotones(QVBoxLayout* principal) {
    btnGuardar = crearBotonImagen(QStringLiteral("btnGuardar"), QStyle::SP_DialogSaveButton,
                                  QStringLiteral("Guardar los datos iniciales"), this);
    btnCancelar = crearBotonImagen(QStringLiteral("btnCancelar"), QStyle::SP_DialogCancelButton,
                                   QStringLiteral("Volver a la lista de equipos"), this);
    QWidget* banda = crearBandaBotones(this, btnGuardar, btnCancelar);
    principal->addWidget(banda);
    return banda;
}

TCampoTexto* TFDatosIniciales::caja(std::string TTextosDatosIniciales::*texto) const {
    return cajas_[static_cast<std::size_t>(parametroDe(texto) - kTablaParametros.data())];
}

void TFDatosIniciales::salidaBanco(char banco) {
    TCampoTexto* nombre = caja(banco == 'A' ? &TTextosDatosIniciales::nombreBancoA : &TTextosDatosIniciales::nombreBancoB);
    nombre->setText(nombre->text().toUpper());
    if (!nombre->validator()) nombre->setValidator(new TMayusculas(nombre));
}

void TFDatosIniciales::mostrarBanco(char banco) {
    const QString nombre =
        caja(banco == 'A' ? &TTextosDatosIniciales::nombreBancoA : &TTextosDatosIniciales::nombreBancoB)->text().toUpper();
    for (std::size_t i = 0; i < kTablaParametros.size(); ++i)
        if (kTablaParametros[i].banco == banco) etiquetasBanco_[i]->setText(nombre);
}

void TFDatosIniciales::Edit1Exit() { salidaBanco('A'); }

void TFDatosIniciales::Edit2Exit() { salidaBanco('B'); }

void TFDatosIniciales::btnAdminTablasClick() {
    // Its figures are read by no calculation and a new game stores them as 0,
    // so during a set-up the screen checks them and writes nothing.
    (new TFTablas(this, [](int32_t, int32_t) {}))->show();
}

void TFDatosIniciales::Label15DblClick() {
    // The sample leaves the bank names, the severance and the penalty alone.
    const TTextosDatosIniciales e = ejemploDatosIniciales();
    for (std::size_t i = 0; i < kTablaParametros.size(); ++i)
        if (kTablaParametros[i].ejemplo) cajas_[i]->setText(aQString(e.*kTablaParametros[i].texto));
}

void TFDatosIniciales::btnGuardarClick() {
    try {
        TTextosDatosIniciales textos;
        for (std::size_t i = 0; i < kTablaParametros.size(); ++i) {
            const TParametro& p = kTablaParametros[i];
            textos.*p.texto = esNombre(p) ? nombreBanco(cajas_[i]) : bytesDe(cajas_[i]);
        }
        juego_.crearJuego(equipos_ ? equipos_->nombresEquipos() : std::vector<std::string>{}, textos,
                          equipos_ ? equipos_->computadora() : TComputadora{});
    } catch (const ErrorParametro& e) {
        // A number out of range names its box, so the game master knows what to fix.
        dialogos().mensaje(this, QStringLiteral("Error"), QString::fromUtf8(e.what()),
                           ServicioDialogos::Icono::advertencia, ServicioDialogos::Botones::ok);
        return;
    } catch (const ErrorJuego& e) {
        mostrarError(this, e);
        return;
    } catch (const ErrorArchivo& e) {
        mostrarError(this, e);
        return;
    } catch (const std::exception&) {
        dialogos().mensaje(this, QStringLiteral("Error"),
                           QStringLiteral("Ud. ha colocado un valor incorrecto o no completó todos los datos. "
                                          "Verifique y vuelva a intentarlo."),
                           ServicioDialogos::Icono::advertencia, ServicioDialogos::Botones::ok);
        return;
    }
    close();
    if (principal_) principal_->mostrarJuego();
}

void TFDatosIniciales::btnCancelarClick() {
    volverAEquipos_ = true;
    close();
}

void TFDatosIniciales::closeEvent(QCloseEvent* evento) {
    // Only the cancel button goes back to the list. After a save, or when
    // the window is closed by its close control, the hidden teams screen
    // has nothing left to do and is discarded too.
    if (equipos_) {
        if (volverAEquipos_)
            equipos_->show();
        else
            equipos_->close();
    }
    QWidget::closeEvent(evento);
}
