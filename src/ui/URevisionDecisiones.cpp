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
#include <QFontMetrics>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <utility>

namespace {

const QColor kColorFalla(255, 200, 200);
const QColor kColorAviso(255, 225, 170);

std::optional<int32_t> valorDe(const QTableWidgetItem* celda) {
    return leerEntero(aCp1252(celda ? celda->text() : QString()).value_or(std::string()));
}

/// The column a warning concerns, or -1 when it concerns the whole row.
int columnaDelAviso(const TAvisoDecision& aviso) {
    int32_t TRegDecision::*campo = nullptr;
    if (aviso.tipo == TTipoAviso::excesoDeCredito)
        campo = aviso.banco == 'B' ? &TRegDecision::pedPrestamoB : &TRegDecision::pedPrestamoA;
    else if (aviso.tipo == TTipoAviso::despidos)
        campo = &TRegDecision::nivelProduccion;
    const auto& rangos = rangosDecision();
    for (std::size_t c = 0; c < rangos.size(); ++c)
        if (rangos[c].campo == campo) return static_cast<int>(c);
    return -1;
}

/// A value within its range and step: a stand-in for an incomplete row,
/// whose warnings are not shown.
int32_t dentroDelRango(const TRangoDecision& rango, std::optional<int32_t> valor) {
    const int32_t v = std::clamp(valor.value_or(rango.minimo), rango.minimo, rango.maximo);
    return rango.minimo + (v - rango.minimo) / rango.paso * rango.paso;
}

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
    grilla = new QTableWidget(static_cast<int>(decisiones.size()), static_cast<int>(rangos.size()), this);
    grilla->setObjectName(QStringLiteral("grilla"));
    crearEncabezados(bancos);
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
    connect(grilla, &QTableWidget::currentCellChanged, this, &TFRevisionDecisiones::mostrarAvisosFila);

    lblFallas = new QLabel(this);
    lblFallas->setObjectName(QStringLiteral("lblFallas"));
    lblFallas->setWordWrap(true);
    lblFallas->setStyleSheet(QStringLiteral("color: #a00000;"));
    lblAvisos = new QLabel(this);
    lblAvisos->setObjectName(QStringLiteral("lblAvisos"));
    lblAvisos->setWordWrap(true);

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
    principal->addWidget(grilla, 1);
    principal->addWidget(lblFallas);
    principal->addWidget(lblAvisos);
    principal->addLayout(botones);

    // Values the screen kept may already be out of range or warned of: marked from the start.
    actualizarAvisos();
    mostrarFallas();
    int ancho = std::min(grilla->verticalHeader()->sizeHint().width(), 220) + 2 * grilla->frameWidth() + 40;
    for (int c = 0; c < grilla->columnCount(); ++c) ancho += grilla->columnWidth(c);
    // What does not fit a 1280-pixel screen scrolls sideways.
    resize(std::min(ancho, 1260), 280 + 30 * std::min(grilla->rowCount(), 15));
    prepararTeclado(this);
    centrarSobre(this, padre);
}

// The captions of the decision screen, the bank's name on a second line of
// the loans and repayments so that the ten columns fit; the messages name
// the column on one line, and the caption's tooltip says it in full.
void TFRevisionDecisiones::crearEncabezados(const QStringList& bancos) {
    bancos_ = bancos;
    const QFontMetrics medida(grilla->horizontalHeader()->font());
    const auto& rangos = rangosDecision();
    for (std::size_t c = 0; c < rangos.size(); ++c) {
        const TRangoDecision& rango = rangos[c];
        QString titulo = QString::fromUtf8(rango.titulo);
        QString columna = titulo;
        if (rango.banco) {
            const QString banco = bancos.value(rango.banco == 'B' ? 1 : 0);
            columna += QLatin1Char(' ') + banco;
            titulo += QLatin1Char('\n') + medida.elidedText(banco, Qt::ElideRight, medida.horizontalAdvance(titulo));
        }
        columnas_.append(columna);
        auto* cabecera = new QTableWidgetItem(titulo);
        cabecera->setToolTip(QString::fromStdString(
            etiquetaConRango(rango, bancos.value(0).toStdString(), bancos.value(1).toStdString())));
        grilla->setHorizontalHeaderItem(static_cast<int>(c), cabecera);
    }
}

