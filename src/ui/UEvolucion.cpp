#include "ui/UEvolucion.h"

#include "documentos/Graficos.h"
#include "store/CarpetaDatos.h"
#include "store/Texto.h"
#include "ui/Formularios.h"
#include "ui/NotificadorJuego.h"
#include "ui/ServicioDialogos.h"
#include "ui/VistaGrafico.h"
#include "documentos/TextoQt.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

QString qTexto(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

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
    vista = crearVistaGrafico(this);

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
    // As wide as the longest measure's name needs: "Deuda (bancos A y B y
    // giro en descubierto)" whole.
    cbMedida->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cbMedida->setToolTip(cbMedida->currentText());
    const QMargins margen = izquierda->contentsMargins();
    panel->setFixedWidth(std::max(240, cbMedida->sizeHint().width() + margen.left() + margen.right()));
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
    for (std::size_t i = 0; i < evolucion_.empresas.size(); ++i) {
        const TEmpresaEvolucion& empresa = evolucion_.empresas[i];
        QPixmap muestra(12, 12);
        muestra.fill(colorDeEmpresa(i));
        // A team's line among the computer's (a practice game) is told by the marks.
        const QString marca = empresa.deComputadora ? QStringLiteral(" (computadora)") : QString();
        auto* item = new QListWidgetItem(QIcon(muestra), qTexto(empresa.nombre) + marca, lstEmpresas);
        QStringList ayuda{qTexto(empresa.nombre)};
        if (empresa.deComputadora) ayuda << ayudaComputadora();
        if (empresa.quebro) ayuda << QStringLiteral("Quebró en el período %1").arg(empresa.periodos.back());
        item->setToolTip(ayuda.join(QLatin1Char('\n')));
        if (empresa.nombre == resaltada_) {
            QFont negrita = item->font();
            negrita.setBold(true);
            item->setFont(negrita);
        }
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(marcadas[i] ? Qt::Checked : Qt::Unchecked);
    }
    txtBuscarChange(txtBuscar->text());
}

void TFEvolucion::redibujar() {
    textoFlotante_.clear();
    QToolTip::hideText();
    if (evolucion_.periodos.empty()) {
        lblAviso->setText(textoSinHistorial());
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
    const auto resaltada = std::find_if(evolucion_.empresas.begin(), evolucion_.empresas.end(),
                                        [this](const TEmpresaEvolucion& e) { return e.nombre == resaltada_; });
    if (!resaltada_.empty() && resaltada != evolucion_.empresas.end())
        resaltarLinea(nuevo, static_cast<int>(resaltada - evolucion_.empresas.begin()));
    ponerGrafico(vista, nuevo);
    setWindowTitle(evolucion_.periodos.empty()
                       ? QStringLiteral("Evolución")
                       : QStringLiteral("Evolución - Períodos %1 a %2")
                             .arg(evolucion_.periodos.front())
                             .arg(evolucion_.periodos.back()));
}

void TFEvolucion::resaltarEmpresa(int empresa) {
    const bool valida = empresa >= 0 && static_cast<std::size_t>(empresa) < evolucion_.empresas.size();
    resaltada_ = valida ? evolucion_.empresas[static_cast<std::size_t>(empresa)].nombre : std::string();
    llenarLista(elegidas());
    redibujar();
}

void TFEvolucion::cbMedidaChange(int) {
    cbMedida->setToolTip(cbMedida->currentText());
    redibujar();
}

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
