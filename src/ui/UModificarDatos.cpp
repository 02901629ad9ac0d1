#include "ui/UModificarDatos.h"

#include "store/ModificarDatos.h"
#include "ui/Formularios.h"
#include "ui/TextoQt.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <exception>

namespace {

QLineEdit* caja(QWidget* padre, const char* nombre, bool editable) {
    auto* edit = new QLineEdit(padre);
    edit->setObjectName(QString::fromLatin1(nombre));
    edit->setEnabled(editable);
    return edit;
}

std::string textoDe(const QLineEdit* edit) {
    // A character that Windows-1252 cannot hold makes no number either; the
    // conversion then fails on the text as typed.
    return aCp1252(edit->text()).value_or(edit->text().toStdString());
}

}  // namespace

TFModificarDatos::TFModificarDatos(TJuego& juego, QWidget* padre)
    // Minimize and close controls; the size is fixed, so no maximize.
    : QWidget(padre, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint), juego_(juego) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Modificar Datos"));
    setObjectName(QStringLiteral("FModificarDatos"));

    QWidget* titulo = crearBandaTitulo(QStringLiteral("MODIFICAR DATOS"), this);

    Edit1 = caja(this, "Edit1", false);
    Edit2 = caja(this, "Edit2", false);
    Edit3 = caja(this, "Edit3", false);
    Edit4 = caja(this, "Edit4", false);
    Edit5 = caja(this, "Edit5", true);
    Edit6 = caja(this, "Edit6", true);
    Edit7 = caja(this, "Edit7", true);
    Edit8 = caja(this, "Edit8", true);
    Edit9 = caja(this, "Edit9", true);
    Edit10 = caja(this, "Edit10", true);
    Edit11 = caja(this, "Edit11", false);
    Edit12 = caja(this, "Edit12", true);
    Edit13 = caja(this, "Edit13", true);
    Edit14 = caja(this, "Edit14", true);
    Edit15 = caja(this, "Edit15", true);
    Edit16 = caja(this, "Edit16", true);
    Edit17 = caja(this, "Edit17", true);
    edMaxGiroDescub = caja(this, "edMaxGiroDescub", true);
    edNroZona = caja(this, "edNroZona", false);
    edIndemXEmp = caja(this, "edIndemXEmp", true);
    edPenalidad = caja(this, "edPenalidad", true);
    lblBancoA1 = crearEtiquetaBanco("lblBancoA1", this);
    lblBancoB1 = crearEtiquetaBanco("lblBancoB1", this);
    lblBancoA2 = crearEtiquetaBanco("lblBancoA2", this);
    lblBancoB2 = crearEtiquetaBanco("lblBancoB2", this);

    // Two columns of label, box and, for the bank rows, the bank's name.
    auto* columnas = new QGridLayout;
    // As on the initial data screen: label, the bank's name, then the box.
    auto fila = [&](int columna, int linea, const QString& texto, QLineEdit* edit, QLabel* banco = nullptr) {
        agregarFilaParametro(columnas, linea, columna * 4, texto, banco, edit);
    };
    fila(0, 0, QStringLiteral("NOMBRE BANCO A"), Edit1);
    fila(0, 1, QStringLiteral("NOMBRE BANCO B"), Edit2);
    fila(0, 2, QStringLiteral("PLANTA"), Edit3);
    fila(0, 3, QStringLiteral("CAPITAL"), Edit4);
    fila(0, 4, QStringLiteral("MAX.CREDITO"), Edit5, lblBancoA1);
    fila(0, 5, QStringLiteral("MAX.CREDITO"), Edit6, lblBancoB1);
    fila(0, 6, QStringLiteral("MANTENIMIENTO(%)"), Edit7);
    fila(0, 7, QStringLiteral("IMPUESTOS(%)"), Edit8);
    fila(0, 8, QStringLiteral("INTERESES(%)"), Edit9, lblBancoA2);
    fila(0, 9, QStringLiteral("INTERESES(%)"), Edit10, lblBancoB2);
    fila(1, 0, QStringLiteral("TASA DE PROD(%)"), Edit11);
    fila(1, 1, QStringLiteral("GIRO EN DESC(%)"), Edit12);
    fila(1, 2, QStringLiteral("PENALIDADES(STOCK)"), Edit13);
    fila(1, 3, QStringLiteral("MULTIP. ORDENES +"), Edit14);
    fila(1, 4, QStringLiteral("MULTIP. ORDENES -"), Edit15);
    fila(1, 5, QStringLiteral("NRO INV Y DES"), Edit16);
    fila(1, 6, QStringLiteral("MODIF. ORD (%)"), Edit17);
    fila(1, 7, QStringLiteral("LÍMITE MAX. GIRO EN DESC."), edMaxGiroDescub);
    fila(1, 8, QStringLiteral("NRO. ZONA"), edNroZona);
    fila(1, 9, QStringLiteral("INDEMNIZACION  X EMPLEADO"), edIndemXEmp);
    fila(1, 10, QStringLiteral("PENALIDAD"), edPenalidad);
    columnas->setColumnMinimumWidth(3, 24);  // the gap between the two columns

    btnGuardar = crearBotonImagen(QStringLiteral("btnGuardar"), QStyle::SP_DialogSaveButton, QStringLiteral("Guardar"),
                                  this);
    btnCancelar = crearBotonImagen(QStringLiteral("btnCancelar"), QStyle::SP_DialogCancelButton,
                                   QStringLiteral("Cancelar"), this);
    connect(btnGuardar, &QPushButton::clicked, this, &TFModificarDatos::btnGuardarClick);
    connect(btnCancelar, &QPushButton::clicked, this, &TFModificarDatos::btnCancelarClick);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 0);
    principal->addWidget(titulo);
    auto* cuerpo = new QVBoxLayout;
    cuerpo->setContentsMargins(12, 12, 12, 12);
    cuerpo->addLayout(columnas);
    principal->addLayout(cuerpo);
    principal->addWidget(crearBandaBotones(this, btnGuardar, btnCancelar));

    FormCreate();
    fijarTamano(this);
    centrarSobre(this, padre);
}

