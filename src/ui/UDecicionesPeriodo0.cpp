#include "ui/UDecicionesPeriodo0.h"

#include "engine/UDecicionesPeriodo0.h"
#include "ui/CamposDecision.h"
#include "ui/Formularios.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"
#include "ui/UPrincipal.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <optional>
#include <string>

TFDecicionesPeriodo0::TFDecicionesPeriodo0(TJuego& juego, QWidget* padre) : QWidget(padre), juego_(juego) { FormCreate(); }

void TFDecicionesPeriodo0::FormCreate() {
    setObjectName(QStringLiteral("FDecicionesPeriodo0"));
    prepararPantalla(this, QStringLiteral("Decisiones del período 0"));
    campos_ = new TCamposDecision(TCamposDecision::Uso::periodo0, this);

    Label1 = new TEtiquetaDobleClic(QStringLiteral("Label1"), this);
    btnGuardar = crearBotonImagen(QStringLiteral("btnGuardar"), QStyle::SP_DialogSaveButton,
                                  QStringLiteral("Guardar y ejecutar el período 0"), this);
    btnCancelar = crearBotonImagen(QStringLiteral("btnCancelar"), QStyle::SP_DialogCancelButton,
                                   QStringLiteral("Cerrar sin ejecutar"), this);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 0);
    principal->setSpacing(0);
    principal->addWidget(crearBandaTitulo(QStringLiteral("DECISIONES PERÍODO 0"), this, Label1));
    principal->addWidget(campos_);
    QWidget* banda = crearBandaBotones(this, btnGuardar, btnCancelar);
    principal->addWidget(banda);
    connect(agregarBotonEjemplo(banda), &QPushButton::clicked, this, &TFDecicionesPeriodo0::Label1DblClick);
    connect(campos_, &TCamposDecision::despuesDelUltimo, this, [this] { btnGuardar->setFocus(Qt::TabFocusReason); });

    connect(Label1, &TEtiquetaDobleClic::dobleClic, this, &TFDecicionesPeriodo0::Label1DblClick);
    connect(btnGuardar, &QPushButton::clicked, this, &TFDecicionesPeriodo0::btnGuardarClick);
    connect(btnCancelar, &QPushButton::clicked, this, &TFDecicionesPeriodo0::btnCancelarClick);

    const TEstadoJuego estado = estadoAlAbrir(juego_, this);
    marca_ = estado.marca;
    campos_->mostrarBancos(aQString(aTexto(estado.datos.nombreBancoA)), aQString(aTexto(estado.datos.nombreBancoB)));

    prepararTeclado(this);
    fijarTamano(this);
    centrarSobre(this, parentWidget());
}

void TFDecicionesPeriodo0::Label1DblClick() {
    // The repayment fields are closed: they keep their contents.
    const TDecisionesPeriodo0 e = ejemploPeriodo0();
    campos_->mostrar(TRegDecision{e.precio, e.nivelProduccion, e.capacitacion, e.marketing, e.invYDes, e.invPlanta,
                                  e.pedPrestamoA, e.pedPrestamoB, e.devPrestamoA, e.devPrestamoB});
}

void TFDecicionesPeriodo0::btnGuardarClick() {
    const std::optional<TRegDecision> r = campos_->leer();
    if (!r) return;
    const TDecisionesPeriodo0 decisiones =
        decisionesPeriodo0(*r, aCp1252(campos_->bancoA()).value_or(std::string()),
                           aCp1252(campos_->bancoB()).value_or(std::string()));
    try {
        juego_.correrPeriodo0(decisiones, &marca_);
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    close();
    // The engine opens no folder after period 0; the window shows the results.
    if (auto* principal = qobject_cast<TFPrincipal*>(parentWidget())) principal->periodoSimulado(0);
}

void TFDecicionesPeriodo0::btnCancelarClick() { close(); }
