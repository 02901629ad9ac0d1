// The season's charts as pictures: of the size asked for, written whole or
// not at all.

#include "comun/CarpetaTemporal.h"
#include "documentos/Graficos.h"
#include "store/ErrorArchivo.h"

#include <QChart>
#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QSvgGenerator>
#include <QValueAxis>
#include <QXYSeries>
#include <QImage>
#include <QLocale>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <memory>

namespace {

/// n companies over periods 0..3, company i's value 1000 i + 10 period +
/// the measure's number; the last one went bankrupt in period 2.
TEvolucion temporada(std::size_t n) {
    TEvolucion e{{0, 1, 2, 3}, {}};
    for (std::size_t i = 0; i < n; ++i) {
        TEmpresaEvolucion& empresa = e.empresas.emplace_back();
        empresa.nombre = "Equipo " + std::to_string(i + 1);
        for (int p = 0; p <= (i + 1 == n ? 2 : 3); ++p) {
            empresa.periodos.push_back(p);
            for (std::size_t m = 0; m < cantidadMedidas; ++m)
                empresa.valores[m].push_back(1000.0 * static_cast<double>(i) + 10 * p + static_cast<double>(m));
        }
    }
    return e;
}

}  // namespace

TEST(Graficos, ImagenesDelTamanoPedidoEnterasONada) {
    CarpetaTemporal carpeta;
    const TEvolucion e = temporada(5);
    const struct {
        TFormatoGrafico formato;
        QSize tamano;
        const char* archivo;
    } casos[] = {{TFormatoGrafico::png, {1280, 720}, "a.png"}, {TFormatoGrafico::png, {333, 201}, "b.png"},
                 {TFormatoGrafico::svg, {1280, 720}, "a.svg"}, {TFormatoGrafico::svg, {800, 1000}, "b.svg"}};
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.archivo);
        guardarGrafico(carpetaDePrueba().sa(), e, TMedida::efectivo, {}, caso.tamano, caso.formato, carpeta / caso.archivo);
        QFile archivo(QString::fromStdString((carpeta / caso.archivo).string()));
        ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
        const QByteArray bytes = archivo.readAll();
        if (caso.formato == TFormatoGrafico::png) {
            EXPECT_TRUE(bytes.startsWith("\x89PNG\r\n\x1a\n"));
            EXPECT_EQ(QImage::fromData(bytes, "PNG").size(), caso.tamano);
            continue;
        }
        QXmlStreamReader xml(bytes);
        ASSERT_TRUE(xml.readNextStartElement() && xml.name() == QStringLiteral("svg"));
        EXPECT_EQ(xml.attributes().value("viewBox").toString(),
                  QStringLiteral("0 0 %1 %2").arg(caso.tamano.width()).arg(caso.tamano.height()));
        // width and height in millimetres, at the generator's 72 dots per inch
        EXPECT_NEAR(xml.attributes().value("width").chopped(2).toDouble(), caso.tamano.width() * 25.4 / 72, 0.5);
        EXPECT_NEAR(xml.attributes().value("height").chopped(2).toDouble(), caso.tamano.height() * 25.4 / 72, 0.5);
        while (!xml.atEnd()) xml.readNext();
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_TRUE(bytes.contains("Equipo 5")) << "las líneas llevan el nombre de su equipo";
    }
    // A failed write leaves the previous picture as it was, and no folder is made.
    const std::string antes = leerTexto(carpeta / "a.png");
    EXPECT_THROW(guardarGrafico(carpetaDePrueba().sa(), e, TMedida::precio, {}, {0, 480}, TFormatoGrafico::png, carpeta / "a.png"), ErrorArchivo);
    EXPECT_EQ(leerTexto(carpeta / "a.png"), antes);
    EXPECT_THROW(guardarGrafico(carpetaDePrueba().sa(), e, TMedida::precio, {}, {64, 48}, TFormatoGrafico::svg, carpeta / "no" / "g.svg"),
                 ErrorArchivo);
    EXPECT_FALSE(std::filesystem::exists(carpeta / "no"));
}

// The value axis never repeats a label: a flat line gets whole steps, and
// its figures are grouped by thousands as the chart's other texts are.
TEST(Graficos, EjeSinEtiquetasRepetidas) {
    for (double valor : {150000.4, 0.0, -7.5}) {
        TEvolucion e{{0, 1, 2}, {}};
        TEmpresaEvolucion& plana = e.empresas.emplace_back();
        plana.nombre = "Plana";
        plana.periodos = {0, 1, 2};
        for (auto& serie : plana.valores) serie = {valor, valor, valor};
        std::unique_ptr<QChart> grafico(crearGrafico(e, TMedida::efectivo));
        auto* eje = qobject_cast<QValueAxis*>(grafico->axes(Qt::Vertical).front());
        ASSERT_TRUE(eje);
        const double paso = (eje->max() - eje->min()) / (eje->tickCount() - 1);
        EXPECT_GE(paso, 1) << valor;
        EXPECT_TRUE(eje->min() <= valor && valor <= eje->max()) << eje->min() << " a " << eje->max();
        EXPECT_TRUE(grafico->localizeNumbers() && grafico->locale().groupSeparator() == QStringLiteral("."));
    }
}

// A bankrupt company's collapse does not set the scale of the rest: beyond
// twice their span the axis stops short of it and a mark on the edge says
// where its line went; a fall within reach is simply drawn.
TEST(Graficos, UnaQuiebraNoAplastaLaEscala) {
    const std::pair<double, bool> casos[] = {{-20'900'000, true}, {30'000'000, true}, {-150'000, false}, {-5000, false}};
    for (const auto& [caida, recorta] : casos) {
        SCOPED_TRACE(caida);
        TEvolucion e = temporada(4);  // values from 0 to about 3000, and one at -100.000
        e.empresas.back().quebro = true;
        e.empresas.back().valores[0].back() = caida;
        e.empresas.front().valores[0][1] = -100'000;
        std::unique_ptr<QChart> grafico(crearGrafico(e, TMedida::utilidadAcumulada));
        auto* eje = qobject_cast<QValueAxis*>(grafico->axes(Qt::Vertical).front());
        EXPECT_EQ(eje->min() <= caida && caida <= eje->max(), !recorta) << eje->min() << " a " << eje->max();
        EXPECT_TRUE(eje->min() <= -100'000 && eje->max() - eje->min() < 500'000) << "la escala es la de las demás";
        std::vector<QPointF> marcas;
        for (QAbstractSeries* s : grafico->series())
            if (s->property("recorte").toBool()) marcas.push_back(qobject_cast<QXYSeries*>(s)->at(0));
        const std::vector<QPointF> esperadas(recorta ? 1 : 0, QPointF(2, caida < 0 ? eje->min() : eje->max()));
        EXPECT_EQ(marcas, esperadas);
    }
}

// The teacher's page of charts names every company beside its colour, however many.
TEST(Graficos, LaPaginaDeGraficosNombraATodas) {
    for (std::size_t n : {3u, 12u, 40u}) {
        QBuffer salida;
        salida.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&salida);
        QPainter pintor(&svg);
        dibujarPaginaDeGraficos(temporada(n), pintor, QRectF(0, 0, 1000, 1400));
        pintor.end();
        for (std::size_t i = 1; i <= n; ++i)
            EXPECT_TRUE(salida.data().contains(">Equipo " + QByteArray::number(i) + "<")) << i << " de " << n;
    }
}
