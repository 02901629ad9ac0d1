#include "documentos/Graficos.h"

#include "juego/Juego.h"
#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"

#include <QChart>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QPen>
#include <QScatterSeries>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QBuffer>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace fs = std::filesystem;

namespace {

QString qTexto(const std::string& utf8) { return QString::fromStdString(utf8); }

const QLocale& regional() {
    static const QLocale local(QLocale::Spanish, QLocale::Argentina);
    return local;
}

/// A font sized in pixels: the chart is laid out in pixels, and a size in
/// points would grow with the resolution of what it is drawn on (a PDF, an SVG).
QFont letra(int pixeles, bool negrita = false) {
    QFont f;
    f.setPixelSize(pixeles);
    f.setBold(negrita);
    return f;
}

void fijarLetras(QAbstractAxis* eje) {
    eje->setLabelsFont(letra(12));
    eje->setTitleFont(letra(13, true));
}

/// The x axis: one tick per period, at least a span of one.
QValueAxis* ejePeriodos(const TEvolucion& e) {
    auto* eje = new QValueAxis;
    const int desde = e.periodos.empty() ? 0 : e.periodos.front();
    const int hasta = std::max(desde + 1, e.periodos.empty() ? 1 : e.periodos.back());
    eje->setRange(desde, hasta);
    eje->setTickCount(hasta - desde + 1);
    eje->setLabelFormat(QStringLiteral("%.0f"));
    eje->setTitleText(QStringLiteral("Período"));
    return eje;
}

bool elegida(const std::vector<bool>& visibles, std::size_t i) {
    return visibles.empty() || (i < visibles.size() && visibles[i]);
}

/// Whether point k of empresa is its collapse: the period it went bankrupt.
bool esQuiebra(const TEmpresaEvolucion& empresa, std::size_t k) {
    return empresa.quebro && k + 1 == empresa.periodos.size();
}

/// The span of the chosen companies' values, a bankruptcy left out when it
/// would more than double the span of the rest: one collapse must not flatten
/// the season. Whether one was left out; none are when nothing else is drawn.
bool rangoDeValores(const TEvolucion& e, TMedida medida, const std::vector<bool>& visibles, double& menor,
                    double& mayor) {
    menor = std::numeric_limits<double>::max();
    mayor = std::numeric_limits<double>::lowest();
    std::vector<double> quiebras;
    for (std::size_t i = 0; i < e.empresas.size(); ++i) {
        if (!elegida(visibles, i)) continue;
        const std::vector<double>& valores = e.empresas[i].serie(medida);
        for (std::size_t k = 0; k < valores.size(); ++k) {
            if (esQuiebra(e.empresas[i], k)) {
                quiebras.push_back(valores[k]);
                continue;
            }
            menor = std::min(menor, valores[k]);
            mayor = std::max(mayor, valores[k]);
        }
    }
    if (menor > mayor) {
        if (quiebras.empty()) return false;
        menor = mayor = quiebras.front();
    }
    const double holgura = std::max(mayor - menor, 1.0);
    bool recorta = false;
    for (double v : quiebras) {
        if (v < menor - holgura || v > mayor + holgura) recorta = true;
        else {
            menor = std::min(menor, v);
            mayor = std::max(mayor, v);
        }
    }
    // The clipped line leaves the chart through the edge, a little past the rest.
    if (recorta) {
        menor -= (mayor - menor) * 0.1;
        mayor += (mayor - menor) * 0.1;
    }
    return recorta;
}

/// Where a collapse left the chart, a triangle on the edge in its company's
/// colour: the line goes on beyond.
void marcarRecortes(QChart* grafico, const TEvolucion& e, TMedida medida, const std::vector<bool>& visibles,
                    QValueAxis* ejeX, QValueAxis* ejeY) {
    for (std::size_t i = 0; i < e.empresas.size(); ++i) {
        const TEmpresaEvolucion& empresa = e.empresas[i];
        if (!elegida(visibles, i) || !empresa.quebro || empresa.periodos.empty()) continue;
        const double v = empresa.serie(medida).back();
        if (v >= ejeY->min() && v <= ejeY->max()) continue;
        auto* marca = new QScatterSeries;
        marca->setName(qTexto(empresa.nombre));
        marca->setProperty("recorte", true);
        marca->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
        marca->setMarkerSize(12);
        marca->setColor(colorDeEmpresa(i));
        marca->setBorderColor(Qt::black);
        marca->append(empresa.periodos.back(), v < ejeY->min() ? ejeY->min() : ejeY->max());
        grafico->addSeries(marca);
        marca->attachAxis(ejeX);
        marca->attachAxis(ejeY);
        for (QLegendMarker* m : grafico->legend()->markers(marca)) m->setVisible(false);
    }
}

}  // namespace

