#include "ui/UDatosIniciales.h"

#include "juego/Juego.h"
#include "store/DatosIniciales.h"
#include "store/ErrorArchivo.h"
#include "ui/Formularios.h"
#include "ui/ServicioDialogos.h"
#include "ui/TextoQt.h"
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

    auto campo = [this](const char* nombre, const QString& porDefecto = QString()) {
        auto* c = new TCampoTexto(QString::fromLatin1(nombre), this);
        c->setText(porDefecto);
        c->setFixedWidth(130);
        return c;
    };
    Edit1 = campo("Edit1", QStringLiteral("NACION"));
    Edit2 = campo("Edit2", QStringLiteral("PROVINCIA"));
    Edit1->setMaxLength(10);
    Edit2->setMaxLength(10);
    Edit3 = campo("Edit3");
    Edit4 = campo("Edit4");
    Edit5 = campo("Edit5");
    Edit6 = campo("Edit6");
    Edit7 = campo("Edit7");
    Edit8 = campo("Edit8");
    Edit9 = campo("Edit9");
    Edit10 = campo("Edit10");
    Edit11 = campo("Edit11");
    Edit12 = campo("Edit12");
    Edit13 = campo("Edit13");
    Edit14 = campo("Edit14");
    Edit15 = campo("Edit15");
    Edit16 = campo("Edit16");
    Edit17 = campo("Edit17");
    edMaxGiroDescub = campo("edMaxGiroDescub");
    edNroZona = campo("edNroZona", QStringLiteral("1"));
    edIndemXEmp = campo("edIndemXEmp", QStringLiteral("300"));
    edPenalidad = campo("edPenalidad", QStringLiteral("500"));

    auto banco = [this](const char* nombre) { return crearEtiquetaBanco(nombre, this); };
    lblBancoA1 = banco("lblBancoA1");
    lblBancoB1 = banco("lblBancoB1");
    lblBancoA2 = banco("lblBancoA2");
    lblBancoB2 = banco("lblBancoB2");

    // Each column: label, the bank's name where the row belongs to a bank,
    // and the box.
    auto columna = [this](std::initializer_list<std::tuple<QString, QLabel*, TCampoTexto*>> filas) {
        auto* grilla = new QGridLayout;
        grilla->setHorizontalSpacing(8);
        grilla->setVerticalSpacing(6);
        int fila = 0;
        for (const auto& [texto, bancoFila, caja] : filas) agregarFilaParametro(grilla, fila++, 0, texto, bancoFila, caja);
        grilla->setRowStretch(fila, 1);
        return grilla;
    };
    QGridLayout* izquierda = columna({
        {QStringLiteral("NOMBRE BANCO A"), nullptr, Edit1},
        {QStringLiteral("NOMBRE BANCO B"), nullptr, Edit2},
        {QStringLiteral("PLANTA"), nullptr, Edit3},
        {QStringLiteral("CAPITAL"), nullptr, Edit4},
        {QStringLiteral("MAX.CREDITO"), lblBancoA1, Edit5},
        {QStringLiteral("MAX.CREDITO"), lblBancoB1, Edit6},
        {QStringLiteral("MANTENIMIENTO(%)"), nullptr, Edit7},
        {QStringLiteral("IMPUESTOS(%)"), nullptr, Edit8},
        {QStringLiteral("INTERESES(%)"), lblBancoA2, Edit9},
        {QStringLiteral("INTERESES(%)"), lblBancoB2, Edit10},
    });
    QGridLayout* derecha = columna({
        {QStringLiteral("TASA DE PROD(%)"), nullptr, Edit11},
        {QStringLiteral("GIRO EN DESC(%)"), nullptr, Edit12},
        {QStringLiteral("PENALIDADES(STOCK)"), nullptr, Edit13},
        {QStringLiteral("MULTIP. ORDENES +"), nullptr, Edit14},
        {QStringLiteral("MULTIP. ORDENES -"), nullptr, Edit15},
        {QStringLiteral("NRO INV Y DES"), nullptr, Edit16},
        {QStringLiteral("MODIF. ORD (%)"), nullptr, Edit17},
        {QStringLiteral("LÍMITE MAX. GIRO EN DESC."), nullptr, edMaxGiroDescub},
        {QStringLiteral("NRO. ZONA"), nullptr, edNroZona},
        {QStringLiteral("INDEMNIZACION  X EMPLEADO"), nullptr, edIndemXEmp},
        {QStringLiteral("PENALIDAD"), nullptr, edPenalidad},
    });

    btnAdminTablas = new QPushButton(QStringLiteral("ADMINISTRAR TABLAS"), this);
    btnAdminTablas->setObjectName(QStringLiteral("btnAdminTablas"));
    btnAdminTablas->setToolTip(QStringLiteral("Parámetros de la tabla de demanda"));
    btnAdminTablas->setAutoDefault(false);
    btnAdminTablas->setMinimumWidth(180);

    Label15 = new TEtiquetaDobleClic(QStringLiteral("Label15"), this);
    btnGuardar = crearBotonImagen(QStringLiteral("btnGuardar"), QStyle::SP_DialogSaveButton,
                                  QStringLiteral("Guardar los datos iniciales"), this);
    btnCancelar = crearBotonImagen(QStringLiteral("btnCancelar"), QStyle::SP_DialogCancelButton,
                                   QStringLiteral("Volver a la lista de equipos"), this);

    auto* columnas = new QHBoxLayout;
    columnas->setContentsMargins(16, 14, 16, 8);
    columnas->setSpacing(28);
    columnas->addLayout(izquierda);
    columnas->addLayout(derecha);

    auto* tablas = new QHBoxLayout;
    tablas->setContentsMargins(16, 4, 16, 12);
    tablas->addStretch(1);
    tablas->addWidget(btnAdminTablas);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 0);
    principal->setSpacing(0);
    principal->addWidget(crearBandaTitulo(QStringLiteral("DATOS INICIALES"), this, Label15));
    principal->addLayout(columnas);
    principal->addLayout(tablas);
    QWidget* banda = crearBandaBotones(this, btnGuardar, btnCancelar);
    principal->addWidget(banda);
    connect(agregarBotonEjemplo(banda), &QPushButton::clicked, this, &TFDatosIniciales::Label15DblClick);

    connect(Edit1, &TCampoTexto::salida, this, &TFDatosIniciales::Edit1Exit);
    connect(Edit2, &TCampoTexto::salida, this, &TFDatosIniciales::Edit2Exit);
    connect(btnAdminTablas, &QPushButton::clicked, this, &TFDatosIniciales::btnAdminTablasClick);
    connect(Label15, &TEtiquetaDobleClic::dobleClic, this, &TFDatosIniciales::Label15DblClick);
    connect(btnGuardar, &QPushButton::clicked, this, &TFDatosIniciales::btnGuardarClick);
    connect(btnCancelar, &QPushButton::clicked, this, &TFDatosIniciales::btnCancelarClick);

    fijarTamano(this);
    centrarSobre(this, principal_);
}