void TFModificarDatos::FormCreate() {
    const TEstadoJuego estado = estadoAlAbrir(juego_, this);
    const TRegDatosIniciales& datos = estado.datos;
    marca_ = estado.marca;
    const TTextosDatosIniciales t = textosModificables(datos);
    Edit1->setText(aQString(t.nombreBancoA));
    Edit2->setText(aQString(t.nombreBancoB));
    Edit3->setText(aQString(t.planta));
    Edit4->setText(aQString(t.capital));
    Edit5->setText(aQString(t.maxCreditoA));
    Edit6->setText(aQString(t.maxCreditoB));
    Edit7->setText(aQString(t.mantenimiento));
    Edit8->setText(aQString(t.impuestos));
    Edit9->setText(aQString(t.interesA));
    Edit10->setText(aQString(t.interesB));
    Edit11->setText(aQString(t.tasaProduccion));
    Edit12->setText(aQString(t.giroDescubierto));
    Edit13->setText(aQString(t.penalidadStock));
    Edit14->setText(aQString(t.multipOrdenesMas));
    Edit15->setText(aQString(t.multipOrdenesMenos));
    Edit16->setText(aQString(t.nroInvYDes));
    Edit17->setText(aQString(t.modifOrdenes));
    edMaxGiroDescub->setText(aQString(t.limiteGiroDescubierto));
    edNroZona->setText(aQString(t.nroZona));
    edIndemXEmp->setText(aQString(t.indemXEmpleado));
    edPenalidad->setText(aQString(t.penalidad));
    lblBancoA1->setText(aQString(t.nombreBancoA));
    lblBancoA2->setText(aQString(t.nombreBancoA));
    lblBancoB1->setText(aQString(t.nombreBancoB));
    lblBancoB2->setText(aQString(t.nombreBancoB));
}

void TFModificarDatos::btnGuardarClick() {
    // Only the editable boxes are read: the stored record supplies the rest.
    TTextosDatosIniciales t;
    t.maxCreditoA = textoDe(Edit5);
    t.maxCreditoB = textoDe(Edit6);
    t.mantenimiento = textoDe(Edit7);
    t.impuestos = textoDe(Edit8);
    t.interesA = textoDe(Edit9);
    t.interesB = textoDe(Edit10);
    t.giroDescubierto = textoDe(Edit12);
    t.penalidadStock = textoDe(Edit13);
    t.multipOrdenesMas = textoDe(Edit14);
    t.multipOrdenesMenos = textoDe(Edit15);
    t.nroInvYDes = textoDe(Edit16);
    t.modifOrdenes = textoDe(Edit17);
    t.limiteGiroDescubierto = textoDe(edMaxGiroDescub);
    t.indemXEmpleado = textoDe(edIndemXEmp);
    t.penalidad = textoDe(edPenalidad);
    try {
        juego_.modificarDatos(t, &marca_);
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    close();
}

void TFModificarDatos::btnCancelarClick() { close(); }
