#include "ui/UResultados.h"

#include "juego/Juego.h"
#include "store/CarpetaDatos.h"
#include "ui/Formularios.h"
#include "ui/ImpresionReportes.h"
#include "ui/NotificadorJuego.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"
#include "ui/TextoReporte.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace {

const QString industria = QStringLiteral("Industria");
const QString avisos = QStringLiteral("Avisos");

QString nombreDelJuego(const TJuego& juego) {
    std::filesystem::path carpeta = juego.ruta();
    if (carpeta.filename().empty()) carpeta = carpeta.parent_path();
    return deRuta(carpeta.filename());
}

}  // namespace

TFResultados::TFResultados(TJuego& juego, QWidget* padre) : QWidget(padre, kVentanaSobrePrincipal), juego_(juego) { FormCreate(); }

void TFResultados::FormCreate() {
    setObjectName(QStringLiteral("FResultados"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Resultados"));

    cbPeriodo = new QComboBox(this);
    cbPeriodo->setObjectName(QStringLiteral("cbPeriodo"));
    lstReportes = new QListWidget(this);
    lstReportes->setObjectName(QStringLiteral("lstReportes"));
    lstReportes->setFixedWidth(200);
    txtReporte = new QPlainTextEdit(this);
    txtReporte->setObjectName(QStringLiteral("txtReporte"));
    txtReporte->setReadOnly(true);
    txtReporte->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fija = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fija.setStyleHint(QFont::Monospace);
    fija.setFixedPitch(true);
    txtReporte->setFont(fija);

    btnImprimir = new QPushButton(QStringLiteral("Imprimir"), this);
    btnImprimir->setObjectName(QStringLiteral("btnImprimir"));
    btnImprimir->setToolTip(QStringLiteral("Imprimir el reporte que se muestra"));
    btnImprimirPeriodo = new QPushButton(QStringLiteral("Imprimir período"), this);
    btnImprimirPeriodo->setObjectName(QStringLiteral("btnImprimirPeriodo"));
    btnImprimirPeriodo->setToolTip(QStringLiteral("Imprimir todos los reportes del período"));
    btnCerrar = new QPushButton(QStringLiteral("Cerrar"), this);
    btnCerrar->setObjectName(QStringLiteral("btnCerrar"));

    auto* izquierda = new QVBoxLayout;
    izquierda->addWidget(new QLabel(QStringLiteral("Período"), this));
    izquierda->addWidget(cbPeriodo);
    izquierda->addWidget(new QLabel(QStringLiteral("Reporte"), this));
    izquierda->addWidget(lstReportes, 1);
    izquierda->addWidget(btnImprimir);
    izquierda->addWidget(btnImprimirPeriodo);
    izquierda->addWidget(btnCerrar);
    lblPeriodo = new QLabel(this);
    lblPeriodo->setObjectName(QStringLiteral("lblPeriodo"));
    lblNombre = new QLabel(this);
    lblNombre->setObjectName(QStringLiteral("lblNombre"));
    // Shortened by ajustarNombre, never widening the screen.
    lblNombre->setMinimumWidth(1);
    lblNombre->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QFont negrita = lblPeriodo->font();
    negrita.setBold(true);
    lblPeriodo->setFont(negrita);
    lblNombre->setFont(negrita);
    auto* cabecera = new QHBoxLayout;
    cabecera->addWidget(lblPeriodo);
    cabecera->addWidget(lblNombre, 1);
    auto* derecha = new QVBoxLayout;
    derecha->addLayout(cabecera);
    derecha->addWidget(txtReporte, 1);
    auto* principal = new QHBoxLayout(this);
    principal->addLayout(izquierda);
    principal->addLayout(derecha, 1);

    // The keys move through reports and periods wherever the focus is.
    for (QWidget* hijo : findChildren<QWidget*>()) hijo->installEventFilter(this);

    connect(cbPeriodo, &QComboBox::currentIndexChanged, this, &TFResultados::cbPeriodoChange);
    connect(lstReportes, &QListWidget::currentRowChanged, this, &TFResultados::lstReportesChange);
    connect(btnImprimir, &QPushButton::clicked, this, &TFResultados::btnImprimirClick);
    connect(btnImprimirPeriodo, &QPushButton::clicked, this, &TFResultados::btnImprimirPeriodoClick);
    connect(btnCerrar, &QPushButton::clicked, this, &TFResultados::btnCerrarClick);

    resize(980, 700);
    prepararVisor(this);
    centrarSobre(this, parentWidget());
    try {
        if (const auto alumno = juego_.equipoDePractica()) alumno_ = aQString(*alumno);
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
    mostrarPeriodo(-1);
    // After a run the period just filed comes forward; after any change the history is read again.
    TNotificadorJuego::alCambiarElJuego(this, [this] { actualizar(); });
    if (TNotificadorJuego* notificador = TNotificadorJuego::de(this))
        connect(notificador, &TNotificadorJuego::periodoSimulado, this, [this](int periodo) {
            if (isVisible()) mostrarPeriodo(periodo);
        });
}

void TFResultados::mostrarPeriodo(int periodo) {
    std::vector<int> periodos;
    QString vacio = QStringLiteral("Todavía no hay resultados: ningún período fue simulado.");
    try {
        periodos = juego_.periodosDelHistorial();
    } catch (const std::exception& e) {
        vacio = QString::fromUtf8(e.what());
    }
    if (periodos.empty()) {
        periodo_ = -1;
        entradas_.clear();
        const QSignalBlocker bloqueo(cbPeriodo), bloqueoLista(lstReportes);
        cbPeriodo->clear();
        lstReportes->clear();
        txtReporte->setPlainText(vacio);
        ultimoPeriodo_ = -1;
        setWindowTitle(QStringLiteral("Resultados"));
        lblPeriodo->clear();
        mostrarCabecera(QString());
        return;
    }
    ultimoPeriodo_ = periodos.back();
    int indice = static_cast<int>(periodos.size()) - 1;
    for (std::size_t i = 0; i < periodos.size(); ++i)
        if (periodos[i] == periodo) indice = static_cast<int>(i);
    {
        const QSignalBlocker bloqueo(cbPeriodo);
        cbPeriodo->clear();
        for (int p : periodos) cbPeriodo->addItem(QStringLiteral("Período %1").arg(p), p);
        cbPeriodo->setCurrentIndex(indice);
    }
    cargarPeriodo(periodos[static_cast<std::size_t>(indice)]);
}

void TFResultados::cargarPeriodo(int periodo) {
    const int anterior = lstReportes->currentRow();
    const QString elegido = anterior >= 0 && anterior < entradas_.size() ? entradas_[anterior].nombre
                            : alumno_.isEmpty()                          ? industria
                                                                         : alumno_;
    periodo_ = periodo;
    lblPeriodo->setText(QStringLiteral("Período %1").arg(periodo));
    entradas_.clear();
    try {
        const TArchivoPeriodo archivo = juego_.periodoDelHistorial(periodo);
        const TComputadora computadora = juego_.computadora();
        entradas_.append({industria, {archivo.reporteIndustria}});
        TEntrada entradaAvisos{avisos, {}};
        for (const TFilaIndustria& fila : archivo.industria) {
            entradas_.append({aQString(fila.empresa), {fila.reporte}, computadora.de(fila.empresa) != nullptr});
            if (!fila.aviso.empty()) entradaAvisos.archivos.push_back(fila.aviso);
        }
        if (!entradaAvisos.archivos.empty()) entradas_.append(entradaAvisos);
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
    int fila = 0;
    {
        const QSignalBlocker bloqueo(lstReportes);
        lstReportes->clear();
        for (int i = 0; i < entradas_.size(); ++i) {
            const bool pc = entradas_[i].deComputadora;
            lstReportes->addItem(pc ? entradas_[i].nombre + QStringLiteral(" (PC)") : entradas_[i].nombre);
            QListWidgetItem* item = lstReportes->item(i);
            // A long name is cut by the list.
            item->setToolTip(pc ? entradas_[i].nombre + QStringLiteral(": empresa de la computadora") : entradas_[i].nombre);
            if (!alumno_.isEmpty() && entradas_[i].nombre == alumno_) {
                // The student finds their own company at a glance.
                QFont propia = item->font();
                propia.setBold(true);
                item->setFont(propia);
            }
            if (entradas_[i].nombre == elegido) fila = i;
        }
    }
    if (entradas_.isEmpty()) {
        txtReporte->clear();
        setWindowTitle(QStringLiteral("Resultados - Período %1").arg(periodo));
        mostrarCabecera(QString());
        return;
    }
    lstReportes->setCurrentRow(fila);
    lstReportesChange(fila);
}

TReporteImpreso TFResultados::reporte(int fila) const {
    const TEntrada& entrada = entradas_[fila];
    QString texto;
    for (const std::string& archivo : entrada.archivos) {
        // The period's notices follow one another, a blank line apart.
        if (!texto.isEmpty()) texto += QLatin1Char('\n');
        texto += textoDeReporte(juego_.reporteDelHistorial(periodo_, archivo));
    }
    return {entrada.nombre, texto};
}

QString TFResultados::textoMostrado() const { return txtReporte->toPlainText(); }

void TFResultados::cbPeriodoChange(int indice) {
    if (indice < 0) return;
    cargarPeriodo(cbPeriodo->itemData(indice).toInt());
}

void TFResultados::lstReportesChange(int fila) {
    if (fila < 0 || fila >= entradas_.size()) return;
    setWindowTitle(QStringLiteral("Resultados - Período %1 - %2").arg(periodo_).arg(entradas_[fila].nombre));
    mostrarCabecera(entradas_[fila].nombre);
    try {
        txtReporte->setPlainText(reporte(fila).texto);
    } catch (const std::exception& e) {
        txtReporte->setPlainText(QString::fromUtf8(e.what()));
    }
}

void TFResultados::mostrarCabecera(const QString& nombre) {
    nombre_ = nombre;
    lblNombre->setToolTip(nombre);
    ajustarNombre();
}

void TFResultados::ajustarNombre() {
    const QString texto = nombre_.isEmpty() ? QString() : QStringLiteral("— ") + nombre_;
    lblNombre->setText(lblNombre->fontMetrics().elidedText(texto, Qt::ElideRight, lblNombre->width()));
}

void TFResultados::moverReporte(int paso) {
    const int fila = lstReportes->currentRow() + paso;
    if (fila >= 0 && fila < lstReportes->count()) lstReportes->setCurrentRow(fila);
}

void TFResultados::moverPeriodo(int paso) {
    const int indice = cbPeriodo->currentIndex() + paso;
    if (indice >= 0 && indice < cbPeriodo->count()) cbPeriodo->setCurrentIndex(indice);
}

bool TFResultados::eventFilter(QObject* objeto, QEvent* evento) {
    // The name's room is known once the screen is laid out.
    if (objeto == lblNombre && evento->type() == QEvent::Resize) ajustarNombre();
    if (evento->type() == QEvent::KeyPress || evento->type() == QEvent::ShortcutOverride) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        int reportes = 0, periodos = 0;
        switch (tecla->key()) {
        case Qt::Key_Up: reportes = -1; break;
        case Qt::Key_Down: reportes = 1; break;
        case Qt::Key_PageUp: periodos = -1; break;
        case Qt::Key_PageDown: periodos = 1; break;
        default: return QWidget::eventFilter(objeto, evento);
        }
        if (tecla->modifiers() & ~Qt::KeypadModifier) return QWidget::eventFilter(objeto, evento);
        // Claim the key before a widget uses it to scroll or open its list.
        evento->accept();
        if (evento->type() == QEvent::KeyPress) {
            if (reportes) moverReporte(reportes);
            if (periodos) moverPeriodo(periodos);
        }
        return true;
    }
    return QWidget::eventFilter(objeto, evento);
}

void TFResultados::imprimir(const QList<TReporteImpreso>& reportes) {
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(windowTitle());
    ultimasCabeceras_.clear();
    if (!dialogos().configurarImpresora(this, impresora)) return;
    ultimasCabeceras_ = imprimirReportes(impresora, nombreDelJuego(juego_), periodo_, reportes);
    if (ultimasCabeceras_.isEmpty()) mostrarMensaje(this, QStringLiteral("No se pudo imprimir."));
}

void TFResultados::btnImprimirClick() {
    const int fila = lstReportes->currentRow();
    if (fila < 0 || fila >= entradas_.size()) return;
    try {
        imprimir({reporte(fila)});
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
}

void TFResultados::btnImprimirPeriodoClick() {
    if (entradas_.isEmpty()) return;
    try {
        QList<TReporteImpreso> reportes;
        for (int fila = 0; fila < entradas_.size(); ++fila) reportes.append(reporte(fila));
        imprimir(reportes);
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
}

void TFResultados::btnCerrarClick() { close(); }
