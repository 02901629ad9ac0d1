// The season's charts: a line per company chosen with exactly its points,
// the legend only while it stays readable, the hover text, and pictures of
// the size asked for, written whole or not at all.

#include "comun/CarpetaTemporal.h"
#include "documentos/Graficos.h"
#include "juego/Juego.h"
#include "store/ErrorArchivo.h"

#include <QChart>
#include <QFile>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <memory>

namespace fs = std::filesystem;

namespace {

/// A season of n companies over periods 0..3; company i's values are
/// 1000 * i + 10 * period + the measure's number, and the last one went
/// bankrupt in period 2.
TEvolucion temporada(std::size_t n) {
    TEvolucion e;
    e.periodos = {0, 1, 2, 3};
    for (std::size_t i = 0; i < n; ++i) {
        TEmpresaEvolucion empresa;
        empresa.nombre = "Equipo " + std::to_string(i + 1);
        empresa.quebro = i + 1 == n;
        for (int p : e.periodos) {
            if (empresa.quebro && p > 2) break;
            empresa.periodos.push_back(p);
            empresa.posiciones.push_back(p == 0 ? 0 : static_cast<int>(i) + 1);
            for (std::size_t m = 0; m < cantidadMedidas; ++m)
                empresa.valores[m].push_back(1000.0 * static_cast<double>(i) + 10 * p + static_cast<double>(m) + 0.25);
        }
        e.empresas.push_back(empresa);
    }
    return e;
}

std::unique_ptr<QChart> grafico(const TEvolucion& e, TMedida m, const std::vector<bool>& visibles = {}) {
    return std::unique_ptr<QChart>(crearGrafico(e, m, visibles));
}

}  // namespace

TEST(Graficos, UnaLineaPorEmpresaElegidaConSusPuntos) {
    const TEvolucion e = temporada(4);
    const struct {
        std::vector<bool> visibles;
        std::vector<std::size_t> dibujadas;
    } casos[] = {
        {{}, {0, 1, 2, 3}},
        {{true, false, true, false}, {0, 2}},
        {{false, false, false, true}, {3}},
        {{false, false, false, false}, {}},
        {{true}, {0}},  // a short list leaves the rest out
    };
    for (const auto& caso : casos)
        for (TMedida medida : todasLasMedidas) {
            SCOPED_TRACE(nombreMedida(medida) + ", " + std::to_string(caso.dibujadas.size()) + " líneas");
            const auto g = grafico(e, medida, caso.visibles);
            EXPECT_EQ(g->title().toStdString(), nombreMedida(medida));
            const auto series = g->series();
            ASSERT_EQ(series.size(), static_cast<qsizetype>(caso.dibujadas.size()));
            for (qsizetype s = 0; s < series.size(); ++s) {
                const TEmpresaEvolucion& empresa = e.empresas[caso.dibujadas[static_cast<std::size_t>(s)]];
                auto* linea = qobject_cast<QLineSeries*>(series[s]);
                ASSERT_NE(linea, nullptr);
                EXPECT_EQ(linea->name().toStdString(), empresa.nombre);
                ASSERT_EQ(linea->count(), static_cast<qsizetype>(empresa.periodos.size()));
                for (qsizetype k = 0; k < linea->count(); ++k) {
                    EXPECT_EQ(linea->at(k).x(), empresa.periodos[static_cast<std::size_t>(k)]);
                    EXPECT_EQ(linea->at(k).y(), empresa.serie(medida)[static_cast<std::size_t>(k)]);
                }
            }
        }
}

TEST(Graficos, LaLeyendaSoloMientrasSeLee) {
    const struct {
        std::size_t empresas;
        bool leyenda;
    } casos[] = {{1, true}, {maximoLeyenda, true}, {maximoLeyenda + 1, false}, {255, false}};
    for (const auto& caso : casos) {
        const auto g = grafico(temporada(caso.empresas), TMedida::utilidadAcumulada);
        EXPECT_EQ(g->series().size(), static_cast<qsizetype>(caso.empresas));
        EXPECT_EQ(g->legend()->isVisible(), caso.leyenda) << caso.empresas << " empresas";
    }
    EXPECT_FALSE(grafico(temporada(3), TMedida::precio, {false, false, false})->legend()->isVisible());
    EXPECT_NE(colorDeEmpresa(0), colorDeEmpresa(1));
}