QColor colorDeEmpresa(std::size_t empresa) {
    // Hues a golden angle apart, with three shades, stay apart for many lines.
    const int tono = static_cast<int>((empresa * 137) % 360);
    const int valor = 200 - static_cast<int>(empresa / 3 % 3) * 45;
    return QColor::fromHsv(tono, 220, valor);
}

QString textoDelValor(TMedida medida, double valor) {
    if (medida == TMedida::participacion) return regional().toString(valor, 'f', 2) + QStringLiteral(" %");
    return regional().toString(static_cast<qlonglong>(std::llround(valor)));
}

QChart* crearGrafico(const TEvolucion& e, TMedida medida, const std::vector<bool>& visibles) {
    auto* grafico = new QChart;
    grafico->setTitle(qTexto(nombreMedida(medida)));
    grafico->setTitleFont(letra(17, true));
    grafico->setAnimationOptions(QChart::NoAnimation);
    // Axis figures as the rest of the chart writes them: thousands grouped.
    grafico->setLocalizeNumbers(true);
    grafico->setLocale(regional());
    auto* ejeX = ejePeriodos(e);
    auto* ejeY = new QValueAxis;
    ejeY->setLabelFormat(QStringLiteral("%.0f"));
    fijarLetras(ejeX);
    fijarLetras(ejeY);
    grafico->addAxis(ejeX, Qt::AlignBottom);
    grafico->addAxis(ejeY, Qt::AlignLeft);

    int dibujadas = 0;
    for (std::size_t i = 0; i < e.empresas.size(); ++i) {
        if (!elegida(visibles, i)) continue;
        const TEmpresaEvolucion& empresa = e.empresas[i];
        const std::vector<double>& valores = empresa.serie(medida);
        QList<QPointF> puntos;
        puntos.reserve(static_cast<qsizetype>(valores.size()));
        for (std::size_t k = 0; k < valores.size(); ++k) puntos.append(QPointF(empresa.periodos[k], valores[k]));
        auto* serie = new QLineSeries;
        serie->setName(qTexto(empresa.nombre));
        serie->setProperty("empresa", QVariant::fromValue<qulonglong>(i));
        QPen lapiz(colorDeEmpresa(i));
        lapiz.setWidthF(2);
        serie->setPen(lapiz);
        serie->setPointsVisible(true);
        serie->replace(puntos);
        grafico->addSeries(serie);
        serie->attachAxis(ejeX);
        serie->attachAxis(ejeY);
        ++dibujadas;
    }
    double menor = 0, mayor = 1;
    const bool recorta = rangoDeValores(e, medida, visibles, menor, mayor);
    if (dibujadas == 0) {
        menor = 0;
        mayor = 1;
    }
    // A flat line still needs a span, and one whole unit per tick at least,
    // or its labels would repeat (150.000, 150.000, 150.001).
    if (const int intervalos = ejeY->tickCount() - 1; mayor - menor < intervalos) {
        menor = std::floor((menor + mayor) / 2) - std::floor(intervalos / 2.0);
        mayor = menor + intervalos;
    }
    ejeY->setRange(menor, mayor);
    ejeY->applyNiceNumbers();
    if (recorta) marcarRecortes(grafico, e, medida, visibles, ejeX, ejeY);
    grafico->legend()->setVisible(dibujadas > 0 && dibujadas <= maximoLeyenda);
    grafico->legend()->setAlignment(Qt::AlignRight);
    grafico->legend()->setFont(letra(12));
    return grafico;
}

