#include "ui/UModificarDatos.h"

#include "store/ModificarDatos.h"
#include "ui/Formularios.h"
#include "documentos/TextoQt.h"

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

    // Two columns of label, the bank's name for the rows of one bank, and
    // the box, as on the initial data screen.
    auto* columnas = new QGridLayout;
    for (const TParametro& p : kTablaParametros) cajas_.push_back(caja(this, p.control, p.modificable));
    etiquetasBanco_ = crearEtiquetasBanco(this);
    for (std::size_t i = 0; i < kTablaParametros.size(); ++i) {
        const TParametro& p = kTablaParametros[i];
        const bool izquierda = i < kFilasColumnaIzquierda;
        agregarFilaParametro(columnas, static_cast<int>(izquierda ? i : i - kFilasColumnaIzquierda),
                             izquierda ? 0 : 4, QString::fromUtf8(p.caja), etiquetasBanco_[i], cajas_[i]);
    }
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
    prepararTeclado(this);
    fijarTamano(this);
    centrarSobre(this, padre);
}

void TFModificarDatos::FormCreate() {
    const TEstadoJuego estado = estadoAlAbrir(juego_, this);
    const TRegDatosIniciales& datos = estado.datos;
    marca_ = estado.marca;
    const TTextosDatosIniciales t = textosModificables(datos);
    for (std::size_t i = 0; i < kTablaParametros.size(); ++i) {
        const TParametro& p = kTablaParametros[i];
        cajas_[i]->setText(aQString(t.*p.texto));
        if (etiquetasBanco_[i]) etiquetasBanco_[i]->setText(aQString(p.banco == 'A' ? t.nombreBancoA : t.nombreBancoB));
    }
}

void TFModificarDatos::btnGuardarClick() {
    // Only the editable boxes are read: the stored record supplies the rest.
    TTextosDatosIniciales t;
    for (std::size_t i = 0; i < kTablaParametros.size(); ++i)
        if (kTablaParametros[i].modificable) t.*kTablaParametros[i].texto = textoDe(cajas_[i]);
    try {
        juego_.modificarDatos(t, &marca_);
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    close();
}

void TFModificarDatos::btnCancelarClick() { close(); }