TEST(Graficos, ElTextoDelPuntoDiceEmpresaPeriodoYValor) {
    const TEvolucion e = temporada(3);
    const struct {
        std::size_t empresa;
        TMedida medida;
        QPointF punto;
        QString esperado;
    } casos[] = {
        {0, TMedida::utilidadAcumulada, {1.2, 0}, "Equipo 1\nPeríodo 1\nUtilidad acumulada: 10"},
        {1, TMedida::participacion, {2.6, 0}, "Equipo 2\nPeríodo 3\nParticipación de mercado (%): 1.033,25 %"},
        {2, TMedida::empleados, {3.0, 0}, "Equipo 3\nPeríodo 2\nEmpleados: 2.028"},  // bankrupt in 2
        {0, TMedida::precio, {-4, 0}, "Equipo 1\nPeríodo 0\nPrecio: 4"},
    };
    for (const auto& caso : casos) EXPECT_EQ(textoDelPunto(e, caso.empresa, caso.medida, caso.punto), caso.esperado);
    EXPECT_TRUE(textoDelPunto(e, 3, TMedida::precio, {1, 0}).isEmpty());
    EXPECT_EQ(textoDelValor(TMedida::deuda, -1234567.4), QStringLiteral("-1.234.567"));
}

TEST(Graficos, ImagenesDelTamanoPedido) {
    CarpetaTemporal carpeta;
    const TEvolucion e = temporada(5);
    const struct {
        TFormatoGrafico formato;
        QSize tamano;
        const char* archivo;
    } casos[] = {
        {TFormatoGrafico::png, {1280, 720}, "a.png"},
        {TFormatoGrafico::png, {1920, 1080}, "b.png"},
        {TFormatoGrafico::png, {333, 201}, "c.png"},
        {TFormatoGrafico::svg, {1280, 720}, "a.svg"},
        {TFormatoGrafico::svg, {800, 1000}, "b.svg"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.archivo);
        const fs::path ruta = carpeta / caso.archivo;
        guardarGrafico(e, TMedida::efectivo, {}, caso.tamano, caso.formato, ruta);
        QFile archivo(QString::fromStdString(ruta.string()));
        ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
        const QByteArray bytes = archivo.readAll();
        if (caso.formato == TFormatoGrafico::png) {
            EXPECT_TRUE(bytes.startsWith("\x89PNG\r\n\x1a\n"));
            const QImage imagen = QImage::fromData(bytes, "PNG");
            ASSERT_FALSE(imagen.isNull());
            EXPECT_EQ(imagen.size(), caso.tamano);
            continue;
        }
        QXmlStreamReader xml(bytes);
        ASSERT_TRUE(xml.readNextStartElement());
        EXPECT_EQ(xml.name(), QStringLiteral("svg"));
        EXPECT_EQ(xml.attributes().value("viewBox").toString(),
                  QStringLiteral("0 0 %1 %2").arg(caso.tamano.width()).arg(caso.tamano.height()));
        // width and height in millimetres at the generator's 72 dpi
        for (const auto& [atributo, pixeles] : {std::pair{"width", caso.tamano.width()}, {"height", caso.tamano.height()}}) {
            QString valor = xml.attributes().value(QLatin1String(atributo)).toString();
            ASSERT_TRUE(valor.endsWith(QStringLiteral("mm"))) << atributo;
            valor.chop(2);
            EXPECT_NEAR(valor.toDouble(), pixeles * 25.4 / 72, 0.5) << atributo;
        }
        while (!xml.atEnd()) xml.readNext();
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_TRUE(bytes.contains("Equipo 5")) << "las líneas llevan el nombre de su equipo";
    }
}

TEST(Graficos, UnaFallaNoDejaMediaImagen) {
    CarpetaTemporal carpeta;
    const TEvolucion e = temporada(2);
    const fs::path previa = carpeta / "previa.png";
    guardarGrafico(e, TMedida::precio, {}, {640, 480}, TFormatoGrafico::png, previa);
    const std::string antes = leerTexto(previa);
    EXPECT_THROW(guardarGrafico(e, TMedida::precio, {}, {0, 480}, TFormatoGrafico::png, previa), ErrorArchivo);
    EXPECT_EQ(leerTexto(previa), antes);
    const fs::path sinCarpeta = carpeta / "no existe" / "g.svg";
    EXPECT_THROW(guardarGrafico(e, TMedida::precio, {}, {640, 480}, TFormatoGrafico::svg, sinCarpeta), ErrorArchivo);
    EXPECT_FALSE(fs::exists(sinCarpeta.parent_path()));
}

TEST(Graficos, SinHistorialNoHayGraficos) {
    CarpetaTemporal carpeta;
    crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    try {
        escribirGraficos(carpeta / "g");
        ADD_FAILURE() << "debía rechazarse";
    } catch (const ErrorJuego& e) {
        EXPECT_STREQ(e.what(), "Todavía no hay historial: corra el período 0 primero.");
    }
    EXPECT_FALSE(fs::exists(carpeta / "g"));
}