QString textoDelPunto(const TEvolucion& e, std::size_t empresa, TMedida medida, QPointF punto) {
    if (empresa >= e.empresas.size() || e.empresas[empresa].periodos.empty()) return {};
    const TEmpresaEvolucion& de = e.empresas[empresa];
    std::size_t cerca = 0;
    for (std::size_t k = 1; k < de.periodos.size(); ++k)
        if (std::abs(de.periodos[k] - punto.x()) < std::abs(de.periodos[cerca] - punto.x())) cerca = k;
    return QStringLiteral("%1\nPeríodo %2\n%3: %4")
        .arg(qTexto(de.nombre))
        .arg(de.periodos[cerca])
        .arg(qTexto(nombreMedida(medida)), textoDelValor(medida, de.serie(medida)[cerca]));
}

void dibujarGrafico(QChart* grafico, QPainter& pintor, const QRectF& destino) {
    QGraphicsScene escena;  // owns the chart from here on
    escena.addItem(grafico);
    const QRectF lugar(QPointF(0, 0), destino.size());
    grafico->setGeometry(lugar);
    // Laid out now: without a view no event loop would ever do it.
    grafico->layout()->activate();
    QCoreApplication::sendPostedEvents(grafico, QEvent::LayoutRequest);
    escena.setSceneRect(lugar);
    escena.render(&pintor, destino, lugar);
}

namespace {

// The picture's bytes, drawn in memory: the file is written whole afterwards.
std::string bytesDeGrafico(const TEvolucion& e, TMedida medida, const std::vector<bool>& visibles, QSize tamano,
                           TFormatoGrafico formato, const fs::path& archivo) {
    if (tamano.width() < 1 || tamano.height() < 1) throw ErrorArchivo(archivo, "el tamaño del gráfico no es válido");
    QByteArray bytes;
    QBuffer salida(&bytes);
    salida.open(QIODevice::WriteOnly);
    const QRectF todo(QPointF(0, 0), QSizeF(tamano));
    if (formato == TFormatoGrafico::png) {
        QImage imagen(tamano, QImage::Format_ARGB32_Premultiplied);
        imagen.fill(Qt::white);
        QPainter pintor(&imagen);
        pintor.setRenderHint(QPainter::Antialiasing);
        dibujarGrafico(crearGrafico(e, medida, visibles), pintor, todo);
        pintor.end();
        if (!imagen.save(&salida, "PNG")) throw ErrorArchivo(archivo, "no se pudo escribir la imagen PNG");
    } else {
        QSvgGenerator svg;
        svg.setOutputDevice(&salida);
        svg.setSize(tamano);
        svg.setViewBox(todo);
        svg.setTitle(qTexto(nombreMedida(medida)));
        svg.setDescription(QStringLiteral("CORVELIAN"));
        QPainter pintor;
        if (!pintor.begin(&svg)) throw ErrorArchivo(archivo, "no se pudo escribir el SVG");
        dibujarGrafico(crearGrafico(e, medida, visibles), pintor, todo);
        if (!pintor.end()) throw ErrorArchivo(archivo, "no se pudo escribir el SVG");
    }
    if (bytes.isEmpty()) throw ErrorArchivo(archivo, "no se pudo dibujar el gráfico");
    return bytes.toStdString();
}

}  // namespace

void guardarGrafico(TSistemaArchivos& sa, const TEvolucion& e, TMedida medida, const std::vector<bool>& visibles,
                    QSize tamano, TFormatoGrafico formato, const fs::path& archivo) {
    reemplazarArchivo(sa, archivo, bytesDeGrafico(e, medida, visibles, tamano, formato, archivo));
}

