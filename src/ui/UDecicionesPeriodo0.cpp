#include "ui/UDecicionesPeriodo0.h"

#include "engine/UDecicionesPeriodo0.h"
#include "engine/ValidarDecision.h"
#include "ui/Formularios.h"
#include "ui/MensajesDecision.h"
#include "ui/ServicioDialogos.h"
#include "ui/TextoQt.h"
#include "ui/UPrincipal.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QWindow>

#include <exception>
#include <utility>

namespace {

// The production levels of the list, in order.
constexpr int32_t nivelesProduccion[] = {0, 25, 50, 75, 100};

}  // namespace

TFDecicionesPeriodo0::TFDecicionesPeriodo0(TJuego& juego, QWidget* padre) : QWidget(padre), juego_(juego) { FormCreate(); }

void TFDecicionesPeriodo0::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    // The widget's own title stays empty; only its window gets a blank.
    if (QWindow* ventana = windowHandle(); ventana && windowTitle().isEmpty()) ventana->setTitle(QStringLiteral(" "));
}

void TFDecicionesPeriodo0::FormCreate() {
    setObjectName(QStringLiteral("FDecicionesPeriodo0"));
    prepararPantalla(this, QString());

    auto campo = [this](const char* nombre) {
        auto* c = new QLineEdit(this);
        c->setObjectName(QString::fromLatin1(nombre));
        c->setFixedWidth(120);
        return c;
    };
    edPrecio = campo("edPrecio");
    Edit2 = campo("Edit2");
    Edit3 = campo("Edit3");
    Edit4 = campo("Edit4");
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    for (int32_t nivel : nivelesProduccion) ComboBox1->addItem(QString::number(nivel));
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setFixedWidth(120);
    Edit6 = campo("Edit6");
    Edit7 = campo("Edit7");
    Edit8 = campo("Edit8");
    Edit9 = campo("Edit9");
    Edit10 = campo("Edit10");
    Edit9->setText(QStringLiteral("0"));
    Edit10->setText(QStringLiteral("0"));
    Edit9->setEnabled(false);
    Edit10->setEnabled(false);

    auto banco = [this](const char* nombre) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(nombre));
        l->setMinimumWidth(90);
        QFont letra = l->font();
        letra.setBold(true);
        l->setFont(letra);
        return l;
    };
    Label17 = banco("Label17");
    Label18 = banco("Label18");
    Label19 = banco("Label19");
    Label20 = banco("Label20");

    auto* grilla = new QGridLayout;
    grilla->setContentsMargins(20, 14, 20, 14);
    grilla->setHorizontalSpacing(12);
    grilla->setVerticalSpacing(6);
    int fila = 0;
    auto agregar = [&](const QString& texto, QWidget* control, QLabel* bancoFila = nullptr) {
        agregarFila(grilla, fila, texto, control, bancoFila);
    };
    agregar(QStringLiteral("PRECIO"), edPrecio);
    agregar(QStringLiteral("MARKETING"), Edit2);
    agregar(QStringLiteral("INV.Y DES."), Edit3);
    agregar(QStringLiteral("CAPACITACION"), Edit4);
    agregar(QStringLiteral("N. DE PROD(%)"), ComboBox1);
    agregar(QStringLiteral("INV. EN PLANTA"), Edit6);
    agregar(QStringLiteral("PED.PRESTAMO"), Edit7, Label17);
    agregar(QStringLiteral("PED.PRESTAMO"), Edit8, Label18);
    agregar(QStringLiteral("DEV.PRESTAMO"), Edit9, Label19);
    agregar(QStringLiteral("DEV.PRESTAMO"), Edit10, Label20);
    grilla->setColumnStretch(2, 1);

    Label1 = new TEtiquetaDobleClic(QStringLiteral("Label1"), this);
    btnGuardar = crearBotonImagen(QStringLiteral("btnGuardar"), QStyle::SP_DialogSaveButton,
                                  QStringLiteral("Guardar y ejecutar el período 0"), this);
    btnCancelar = crearBotonImagen(QStringLiteral("btnCancelar"), QStyle::SP_DialogCancelButton,
                                   QStringLiteral("Cerrar sin ejecutar"), this);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 0);
    principal->setSpacing(0);
    principal->addWidget(crearBandaTitulo(QStringLiteral("DECISIONES PERIODO 0"), this, Label1));
    principal->addLayout(grilla);
    QWidget* banda = crearBandaBotones(this, btnGuardar, btnCancelar);
    principal->addWidget(banda);
    connect(agregarBotonEjemplo(banda), &QPushButton::clicked, this, &TFDecicionesPeriodo0::Label1DblClick);
    avanzarConEnter(this, {edPrecio, Edit2, Edit3, Edit4, ComboBox1, Edit6, Edit7, Edit8, Edit9, Edit10}, btnGuardar);

    connect(Label1, &TEtiquetaDobleClic::dobleClic, this, &TFDecicionesPeriodo0::Label1DblClick);
    connect(btnGuardar, &QPushButton::clicked, this, &TFDecicionesPeriodo0::btnGuardarClick);
    connect(btnCancelar, &QPushButton::clicked, this, &TFDecicionesPeriodo0::btnCancelarClick);

    const TEstadoJuego estado = estadoAlAbrir(juego_, this);
    const TRegDatosIniciales& datos = estado.datos;
    marca_ = estado.marca;
    const QString bancoA = aQString(aTexto(datos.nombreBancoA));
    const QString bancoB = aQString(aTexto(datos.nombreBancoB));
    Label17->setText(bancoA);
    Label19->setText(bancoA);
    Label18->setText(bancoB);
    Label20->setText(bancoB);

    fijarTamano(this);
    centrarSobre(this, parentWidget());
}

