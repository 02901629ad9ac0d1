#include "ui/UTablas.h"

#include "ui/Formularios.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <utility>

TFTablas::TFTablas(QWidget* padre, TGuardar guardar) : QWidget(padre), guardar_(std::move(guardar)) { FormCreate(); }

void TFTablas::FormCreate() {
    setObjectName(QStringLiteral("FTablas"));
    prepararPantalla(this, QStringLiteral("ADMINISTRACIÓN TABLAS"));

    auto campo = [this](const char* nombre, const QString& porDefecto) {
        auto* c = new QLineEdit(porDefecto, this);
        c->setObjectName(QString::fromLatin1(nombre));
        c->setFixedWidth(100);
        return c;
    };
    Edit1 = campo("Edit1", QStringLiteral("1"));
    Edit2 = campo("Edit2", QStringLiteral("50"));
    Edit3 = campo("Edit3", QStringLiteral("1000"));

    auto* grilla = new QGridLayout;
    grilla->setContentsMargins(20, 16, 20, 16);
    grilla->setHorizontalSpacing(12);
    grilla->setVerticalSpacing(8);
    int fila = 0;
    for (auto [texto, caja] : {std::pair{QStringLiteral("Dividir Nros de la tabla por"), Edit1},
                               std::pair{QStringLiteral("Columna de precios desde"), Edit2},
                               std::pair{QStringLiteral("Intervalos de marketing"), Edit3}}) {
        auto* etiqueta = new QLabel(texto, this);
        etiqueta->setBuddy(caja);
        grilla->addWidget(etiqueta, fila, 0);
        grilla->addWidget(caja, fila, 1);
        ++fila;
    }

    btnGuardar = crearBotonImagen(QStringLiteral("btnGuardar"), QStyle::SP_DialogSaveButton,
                                  QStringLiteral("Guardar los parámetros de la tabla"), this);
    btnCancelar = crearBotonImagen(QStringLiteral("btnCancelar"), QStyle::SP_DialogCancelButton,
                                   QStringLiteral("Cerrar sin guardar"), this);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 0);
    principal->setSpacing(0);
    principal->addLayout(grilla);
    principal->addWidget(crearBandaBotones(this, btnGuardar, btnCancelar));

    connect(btnGuardar, &QPushButton::clicked, this, &TFTablas::btnGuardarClick);
    connect(btnCancelar, &QPushButton::clicked, this, &TFTablas::btnCancelarClick);

    prepararTeclado(this);
    fijarTamano(this);
    centrarSobre(this, nullptr);
}

void TFTablas::btnGuardarClick() {
    try {
        const int32_t columnaPrecios = enteroDe(Edit2->text());
        const int32_t intervaloMarketing = enteroDe(Edit3->text());
        guardar_(columnaPrecios, intervaloMarketing);
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    close();
}

void TFTablas::btnCancelarClick() { close(); }
