#include "ui/UClase.h"

#include "documentos/Graficos.h"
#include "ui/Formularios.h"
#include "ui/NotificadorJuego.h"
#include "ui/VistaGrafico.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QPixmap>
#include <QTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QMenu>
#include <QShortcut>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString qTexto(const std::string& utf8) { return QString::fromStdString(utf8); }

/// keys and the standard ones of estandar, each once: a key registered twice
/// in one window is ambiguous, and Qt then fires neither.
QList<QKeySequence> teclasSinRepetir(QKeySequence::StandardKey estandar, std::initializer_list<QKeySequence> otras) {
    QList<QKeySequence> teclas = QKeySequence::keyBindings(estandar);
    for (const QKeySequence& tecla : otras)
        if (!teclas.contains(tecla)) teclas.append(tecla);
    return teclas;
}

QFont letraDe(int pixeles) {
    QFont f;
    f.setPixelSize(pixeles);
    return f;
}

}  // namespace

QString textoCambio(const TFilaClase& fila) {
    if (!fila.hayCambio) return {};
    if (fila.cambio > 0) return QStringLiteral("▲ %1").arg(fila.cambio);
    if (fila.cambio < 0) return QStringLiteral("▼ %1").arg(-fila.cambio);
    return QStringLiteral("=");
}