QString TFRevisionDecisiones::fallaCelda(int fila, int columna) const {
    const TRangoDecision& rango = rangosDecision()[static_cast<std::size_t>(columna)];
    const QTableWidgetItem* celda = grilla->item(fila, columna);
    const auto valor = valorDe(celda);
    if (!valor) return QStringLiteral("«%1» no es un número entero.").arg(celda ? celda->text() : QString());
    if (!enRango(rango, *valor)) return mensajeRango(rango);
    return QString();
}

void TFRevisionDecisiones::marcarCelda(int fila, int columna) {
    QTableWidgetItem* celda = grilla->item(fila, columna);
    if (!celda) return;
    const QString falla = fallaCelda(fila, columna);
    QStringList avisos;
    if (static_cast<std::size_t>(fila) < avisos_.size())
        for (const TAvisoDecision& aviso : avisos_[fila])
            if (columnaDelAviso(aviso) == columna) avisos.append(QString::fromStdString(aviso.texto));
    // Changing the look of a cell must not count as an edit.
    const bool antes = grilla->blockSignals(true);
    celda->setBackground(!falla.isEmpty() ? QBrush(kColorFalla) : avisos.isEmpty() ? QBrush() : QBrush(kColorAviso));
    celda->setToolTip(!falla.isEmpty() ? falla : avisos.join(QLatin1Char('\n')));
    grilla->blockSignals(antes);
}

void TFRevisionDecisiones::actualizarAvisos() {
    const auto& rangos = rangosDecision();
    const auto filas = static_cast<std::size_t>(grilla->rowCount());
    std::vector<TRegDecision> decisiones(filas);
    std::vector<bool> completa(filas, true);
    for (std::size_t f = 0; f < filas; ++f)
        for (std::size_t c = 0; c < rangos.size(); ++c) {
            const auto valor = valorDe(grilla->item(static_cast<int>(f), static_cast<int>(c)));
            if (!valor || !enRango(rangos[c], *valor)) completa[f] = false;
            decisiones[f].*(rangos[c].campo) = dentroDelRango(rangos[c], valor);
        }
    avisos_.assign(filas, {});
    creditos_.assign(filas, std::nullopt);
    try {
        const std::vector<TAvisosEmpresa> calculados = juego_.avisosDeDecisiones(decisiones);
        for (std::size_t f = 0; f < filas && f < calculados.size(); ++f)
            if (completa[f]) {
                avisos_[f] = calculados[f].avisos;
                creditos_[f] = calculados[f].credito;
            }
    } catch (const std::exception&) {
        // Only a help: a game that cannot be read says so when the grid is stored.
    }
    const QIcon iconoFalla = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon iconoAviso = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (std::size_t f = 0; f < filas; ++f) {
        const int fila = static_cast<int>(f);
        for (int c = 0; c < grilla->columnCount(); ++c) marcarCelda(fila, c);
        QTableWidgetItem* cabecera = grilla->verticalHeaderItem(fila);
        if (!cabecera) continue;
        QString ayuda = equipos_.value(fila);
        if (!completa[f]) ayuda += QStringLiteral("\nDecisiones incompletas: corrija los valores marcados.");
        for (const TAvisoDecision& aviso : avisos_[f]) ayuda += QStringLiteral("\n⚠ ") + QString::fromStdString(aviso.texto);
        cabecera->setIcon(!completa[f] ? iconoFalla : avisos_[f].empty() ? QIcon() : iconoAviso);
        cabecera->setToolTip(ayuda);
    }
    mostrarAvisosFila();
}

void TFRevisionDecisiones::mostrarAvisosFila() {
    const int fila = grilla->currentRow();
    QString texto;
    if (fila >= 0 && static_cast<std::size_t>(fila) < creditos_.size()) {
        const QString equipo = equipos_.value(fila);
        if (const auto& credito = creditos_[fila]) {
            texto = QStringLiteral("%1: el banco A (%2) todavía le presta u$s %3 y el banco B (%4), u$s %5.")
                        .arg(equipo, bancos_.value(0))
                        .arg(std::max<int64_t>(0, credito->bancoA))
                        .arg(bancos_.value(1))
                        .arg(std::max<int64_t>(0, credito->bancoB));
            for (const TAvisoDecision& aviso : avisos_[fila]) texto += QStringLiteral("\n⚠ ") + QString::fromStdString(aviso.texto);
        } else {
            texto = QStringLiteral("%1: complete los valores marcados para ver los avisos sobre sus decisiones.").arg(equipo);
        }
    }
    lblAvisos->setText(texto);
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

void TFRevisionDecisiones::grillaItemChanged(QTableWidgetItem*) {
    actualizarAvisos();
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
