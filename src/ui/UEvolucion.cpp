#include "ui/UEvolucion.h"

#include "documentos/Graficos.h"
#include "store/CarpetaDatos.h"
#include "store/Texto.h"
#include "ui/Formularios.h"
#include "ui/NotificadorJuego.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QValueAxis>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

const QString sinHistorial = QStringLiteral("Todavía no hay resultados: ningún período fue simulado.");

QString qTexto(const std::string& utf8) { return QString::fromStdString(utf8); }

QChartView* crearVista(QWidget* padre) {
    auto* vista = new QChartView(padre);
    vista->setObjectName(QStringLiteral("vistaGrafico"));
    vista->setRenderHint(QPainter::Antialiasing);
    return vista;
}

/// Puts grafico in vista and deletes the one it replaces.
void ponerGrafico(QChartView* vista, QChart* grafico) {
    QChart* anterior = vista->chart();
    vista->setChart(grafico);
    delete anterior;
}

/// The history as far as it can be read; a failure is shown and leaves it empty.
TEvolucion leerEvolucion(TJuego& juego, QWidget* pantalla) {
    try {
        return evolucion(juego);
    } catch (const std::exception& e) {
        mostrarError(pantalla, e);
        return {};
    }
}

}  // namespace

QString textoCambio(const TFilaClase& fila) {
    if (!fila.hayCambio) return {};
    if (fila.cambio > 0) return QStringLiteral("▲ %1").arg(fila.cambio);
    if (fila.cambio < 0) return QStringLiteral("▼ %1").arg(-fila.cambio);
    return QStringLiteral("=");
}

TFEvolucion::TFEvolucion(TJuego& juego, QWidget* padre) : QWidget(padre, kVentanaSobrePrincipal), juego_(juego) { FormCreate(); }

