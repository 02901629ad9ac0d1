#include "ui/UPosiciones.h"

#include "juego/Juego.h"

#include "reports/Posiciones.h"
#include "ui/Formularios.h"
#include "ui/VistaGrafico.h"
#include "documentos/TextoQt.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

TFPosiciones::TFPosiciones(TJuego& juego, QWidget* padre) : QWidget(padre), juego_(juego) { FormCreate(); }

void TFPosiciones::FormCreate() {
    setObjectName(QStringLiteral("FPosiciones"));
    prepararPantalla(this, QStringLiteral("Posiciones"));

    Label1_ = new QLabel(QStringLiteral("ZONA"), this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    QFont letra = Label1_->font();
    letra.setPointSize(22);
    letra.setBold(true);
    Label1_->setFont(letra);
    Label1_->setStyleSheet(QStringLiteral("color: red;"));
    Label1_->setAlignment(Qt::AlignCenter);

    StringGrid1 = new QTableWidget(filasMinimas, 2, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("              NOMBRES"), QStringLiteral("UTILIDADES ACUMULADAS")});
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->hide();
    // The columns are 174 and 152 pixels wide, or as wide as their headings
    // need in the desktop's font.
    StringGrid1->setColumnWidth(0, std::max(174, StringGrid1->horizontalHeader()->sectionSizeHint(0)));
    StringGrid1->setColumnWidth(1, std::max(152, StringGrid1->horizontalHeader()->sectionSizeHint(1)));
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setFocusPolicy(Qt::NoFocus);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    btnGuardar = crearBotonImagen(QStringLiteral("btnGuardar"), QStyle::SP_DialogOkButton, QStringLiteral("Cerrar"), this);

    auto* cuerpo = new QVBoxLayout;
    cuerpo->setContentsMargins(16, 12, 16, 12);
    cuerpo->setSpacing(10);
    cuerpo->addWidget(Label1_);
    cuerpo->addWidget(StringGrid1, 0, Qt::AlignHCenter);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 0);
    principal->setSpacing(0);
    principal->addLayout(cuerpo);
    principal->addWidget(crearBandaBotones(this, btnGuardar));

    connect(btnGuardar, &QPushButton::clicked, this, &TFPosiciones::btnGuardarClick);

    mostrarPosiciones();
    // Thirteen rows in view; more companies scroll.
    const int marco = 2 * StringGrid1->frameWidth();
    const int barra = StringGrid1->rowCount() > filasMinimas ? StringGrid1->verticalScrollBar()->sizeHint().width() : 0;
    StringGrid1->setFixedSize(StringGrid1->columnWidth(0) + StringGrid1->columnWidth(1) + marco + barra,
                              StringGrid1->horizontalHeader()->sizeHint().height() +
                                  filasMinimas * StringGrid1->verticalHeader()->defaultSectionSize() + marco);
    prepararTeclado(this);
    fijarTamano(this);
    centrarSobre(this, parentWidget());
}

void TFPosiciones::mostrarPosiciones() {
    std::vector<TFilaPosicion> posiciones;
    try {
        posiciones = juego_.posiciones();
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
    TComputadora computadora;
    try {
        computadora = juego_.computadora();
    } catch (const std::exception&) {
        // The marks are a help: the standings show without them.
    }
    StringGrid1->setRowCount(std::max<int>(filasMinimas, static_cast<int>(posiciones.size())));
    for (int fila = 0; fila < static_cast<int>(posiciones.size()); ++fila) {
        const bool deComputadora = computadora.de(posiciones[fila].nombre) != nullptr;
        auto* nombre = new QTableWidgetItem(aQString(posiciones[fila].nombre) +
                                            (deComputadora ? marcaComputadora() : QString()));
        nombre->setToolTip(deComputadora ? ayudaComputadora() : QString());
        auto* utilidad = new QTableWidgetItem(QString::number(posiciones[fila].utilidadAcumulada));
        utilidad->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        StringGrid1->setItem(fila, 0, nombre);
        StringGrid1->setItem(fila, 1, utilidad);
    }
}

void TFPosiciones::btnGuardarClick() { close(); }
