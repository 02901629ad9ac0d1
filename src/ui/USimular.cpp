#include "ui/USimular.h"

#include "ui/Formularios.h"
#include "ui/UPrincipal.h"

#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <exception>

TFSimular::TFSimular(TJuego& juego, QWidget* padre, std::optional<TMarca> marca)
    : QWidget(padre, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint), juego_(juego) {
    marca_ = marca;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Simular"));
    setObjectName(QStringLiteral("FSimular"));

    auto* principal = new QVBoxLayout(this);
    const QString lineas[] = {QStringLiteral("YA ESTÁN CARGADOS TODOS LOS"), QStringLiteral("DATOS NECESARIOS."),
                              QStringLiteral("CUANDO ESTÉ LISTO, PRESIONE"), QStringLiteral("EL BOTÓN SIMULAR")};
    int numero = 1;
    for (const QString& linea : lineas) {
        auto* label = new QLabel(linea, this);
        label->setObjectName(QStringLiteral("Label%1").arg(numero++));
        label->setAlignment(Qt::AlignCenter);
        QFont letra = label->font();
        letra.setBold(true);
        label->setFont(letra);
        principal->addWidget(label);
    }

    btnSimular = new QPushButton(QStringLiteral("SIMULAR"), this);
    btnSimular->setObjectName(QStringLiteral("btnSimular"));
    QFont grande = btnSimular->font();
    grande.setPointSize(grande.pointSize() * 2);
    grande.setBold(true);
    btnSimular->setFont(grande);
    btnSimular->setMinimumHeight(60);
    principal->addWidget(btnSimular);

    btnCerrar = crearBotonImagen(QStringLiteral("btnCerrar"), QStyle::SP_DialogCloseButton, QStringLiteral("Cerrar"),
                                 this);
    btnCerrar->setFixedSize(40, 32);
    btnCerrar->setIconSize(QSize(20, 20));
    auto* abajo = new QHBoxLayout;
    abajo->addStretch();
    abajo->addWidget(btnCerrar);
    principal->addLayout(abajo);

    connect(btnSimular, &QPushButton::clicked, this, &TFSimular::btnSimularClick);
    connect(btnCerrar, &QPushButton::clicked, this, &TFSimular::btnCerrarClick);

    prepararTeclado(this);
    fijarTamano(this);
    centrarSobre(this, padre);
}

void TFSimular::btnSimularClick() {
    int periodo = 0;
    try {
        periodo = juego_.simular(marca_ ? &*marca_ : nullptr).periodo;
    } catch (const std::exception& e) {
        mostrarError(this, e);
        // The game is as before the run; the main window shows it so.
        if (auto* principal = qobject_cast<TFPrincipal*>(parentWidget())) principal->actualizarEstado();
        return;
    }
    close();
    if (auto* principal = qobject_cast<TFPrincipal*>(parentWidget())) principal->periodoSimulado(periodo);
}

void TFSimular::btnCerrarClick() { close(); }

void TFSimular::closeEvent(QCloseEvent* evento) {
    // A close asked by the program (its buttons, the main window closing the
    // period screens) is not spontaneous; one from the window manager is.
    if (evento->spontaneous()) {
        evento->ignore();
        return;
    }
    QWidget::closeEvent(evento);
}