void TFDecicionesPeriodo0::Label1DblClick() {
    // The repayment boxes keep their contents.
    const TDecisionesPeriodo0 e = ejemploPeriodo0();
    edPrecio->setText(QString::number(e.precio));
    Edit2->setText(QString::number(e.marketing));
    Edit3->setText(QString::number(e.invYDes));
    Edit4->setText(QString::number(e.capacitacion));
    ComboBox1->setCurrentIndex(ComboBox1->findText(QString::number(e.nivelProduccion)));
    Edit6->setText(QString::number(e.invPlanta));
    Edit7->setText(QString::number(e.pedPrestamoA));
    Edit8->setText(QString::number(e.pedPrestamoB));
}

bool TFDecicionesPeriodo0::comprobarRangos(const TDecisionesPeriodo0& d) {
    const TRegDecision r{d.precio,    d.nivelProduccion, d.capacitacion, d.marketing,    d.invYDes,
                         d.invPlanta, d.pedPrestamoA,    d.pedPrestamoB, d.devPrestamoA, d.devPrestamoB};
    const std::pair<int32_t TRegDecision::*, QLineEdit*> campos[] = {
        {&TRegDecision::precio, edPrecio},    {&TRegDecision::marketing, Edit2},
        {&TRegDecision::invYDes, Edit3},      {&TRegDecision::capacitacion, Edit4},
        {&TRegDecision::invPlanta, Edit6},    {&TRegDecision::pedPrestamoA, Edit7},
        {&TRegDecision::pedPrestamoB, Edit8}, {&TRegDecision::devPrestamoA, Edit9},
        {&TRegDecision::devPrestamoB, Edit10}};
    for (const TRangoDecision& rango : rangosDecision()) {
        if (enRango(rango, r.*(rango.campo))) continue;
        mostrarMensaje(this, mensajeRango(rango));
        for (const auto& [campo, edit] : campos)
            if (campo == rango.campo) edit->setFocus();
        return false;
    }
    return true;
}

void TFDecicionesPeriodo0::btnGuardarClick() {
    TDecisionesPeriodo0 decisiones;
    try {
        decisiones.precio = enteroDe(edPrecio->text());
        decisiones.marketing = enteroDe(Edit2->text());
        decisiones.invYDes = enteroDe(Edit3->text());
        decisiones.capacitacion = enteroDe(Edit4->text());
        const int item = ComboBox1->currentIndex();
        decisiones.nivelProduccion = item >= 0 ? nivelesProduccion[item] : 0;
        decisiones.invPlanta = enteroDe(Edit6->text());
        decisiones.pedPrestamoA = enteroDe(Edit7->text());
        decisiones.pedPrestamoB = enteroDe(Edit8->text());
        decisiones.devPrestamoA = enteroDe(Edit9->text());
        decisiones.devPrestamoB = enteroDe(Edit10->text());
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    if (!comprobarRangos(decisiones)) return;
    decisiones.nombreBancoA = aCp1252(Label17->text()).value_or(std::string());
    decisiones.nombreBancoB = aCp1252(Label18->text()).value_or(std::string());
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