void TFEvolucion::FormCreate() {
    setObjectName(QStringLiteral("FEvolucion"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Evolución"));

    cbMedida = new QComboBox(this);
    cbMedida->setObjectName(QStringLiteral("cbMedida"));
    for (TMedida medida : todasLasMedidas)
        cbMedida->addItem(qTexto(nombreMedida(medida)), static_cast<int>(medida));
    txtBuscar = new QLineEdit(this);
    txtBuscar->setObjectName(QStringLiteral("txtBuscar"));
    txtBuscar->setPlaceholderText(QStringLiteral("Buscar equipo…"));
    txtBuscar->setClearButtonEnabled(true);
    lstEmpresas = new QListWidget(this);
    lstEmpresas->setObjectName(QStringLiteral("lstEmpresas"));
    lstEmpresas->setUniformItemSizes(true);  // quick with 255 teams
    btnTodas = new QPushButton(QStringLiteral("Todas"), this);
    btnTodas->setObjectName(QStringLiteral("btnTodas"));
    btnTodas->setToolTip(QStringLiteral("Mostrar los equipos de la lista"));
    btnNinguna = new QPushButton(QStringLiteral("Ninguna"), this);
    btnNinguna->setObjectName(QStringLiteral("btnNinguna"));
    btnNinguna->setToolTip(QStringLiteral("Ocultar los equipos de la lista"));
    btnGuardarPng = new QPushButton(QStringLiteral("Guardar PNG…"), this);
    btnGuardarPng->setObjectName(QStringLiteral("btnGuardarPng"));
    btnGuardarSvg = new QPushButton(QStringLiteral("Guardar SVG…"), this);
    btnGuardarSvg->setObjectName(QStringLiteral("btnGuardarSvg"));
    lblAviso = new QLabel(this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setWordWrap(true);
    vista = crearVista(this);

    auto* izquierda = new QVBoxLayout;
    izquierda->addWidget(new QLabel(QStringLiteral("Medida"), this));
    izquierda->addWidget(cbMedida);
    izquierda->addWidget(new QLabel(QStringLiteral("Equipos"), this));
    izquierda->addWidget(txtBuscar);
    izquierda->addWidget(lstEmpresas, 1);
    auto* marcar = new QHBoxLayout;
    marcar->addWidget(btnTodas);
    marcar->addWidget(btnNinguna);
    izquierda->addLayout(marcar);
    izquierda->addWidget(btnGuardarPng);
    izquierda->addWidget(btnGuardarSvg);
    auto* panel = new QWidget(this);
    panel->setLayout(izquierda);
    panel->setFixedWidth(240);
    auto* derecha = new QVBoxLayout;
    derecha->addWidget(lblAviso);
    derecha->addWidget(vista, 1);
    auto* principal = new QHBoxLayout(this);
    principal->addWidget(panel);
    principal->addLayout(derecha, 1);

    connect(cbMedida, &QComboBox::currentIndexChanged, this, &TFEvolucion::cbMedidaChange);
    connect(txtBuscar, &QLineEdit::textChanged, this, &TFEvolucion::txtBuscarChange);
    connect(lstEmpresas, &QListWidget::itemChanged, this, [this] { redibujar(); });
    connect(btnTodas, &QPushButton::clicked, this, &TFEvolucion::btnTodasClick);
    connect(btnNinguna, &QPushButton::clicked, this, &TFEvolucion::btnNingunaClick);
    connect(btnGuardarPng, &QPushButton::clicked, this, &TFEvolucion::btnGuardarPngClick);
    connect(btnGuardarSvg, &QPushButton::clicked, this, &TFEvolucion::btnGuardarSvgClick);

    resize(1100, 700);
    prepararVisor(this);
    centrarSobre(this, parentWidget());
    actualizar();
    TNotificadorJuego::alCambiarElJuego(this, [this] { actualizar(); });
}

TMedida TFEvolucion::medida() const { return static_cast<TMedida>(cbMedida->currentData().toInt()); }

QChart* TFEvolucion::grafico() const { return vista->chart(); }

std::vector<bool> TFEvolucion::elegidas() const {
    std::vector<bool> marcadas;
    for (int i = 0; i < lstEmpresas->count(); ++i) marcadas.push_back(lstEmpresas->item(i)->checkState() == Qt::Checked);
    return marcadas;
}

void TFEvolucion::actualizar() {
    // The companies chosen stay chosen, by name, when the season is read again.
    std::vector<std::string> ocultas;
    const std::vector<bool> antes = elegidas();
    for (std::size_t i = 0; i < antes.size() && i < evolucion_.empresas.size(); ++i)
        if (!antes[i]) ocultas.push_back(evolucion_.empresas[i].nombre);
    evolucion_ = leerEvolucion(juego_, this);
    std::vector<bool> marcadas;
    for (const TEmpresaEvolucion& empresa : evolucion_.empresas)
        marcadas.push_back(std::find(ocultas.begin(), ocultas.end(), empresa.nombre) == ocultas.end());
    llenarLista(marcadas);
    redibujar();
}

void TFEvolucion::llenarLista(const std::vector<bool>& marcadas) {
    const QSignalBlocker bloqueo(lstEmpresas);
    lstEmpresas->clear();
    // A team's line among the computer's (a practice game) is told by the marks.
    TComputadora computadora;
    try {
        computadora = juego_.computadora();
    } catch (const std::exception&) {
        // The marks are a help: the chart shows without them.
    }
    for (std::size_t i = 0; i < evolucion_.empresas.size(); ++i) {
        const TEmpresaEvolucion& empresa = evolucion_.empresas[i];
        QPixmap muestra(12, 12);
        muestra.fill(colorDeEmpresa(i));
        const bool deComputadora = computadora.de(utf8ACp1252(empresa.nombre).value_or(empresa.nombre));
        const QString marca = deComputadora ? QStringLiteral(" (computadora)") : QString();
        auto* item = new QListWidgetItem(QIcon(muestra), qTexto(empresa.nombre) + marca, lstEmpresas);
        if (empresa.quebro) item->setToolTip(QStringLiteral("Quebró en el período %1").arg(empresa.periodos.back()));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(marcadas[i] ? Qt::Checked : Qt::Unchecked);
    }
    txtBuscarChange(txtBuscar->text());
}

void TFEvolucion::redibujar() {
    textoFlotante_.clear();
    QToolTip::hideText();
    if (evolucion_.periodos.empty()) {
        lblAviso->setText(sinHistorial);
        lblAviso->show();
    } else {
        lblAviso->hide();
    }
    const TMedida m = medida();
    QChart* nuevo = crearGrafico(evolucion_, m, elegidas());
    for (QAbstractSeries* s : nuevo->series()) {
        auto* serie = qobject_cast<QLineSeries*>(s);
        if (!serie) continue;
        const auto empresa = static_cast<std::size_t>(serie->property("empresa").toULongLong());
        connect(serie, &QLineSeries::hovered, this, [this, empresa, m](const QPointF& punto, bool encima) {
            // The scene answers the tooltip request of a resting mouse with the
            // tooltip of the items under it: the chart's, then.
            textoFlotante_ = encima ? textoDelPunto(evolucion_, empresa, m, punto) : QString();
            if (vista->chart()) vista->chart()->setToolTip(textoFlotante_);
            if (encima) QToolTip::showText(QCursor::pos(), textoFlotante_, vista);
            else QToolTip::hideText();
        });
    }
    ponerGrafico(vista, nuevo);
    setWindowTitle(evolucion_.periodos.empty()
                       ? QStringLiteral("Evolución")
                       : QStringLiteral("Evolución - Períodos %1 a %2")
                             .arg(evolucion_.periodos.front())
                             .arg(evolucion_.periodos.back()));
}

void TFEvolucion::cbMedidaChange(int) { redibujar(); }

void TFEvolucion::txtBuscarChange(const QString& texto) {
    const QString buscado = texto.trimmed();
    for (int i = 0; i < lstEmpresas->count(); ++i) {
        QListWidgetItem* item = lstEmpresas->item(i);
        item->setHidden(!buscado.isEmpty() && !item->text().contains(buscado, Qt::CaseInsensitive));
    }
}

void TFEvolucion::marcarFiltradas(bool marcada) {
    {
        const QSignalBlocker bloqueo(lstEmpresas);
        for (int i = 0; i < lstEmpresas->count(); ++i)
            if (!lstEmpresas->item(i)->isHidden())
                lstEmpresas->item(i)->setCheckState(marcada ? Qt::Checked : Qt::Unchecked);
    }
    redibujar();  // once, not once per team
}

void TFEvolucion::btnTodasClick() { marcarFiltradas(true); }

void TFEvolucion::btnNingunaClick() { marcarFiltradas(false); }

void TFEvolucion::btnGuardarPngClick() { guardar(true); }

void TFEvolucion::btnGuardarSvgClick() { guardar(false); }

void TFEvolucion::guardar(bool png) {
    const QString extension = png ? QStringLiteral(".png") : QStringLiteral(".svg");
    const QString sugerido =
        deRuta(juego_.ruta() / archivoMedida(medida())) + extension;
    const auto elegido = dialogos().pedirArchivoParaGuardar(
        this, png ? QStringLiteral("Guardar gráfico como PNG") : QStringLiteral("Guardar gráfico como SVG"), sugerido,
        {png ? QStringLiteral("Imagen PNG (*.png)") : QStringLiteral("Imagen SVG (*.svg)")});
    if (!elegido) return;
    QString ruta = *elegido;
    if (!ruta.endsWith(extension, Qt::CaseInsensitive)) ruta += extension;
    // At least the tool's size, larger when the screen shows it larger.
    const QSize tamano = vista->size().expandedTo(tamanoMinimoGrafico);
    try {
        guardarGrafico(juego_.sistemaArchivos(), evolucion_, medida(), elegidas(), tamano,
                       png ? TFormatoGrafico::png : TFormatoGrafico::svg, aRuta(ruta));
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    mostrarMensaje(this, QStringLiteral("Gráfico guardado en «%1».").arg(ruta));
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

    tblPosiciones = new QTableWidget(0, 4, this);
    tblPosiciones->setObjectName(QStringLiteral("tblPosiciones"));
    tblPosiciones->setHorizontalHeaderLabels(
        {QStringLiteral("Puesto"), QStringLiteral("Equipo"), QStringLiteral("Utilidad\nacumulada"), QStringLiteral("Cambio")});
    tblPosiciones->verticalHeader()->hide();
    tblPosiciones->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPosiciones->setSelectionMode(QAbstractItemView::NoSelection);
    tblPosiciones->setFocusPolicy(Qt::NoFocus);
    cambiarLetra(0);
    // The figures and the change are never cut: their columns fit their
    // widest value; a long name gives way, shortened in its middle (the
    // whole name in its tooltip). Table and chart share the width.
    QHeaderView* columnas = tblPosiciones->horizontalHeader();
    columnas->setSectionResizeMode(QHeaderView::ResizeToContents);
    columnas->setSectionResizeMode(1, QHeaderView::Stretch);
    tblPosiciones->setTextElideMode(Qt::ElideMiddle);
    // Wrapped, a name would be cut after its first word instead.
    tblPosiciones->setWordWrap(false);
    tblPosiciones->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    vista = crearVista(this);
    auto* partes = new QHBoxLayout;
    partes->addWidget(tblPosiciones, 1);
    partes->addWidget(vista, 1);
    // Larger type for a large room, smaller for many teams.
    auto* mayor = new QShortcut(QKeySequence::ZoomIn, this);
    connect(mayor, &QShortcut::activated, this, [this] { cambiarLetra(2); });
    auto* mayorTeclado = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus), this);
    connect(mayorTeclado, &QShortcut::activated, this, [this] { cambiarLetra(2); });
    auto* menor = new QShortcut(QKeySequence::ZoomOut, this);
    connect(menor, &QShortcut::activated, this, [this] { cambiarLetra(-2); });
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(lblTitulo);
    principal->addLayout(partes, 1);
    auto* pie = new QLabel(QStringLiteral("Esc para salir"), this);
    principal->addWidget(pie, 0, Qt::AlignRight);

    resize(1280, 720);
    actualizar();
    TNotificadorJuego::alCambiarElJuego(this, [this] { actualizar(); });
}

QChart* TFClase::grafico() const { return vista->chart(); }

void TFClase::actualizar() {
    const TEvolucion e = leerEvolucion(juego_, this);
    filas_ = clasificacion(e);
    lblTitulo->setText(e.periodos.empty() ? sinHistorial
                                          : QStringLiteral("Posiciones después del período %1").arg(e.periodos.back()));
    // The end of the game: the winner named, the first three in their colours.
    const bool terminado = juegoTerminado(e);
    if (terminado && !filas_.empty() && filas_.front().posicion == 1)
        lblTitulo->setText(QStringLiteral("Juego terminado: ganó %1").arg(qTexto(filas_.front().empresa)));
    tblPosiciones->setRowCount(static_cast<int>(filas_.size()));
    for (int i = 0; i < static_cast<int>(filas_.size()); ++i) {
        const TFilaClase& fila = filas_[static_cast<std::size_t>(i)];
        auto poner = [&](int columna, const QString& texto, Qt::Alignment alineacion) {
            auto* celda = new QTableWidgetItem(texto);
            celda->setTextAlignment(alineacion | Qt::AlignVCenter);
            tblPosiciones->setItem(i, columna, celda);
            return celda;
        };
        poner(0, fila.posicion > 0 ? QString::number(fila.posicion) : QStringLiteral("—"), Qt::AlignCenter);
        poner(1, qTexto(fila.empresa) + (fila.quebro ? QStringLiteral(" (quebró)") : QString()), Qt::AlignLeft)
            ->setToolTip(qTexto(fila.empresa));
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
    QChart* nuevo = crearGrafico(e, TMedida::utilidadAcumulada);
    // Read from the back of the room.
    for (QAbstractAxis* eje : nuevo->axes()) {
        QFont etiquetas = eje->labelsFont();
        etiquetas.setPixelSize(18);
        eje->setLabelsFont(etiquetas);
        QFont titulo = eje->titleFont();
        titulo.setPixelSize(18);
        eje->setTitleFont(titulo);
    }
    QFont leyenda = nuevo->legend()->font();
    leyenda.setPixelSize(18);
    nuevo->legend()->setFont(leyenda);
    QFont letra = nuevo->titleFont();
    letra.setPointSize(20);
    letra.setBold(true);
    nuevo->setTitleFont(letra);
    ponerGrafico(vista, nuevo);
}

void TFClase::cambiarLetra(int puntos) {
    QFont letra = tblPosiciones->font();
    letra.setPointSize(std::clamp((puntos == 0 ? 20 : letra.pointSize()) + puntos, 10, 40));
    tblPosiciones->setFont(letra);
    tblPosiciones->horizontalHeader()->setFont(letra);
    tblPosiciones->resizeRowsToContents();
}

void TFClase::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(evento);
}
