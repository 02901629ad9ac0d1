#include "ui/URevisionDecisiones.h"

#include "engine/ValidarDecision.h"
#include "store/Texto.h"
#include "ui/Formularios.h"
#include "ui/MensajesDecision.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"
#include "ui/USimular.h"

#include <QBrush>
#include <QCloseEvent>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <utility>

namespace {

const QColor kColorFalla(255, 200, 200);

}  // namespace

TFRevisionDecisiones::TFRevisionDecisiones(TJuego& juego, QWidget* padre, const QStringList& equipos, const QStringList& bancos,
                                           const std::vector<TRegDecision>& decisiones, const TMarca& marca,
                                           Devolver devolver)
    : QWidget(padre, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), juego_(juego),
      equipos_(equipos),
      marca_(marca),
      devolver_(std::move(devolver)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Revisar decisiones"));
    setObjectName(QStringLiteral("FRevisionDecisiones"));
    const auto& rangos = rangosDecision();
    // The captions of the decision screen; loans and repayments name their bank.
    for (const TRangoDecision& rango : rangos) {
        QString columna = QString::fromUtf8(rango.titulo);
        if (rango.banco) columna += QLatin1Char(' ') + bancos.value(rango.banco == 'B' ? 1 : 0);
        columnas_.append(columna);
    }
    grilla = new QTableWidget(static_cast<int>(decisiones.size()), static_cast<int>(rangos.size()), this);
    grilla->setObjectName(QStringLiteral("grilla"));
    grilla->setHorizontalHeaderLabels(columnas_);
    grilla->setVerticalHeaderLabels(equipos_);
    for (int f = 0; f < grilla->rowCount(); ++f)
        for (int c = 0; c < grilla->columnCount(); ++c) {
            auto* celda = new QTableWidgetItem(QString::number(decisiones[f].*(rangos[c].campo)));
            celda->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grilla->setItem(f, c, celda);
        }
    grilla->resizeColumnsToContents();
    grilla->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Long team names would push the decisions out of sight: the header is
    // capped and each name is whole in its tooltip.
    grilla->verticalHeader()->setMaximumWidth(220);
    grilla->verticalHeader()->setTextElideMode(Qt::ElideRight);
    for (int f = 0; f < grilla->rowCount(); ++f)
        if (QTableWidgetItem* cabecera = grilla->verticalHeaderItem(f)) cabecera->setToolTip(equipos_.value(f));
    connect(grilla, &QTableWidget::itemChanged, this, &TFRevisionDecisiones::grillaItemChanged);

    lblFallas = new QLabel(this);
    lblFallas->setObjectName(QStringLiteral("lblFallas"));
    lblFallas->setWordWrap(true);
    lblFallas->setStyleSheet(QStringLiteral("color: #a00000;"));

    btnVolver = new QPushButton(QStringLiteral("Volver"), this);
    btnVolver->setObjectName(QStringLiteral("btnVolver"));
    btnGuardarSimular = new QPushButton(QStringLiteral("Guardar y simular"), this);
    btnGuardarSimular->setObjectName(QStringLiteral("btnGuardarSimular"));
    connect(btnVolver, &QPushButton::clicked, this, &TFRevisionDecisiones::btnVolverClick);
    connect(btnGuardarSimular, &QPushButton::clicked, this, &TFRevisionDecisiones::btnGuardarSimularClick);

    auto* botones = new QHBoxLayout;
    botones->addWidget(btnVolver);
    botones->addStretch();
    botones->addWidget(btnGuardarSimular);
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(grilla);
    principal->addWidget(lblFallas);
    principal->addLayout(botones);

    // Values the screen kept may already be out of range: marked from the start.
    for (int f = 0; f < grilla->rowCount(); ++f)
        for (int c = 0; c < grilla->columnCount(); ++c) marcarCelda(f, c);
    mostrarFallas();
    int ancho = 220 + 2 * grilla->frameWidth() + 40;
    for (int c = 0; c < grilla->columnCount(); ++c) ancho += grilla->columnWidth(c);
    resize(std::min(ancho, 1260), 140 + 30 * std::min(grilla->rowCount(), 15));
    prepararTeclado(this);
    centrarSobre(this, padre);
}