TFClase::TFClase(TJuego& juego, QWidget* padre) : QWidget(padre, kVentanaSobrePrincipal), juego_(juego) {
    setObjectName(QStringLiteral("FClase"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Clase"));
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, Qt::white);
    setPalette(paleta);
    setAutoFillBackground(true);

    lblTitulo = new QLabel(this);
    lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    QFont titulo = lblTitulo->font();
    titulo.setPointSize(28);
    titulo.setBold(true);
    lblTitulo->setFont(titulo);
    lblTitulo->setWordWrap(true);
    lblMejorEquipo = new QLabel(this);
    lblMejorEquipo->setObjectName(QStringLiteral("lblMejorEquipo"));
    QFont mejor = lblMejorEquipo->font();
    mejor.setPointSize(20);
    lblMejorEquipo->setFont(mejor);
    lblMejorEquipo->setWordWrap(true);

    tblPosiciones = new QTableWidget(0, 4, this);
    tblPosiciones->setObjectName(QStringLiteral("tblPosiciones"));
    tblPosiciones->setHorizontalHeaderLabels(
        {QStringLiteral("Puesto"), QStringLiteral("Equipo"), QStringLiteral("Utilidad\nacumulada"), QStringLiteral("Cambio")});
    tblPosiciones->verticalHeader()->hide();
    tblPosiciones->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPosiciones->setSelectionMode(QAbstractItemView::NoSelection);
    tblPosiciones->setFocusPolicy(Qt::NoFocus);
    // The figures and the change are never cut: their columns fit their
    // widest value; the name takes the rest, on two lines where it needs
    // them, and past that is shortened (the whole name in its tooltip).
    QHeaderView* columnas = tblPosiciones->horizontalHeader();
    columnas->setSectionResizeMode(QHeaderView::ResizeToContents);
    columnas->setSectionResizeMode(1, QHeaderView::Stretch);
    tblPosiciones->setTextElideMode(Qt::ElideRight);
    tblPosiciones->setWordWrap(true);
    tblPosiciones->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    cambiarLetra(0);
    // A name column made wider or narrower takes as many lines as it needs now.
    connect(columnas, &QHeaderView::sectionResized, this, [this](int columna) {
        if (columna == 1) ajustarFilas();
    });

    btnEquipos = new QToolButton(this);
    btnEquipos->setObjectName(QStringLiteral("btnEquipos"));
    btnEquipos->setText(QStringLiteral("&Equipos del gráfico"));
    btnEquipos->setToolTip(QStringLiteral("Mostrar u ocultar las líneas de los equipos"));
    btnEquipos->setPopupMode(QToolButton::InstantPopup);
    mnuEquipos = new QMenu(btnEquipos);
    mnuEquipos->setObjectName(QStringLiteral("mnuEquipos"));
    btnEquipos->setMenu(mnuEquipos);

    vista = crearVistaGrafico(this);
    auto* grafico = new QVBoxLayout;
    grafico->addWidget(vista, 1);
    grafico->addWidget(btnEquipos, 0, Qt::AlignRight);
    auto* partes = new QHBoxLayout;
    // The names need more room than the chart: three fifths for the table.
    partes->addWidget(tblPosiciones, 3);
    partes->addLayout(grafico, 2);
    // Larger type for a large room, smaller for many teams.
    auto* mayor = new QShortcut(this);
    mayor->setKeys(teclasSinRepetir(QKeySequence::ZoomIn, {QKeySequence(Qt::CTRL | Qt::Key_Plus),
                                                            QKeySequence(Qt::CTRL | Qt::Key_Equal)}));
    connect(mayor, &QShortcut::activated, this, [this] { cambiarLetra(2); });
    auto* menor = new QShortcut(this);
    menor->setKeys(teclasSinRepetir(QKeySequence::ZoomOut, {QKeySequence(Qt::CTRL | Qt::Key_Minus)}));
    connect(menor, &QShortcut::activated, this, [this] { cambiarLetra(-2); });
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(lblTitulo);
    principal->addWidget(lblMejorEquipo);
    principal->addLayout(partes, 1);
    auto* pie = new QLabel(QStringLiteral("Ctrl+más y Ctrl+menos cambian la letra; Esc para salir"), this);
    principal->addWidget(pie, 0, Qt::AlignRight);

    resize(1280, 720);
    actualizar();
    TNotificadorJuego::alCambiarElJuego(this, [this] { actualizar(); });
}

QChart* TFClase::grafico() const { return vista->chart(); }

void TFClase::actualizar() {
    evolucion_ = leerEvolucion(juego_, this);
    filas_ = clasificacion(evolucion_);
    lblTitulo->setText(evolucion_.periodos.empty()
                           ? textoSinHistorial()
                           : QStringLiteral("Posiciones después del período %1").arg(evolucion_.periodos.back()));
    const bool terminado = juegoTerminado(evolucion_);
    if (terminado && !filas_.empty() && filas_.front().posicion == 1)
        lblTitulo->setText(QStringLiteral("Juego terminado: ganó %1")
                               .arg(qTexto(filas_.front().empresa) +
                                    (filas_.front().deComputadora ? marcaComputadora() : QString())));
    const std::string mejor = terminado ? lineaMejorEquipo(evolucion_, filas_) : std::string();
    lblMejorEquipo->setText(qTexto(mejor));
    lblMejorEquipo->setVisible(!mejor.empty());
    llenarTabla();
    llenarMenuEquipos();
    redibujar();
}

void TFClase::llenarTabla() {
    const bool terminado = juegoTerminado(evolucion_);
    tblPosiciones->setRowCount(static_cast<int>(filas_.size()));
    for (int i = 0; i < static_cast<int>(filas_.size()); ++i) {
        const TFilaClase& fila = filas_[static_cast<std::size_t>(i)];
        const bool resaltada = !resaltada_.empty() && fila.empresa == resaltada_;
        auto poner = [&](int columna, const QString& texto, Qt::Alignment alineacion) {
            auto* celda = new QTableWidgetItem(texto);
            celda->setTextAlignment(alineacion | Qt::AlignVCenter);
            if (resaltada) {
                QFont negrita = tblPosiciones->font();
                negrita.setBold(true);
                celda->setFont(negrita);
            }
            tblPosiciones->setItem(i, columna, celda);
            return celda;
        };
        poner(0, fila.posicion > 0 ? QString::number(fila.posicion) : QStringLiteral("—"), Qt::AlignCenter);
        QString ayuda = qTexto(fila.empresa);
        if (fila.deComputadora) ayuda += QLatin1Char('\n') + ayudaComputadora();
        if (fila.quebro) ayuda += QStringLiteral("\nQuebró en el período %1").arg(fila.periodoQuiebra);
        QTableWidgetItem* nombre = poner(1, qTexto(nombreConMarcas(fila)), Qt::AlignLeft);
        nombre->setToolTip(ayuda);
        // The line's colour beside the name: the chart needs no legend of its own.
        QPixmap muestra(16, 16);
        muestra.fill(colorDeEmpresa(fila.indice));
        nombre->setIcon(QIcon(muestra));
        poner(2, textoDelValor(TMedida::utilidadAcumulada, fila.utilidadAcumulada), Qt::AlignRight);
        QTableWidgetItem* cambio = poner(3, textoCambio(fila), Qt::AlignCenter);
        if (terminado && fila.posicion >= 1 && fila.posicion <= 3) {
            static const QColor podio[] = {QColor(255, 215, 0), QColor(200, 200, 205), QColor(215, 150, 90)};
            for (int c = 0; c < tblPosiciones->columnCount(); ++c)
                tblPosiciones->item(i, c)->setBackground(podio[fila.posicion - 1]);
        }
        if (fila.cambio > 0) cambio->setForeground(QColor(0, 130, 0));
        if (fila.cambio < 0) cambio->setForeground(QColor(190, 0, 0));
    }
    ajustarFilas();
}

void TFClase::llenarMenuEquipos() {
    mnuEquipos->clear();
    for (std::size_t i = 0; i < evolucion_.empresas.size(); ++i) {
        const std::string& nombre = evolucion_.empresas[i].nombre;
        QAction* accion = mnuEquipos->addAction(qTexto(nombre));
        accion->setCheckable(true);
        accion->setChecked(std::find(ocultas_.begin(), ocultas_.end(), nombre) == ocultas_.end());
        connect(accion, &QAction::toggled, this,
                [this, i](bool visible) { mostrarEmpresa(static_cast<int>(i), visible); });
    }
    btnEquipos->setEnabled(!evolucion_.empresas.empty());
}

void TFClase::mostrarEmpresa(int empresa, bool visible) {
    if (empresa < 0 || static_cast<std::size_t>(empresa) >= evolucion_.empresas.size()) return;
    const std::string& nombre = evolucion_.empresas[static_cast<std::size_t>(empresa)].nombre;
    std::erase(ocultas_, nombre);
    if (!visible) ocultas_.push_back(nombre);
    redibujar();
}

void TFClase::redibujar() {
    std::vector<bool> visibles;
    int resaltada = -1;
    for (std::size_t i = 0; i < evolucion_.empresas.size(); ++i) {
        const std::string& nombre = evolucion_.empresas[i].nombre;
        visibles.push_back(std::find(ocultas_.begin(), ocultas_.end(), nombre) == ocultas_.end());
        if (nombre == resaltada_) resaltada = static_cast<int>(i);
    }
    QChart* nuevo = crearGrafico(evolucion_, TMedida::utilidadAcumulada, visibles);
    // Read from the back of the room; the periods' labels a little smaller,
    // so that all of them, "10" too, keep their room on a narrow screen.
    for (QAbstractAxis* eje : nuevo->axes()) {
        eje->setLabelsFont(letraDe(eje->orientation() == Qt::Horizontal ? 16 : 18));
        eje->setTitleFont(letraDe(18));
    }
    // The table shows each line's colour beside the name: a legend would
    // take the room of the lines and the axis' labels.
    nuevo->legend()->setVisible(false);
    QFont letra = nuevo->titleFont();
    letra.setPointSize(20);
    letra.setBold(true);
    nuevo->setTitleFont(letra);
    resaltarLinea(nuevo, resaltada);
    ponerGrafico(vista, nuevo);
}

void TFClase::resaltarEmpresa(int empresa) {
    const bool valida = empresa >= 0 && static_cast<std::size_t>(empresa) < evolucion_.empresas.size();
    resaltada_ = valida ? evolucion_.empresas[static_cast<std::size_t>(empresa)].nombre : std::string();
    llenarTabla();
    redibujar();
}

void TFClase::cambiarLetra(int puntos) {
    letraElegida_ = puntos != 0;
    aplicarLetra(std::clamp((puntos == 0 ? 20 : tblPosiciones->font().pointSize()) + puntos, 10, 40));
    ajustarFilas();
}

void TFClase::aplicarLetra(int tamano) {
    QFont letra = tblPosiciones->font();
    letra.setPointSize(tamano);
    tblPosiciones->setFont(letra);
    // Headings smaller than the rows: a heading wider than its figures
    // would take the room the names need.
    QFont encabezado = letra;
    encabezado.setPointSize(std::max(9, letra.pointSize() * 3 / 5));
    encabezado.setBold(true);
    tblPosiciones->horizontalHeader()->setFont(encabezado);
    for (int f = 0; f < tblPosiciones->rowCount(); ++f)
        for (int c = 0; c < tblPosiciones->columnCount(); ++c)
            if (QTableWidgetItem* celda = tblPosiciones->item(f, c); celda && celda->font().bold()) {
                QFont negrita = letra;
                negrita.setBold(true);
                celda->setFont(negrita);
            }
}

void TFClase::ajustarFilas() {
    // The back row must see every company: unless the game master chose a
    // size, the type shrinks until all the rows fit. Only shrinks: a larger
    // type would change the window's minimum size, and so its size again.
    for (;;) {
        // Two lines at most for a name; the rest is elided.
        tblPosiciones->resizeRowsToContents();
        const int tope = 2 * QFontMetrics(tblPosiciones->font()).lineSpacing() + 8;
        for (int f = 0; f < tblPosiciones->rowCount(); ++f)
            tblPosiciones->setRowHeight(f, std::min(tblPosiciones->rowHeight(f), tope));
        const int tamano = tblPosiciones->font().pointSize();
        const int lugar = tblPosiciones->viewport()->height();
        if (letraElegida_ || tamano <= 12 || lugar <= 0 || tblPosiciones->verticalHeader()->length() <= lugar) return;
        aplicarLetra(tamano - 1);
    }
}

void TFClase::resizeEvent(QResizeEvent* evento) {
    QWidget::resizeEvent(evento);
    // Once the layout has given the name column its new width.
    QTimer::singleShot(0, this, [this] { ajustarFilas(); });
}

void TFClase::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(evento);
}