void TFDatosIniciales::salidaBanco(TCampoTexto* banco, QLabel* etiqueta1, QLabel* etiqueta2) {
    banco->setText(banco->text().toUpper());
    if (!banco->validator()) banco->setValidator(new TMayusculas(banco));
    etiqueta1->setText(banco->text());
    etiqueta2->setText(banco->text());
}

void TFDatosIniciales::Edit1Exit() { salidaBanco(Edit1, lblBancoA1, lblBancoA2); }

void TFDatosIniciales::Edit2Exit() { salidaBanco(Edit2, lblBancoB1, lblBancoB2); }

void TFDatosIniciales::btnAdminTablasClick() { (new TFTablas(juego_, this))->show(); }

void TFDatosIniciales::Label15DblClick() {
    // The sample leaves the bank names, the severance and the penalty alone.
    const TTextosDatosIniciales e = ejemploDatosIniciales();
    const std::pair<QLineEdit*, const std::string*> cajas[] = {
        {Edit3, &e.planta},         {Edit4, &e.capital},          {Edit5, &e.maxCreditoA},
        {Edit6, &e.maxCreditoB},    {Edit7, &e.mantenimiento},    {Edit8, &e.impuestos},
        {Edit9, &e.interesA},       {Edit10, &e.interesB},        {Edit11, &e.tasaProduccion},
        {Edit12, &e.giroDescubierto}, {Edit13, &e.penalidadStock}, {Edit14, &e.multipOrdenesMas},
        {Edit15, &e.multipOrdenesMenos}, {Edit16, &e.nroInvYDes}, {Edit17, &e.modifOrdenes},
        {edMaxGiroDescub, &e.limiteGiroDescubierto}, {edNroZona, &e.nroZona}};
    for (const auto& [caja, texto] : cajas) caja->setText(aQString(*texto));
}

void TFDatosIniciales::btnGuardarClick() {
    try {
        TTextosDatosIniciales textos;
        textos.nombreBancoA = nombreBanco(Edit1);
        textos.nombreBancoB = nombreBanco(Edit2);
        textos.planta = bytesDe(Edit3);
        textos.capital = bytesDe(Edit4);
        textos.maxCreditoA = bytesDe(Edit5);
        textos.maxCreditoB = bytesDe(Edit6);
        textos.mantenimiento = bytesDe(Edit7);
        textos.impuestos = bytesDe(Edit8);
        textos.interesA = bytesDe(Edit9);
        textos.interesB = bytesDe(Edit10);
        textos.tasaProduccion = bytesDe(Edit11);
        textos.giroDescubierto = bytesDe(Edit12);
        textos.penalidadStock = bytesDe(Edit13);
        textos.multipOrdenesMas = bytesDe(Edit14);
        textos.multipOrdenesMenos = bytesDe(Edit15);
        textos.nroInvYDes = bytesDe(Edit16);
        textos.modifOrdenes = bytesDe(Edit17);
        textos.limiteGiroDescubierto = bytesDe(edMaxGiroDescub);
        textos.nroZona = bytesDe(edNroZona);
        textos.indemXEmpleado = bytesDe(edIndemXEmp);
        textos.penalidad = bytesDe(edPenalidad);
        juego_.crearJuego(equipos_ ? equipos_->nombresEquipos() : std::vector<std::string>{}, textos,
                          equipos_ ? equipos_->computadora() : TComputadora{});
    } catch (const ErrorParametro& e) {
        // A number out of range names its box, so the game master knows what to fix.
        dialogos().mensaje(this, QStringLiteral("ERROR!!!!"), QString::fromUtf8(e.what()),
                           ServicioDialogos::Icono::advertencia, ServicioDialogos::Botones::ok);
        return;
    } catch (const ErrorJuego& e) {
        mostrarError(this, e);
        return;
    } catch (const ErrorArchivo& e) {
        mostrarError(this, e);
        return;
    } catch (const std::exception&) {
        dialogos().mensaje(this, QStringLiteral("ERROR!!!!"),
                           QStringLiteral("Ud ha colocado un valor incorrecto o no completó todos los datos. "
                                          "Verifique y vuelva a intentar"),
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