QString TFRevisionDecisiones::fallaCelda(int fila, int columna) const {
    const TRangoDecision& rango = rangosDecision()[static_cast<std::size_t>(columna)];
    const QTableWidgetItem* celda = grilla->item(fila, columna);
    const auto valor = leerEntero(aCp1252(celda ? celda->text() : QString()).value_or(std::string()));
    if (!valor) return QStringLiteral("«%1» no es un número entero.").arg(celda ? celda->text() : QString());
    if (!enRango(rango, *valor)) return mensajeRango(rango);
    return QString();
}

void TFRevisionDecisiones::marcarCelda(int fila, int columna) {
    QTableWidgetItem* celda = grilla->item(fila, columna);
    if (!celda) return;
    const QString falla = fallaCelda(fila, columna);
    // Changing the look of a cell must not count as an edit.
    const bool antes = grilla->blockSignals(true);
    celda->setBackground(falla.isEmpty() ? QBrush() : QBrush(kColorFalla));
    celda->setToolTip(falla);
    grilla->blockSignals(antes);
}

QStringList TFRevisionDecisiones::fallas() const {
    QStringList lista;
    for (int f = 0; f < grilla->rowCount(); ++f)
        for (int c = 0; c < grilla->columnCount(); ++c)
            if (const QString falla = fallaCelda(f, c); !falla.isEmpty())
                lista.append(QStringLiteral("%1, %2: %3").arg(equipos_.value(f), columnas_.value(c), falla));
    return lista;
}

void TFRevisionDecisiones::mostrarFallas() { lblFallas->setText(fallas().join(QLatin1Char('\n'))); }

void TFRevisionDecisiones::grillaItemChanged(QTableWidgetItem* celda) {
    marcarCelda(celda->row(), celda->column());
    mostrarFallas();
}

std::vector<TRegDecision> TFRevisionDecisiones::leerGrilla() const {
    const auto& rangos = rangosDecision();
    std::vector<TRegDecision> decisiones(static_cast<std::size_t>(grilla->rowCount()));
    for (int f = 0; f < grilla->rowCount(); ++f)
        for (int c = 0; c < grilla->columnCount(); ++c)
            decisiones[f].*(rangos[c].campo) = enteroDe(grilla->item(f, c)->text());
    return decisiones;
}

void TFRevisionDecisiones::btnGuardarSimularClick() {
    if (const QStringList lista = fallas(); !lista.isEmpty()) {
        mostrarMensaje(this, QStringLiteral("Corrija los valores marcados antes de seguir:\n") +
                                 lista.join(QLatin1Char('\n')));
        return;
    }
    const std::vector<TRegDecision> decisiones = leerGrilla();
    try {
        // All or nothing, and only on the game the decision screen was opened on.
        juego_.guardarDecisiones(decisiones, &marca_);
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    QWidget* principal = parentWidget() ? parentWidget()->parentWidget() : nullptr;
    auto* simular = new TFSimular(juego_, principal, marca_);
    simular->show();
    terminada_ = true;
    if (devolver_) devolver_(decisiones, true);
    close();
}

bool TFRevisionDecisiones::devolverGrilla() {
    if (!fallas().isEmpty()) {
        if (dialogos().mensaje(this, QStringLiteral("Atención"),
                               QStringLiteral("Hay valores fuera de rango. ¿Volver sin los cambios de la grilla?"),
                               ServicioDialogos::Icono::pregunta,
                               ServicioDialogos::Botones::siNo) != ServicioDialogos::Respuesta::si)
            return false;
    } else if (devolver_) {
        devolver_(leerGrilla(), false);
    }
    terminada_ = true;
    return true;
}

void TFRevisionDecisiones::btnVolverClick() {
    if (devolverGrilla()) close();
}

void TFRevisionDecisiones::closeEvent(QCloseEvent* evento) {
    if (!terminada_ && !devolverGrilla()) {
        evento->ignore();
        return;
    }
    evento->accept();
}