std::vector<fs::path> escribirGraficos(TJuego& juego, const fs::path& carpeta, QSize tamano) {
    const TEvolucion e = evolucion(juego);
    if (e.periodos.empty()) throw ErrorJuego("Todavía no hay historial: corra el período 0 primero.");
    tamano = tamano.expandedTo(tamanoMinimoGrafico);
    std::vector<fs::path> escritos;
    std::vector<std::pair<fs::path, std::string>> archivos;
    for (TMedida medida : todasLasMedidas) {
        escritos.push_back(carpeta / (archivoMedida(medida) + ".png"));
        archivos.emplace_back(escritos.back(),
                              bytesDeGrafico(e, medida, {}, tamano, TFormatoGrafico::png, escritos.back()));
    }
    TSistemaArchivos& sa = juego.sistemaArchivos();
    crearCarpetas(sa, carpeta);
    reemplazarArchivos(sa, carpeta, archivos);
    return escritos;
}

namespace {

/// Every company of e with its line's colour, in as many columns as the
/// names need, at the top of area, taking at most a third of it; returns
/// what is left below. The charts' own legends would show only the names
/// their small size leaves room for.
QRectF dibujarLeyendaComun(const TEvolucion& e, QPainter& pintor, const QRectF& area) {
    if (e.empresas.empty()) return area;
    pintor.save();
    const QFont fuente = letra(14);
    pintor.setFont(fuente);
    const QFontMetricsF medidas(fuente, pintor.device());
    const double alto = medidas.height() * 1.3, muestra = 24, separacion = 16;
    double masAncho = 0;
    for (const TEmpresaEvolucion& empresa : e.empresas)
        masAncho = std::max(masAncho, medidas.horizontalAdvance(qTexto(empresa.nombre)));
    const int cantidad = static_cast<int>(e.empresas.size());
    const int filasMaximas = std::max(1, static_cast<int>(area.height() / 3 / alto));
    int columnas = std::clamp(static_cast<int>(area.width() / (muestra + masAncho + separacion)), 1, cantidad);
    columnas = std::max(columnas, (cantidad + filasMaximas - 1) / filasMaximas);
    const int filas = (cantidad + columnas - 1) / columnas;
    const double ancho = area.width() / columnas;
    for (int i = 0; i < cantidad; ++i) {
        const QPointF lugar(area.left() + (i / filas) * ancho, area.top() + (i % filas) * alto);
        pintor.fillRect(QRectF(lugar.x(), lugar.y() + alto / 2 - 2, muestra - 6, 4), colorDeEmpresa(static_cast<std::size_t>(i)));
        const QString nombre = medidas.elidedText(qTexto(e.empresas[static_cast<std::size_t>(i)].nombre), Qt::ElideRight,
                                                  ancho - muestra - separacion);
        pintor.setPen(Qt::black);
        pintor.drawText(QRectF(lugar.x() + muestra, lugar.y(), ancho - muestra, alto), Qt::AlignLeft | Qt::AlignVCenter,
                        nombre);
    }
    pintor.restore();
    return area.adjusted(0, filas * alto + alto / 2, 0, 0);
}

}  // namespace

void dibujarPaginaDeGraficos(const TEvolucion& e, QPainter& pintor, const QRectF& todo) {
    const QRectF area = dibujarLeyendaComun(e, pintor, todo);
    constexpr int columnas = 2;
    const int filas = static_cast<int>((cantidadMedidas + columnas - 1) / columnas);
    const double ancho = area.width() / columnas, alto = area.height() / filas;
    for (std::size_t i = 0; i < cantidadMedidas; ++i) {
        const int fila = static_cast<int>(i) / columnas, columna = static_cast<int>(i) % columnas;
        const QRectF celda(area.left() + columna * ancho, area.top() + fila * alto, ancho, alto);
        QChart* grafico = crearGrafico(e, todasLasMedidas[i]);
        grafico->legend()->setVisible(false);  // the page's own legend names them all
        dibujarGrafico(grafico, pintor, celda.adjusted(2, 2, -2, -2));
    }
}
