// The PDF hand-outs of a period, written from a small game played through
// the core and read back with pdftotext: every report's lines are there as
// text, in order, each report from a new page, with the page headers.

#include "comun/CarpetaTemporal.h"
#include "comun/Partida.h"
#include "documentos/Documentos.h"
#include "juego/Juego.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Price, level, training, marketing, R&D, plant, loans A and B, repayments A and B.
TRegDecision decision(int empresa, int periodo) {
    TRegDecision d{60 + empresa % 30 + periodo, 75, 2000, 4000 + 50 * empresa, 1000, 0, 0, 0, 0, 0};
    if (empresa == 1 && periodo == 1) d.invPlanta = 900000;  // beyond every limit: bankrupt
    return d;
}

/// Sets up a game with these teams (UTF-8) and plays period 0 and periods 1..hasta.
void jugar(const std::vector<std::string>& equiposUtf8, int hasta) {
    std::vector<std::string> equipos;
    for (const auto& e : equiposUtf8) equipos.push_back(cp1252(e));
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.limiteGiroDescubierto = "20000";
    juegoDePrueba().crearJuego(equipos, t);
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    jugarPeriodos(hasta, decision);
}

std::string salidaDe(const std::string& orden) {
    std::string salida;
    if (FILE* tubo = popen(orden.c_str(), "r")) {
        char bloque[4096];
        for (std::size_t n; (n = fread(bloque, 1, sizeof bloque, tubo)) > 0;) salida.append(bloque, n);
        pclose(tubo);
    }
    return salida;
}

std::string entreComillas(const fs::path& ruta) { return "'" + ruta.string() + "'"; }

int paginasSegunPdfinfo(const fs::path& pdf) {
    std::istringstream info(salidaDe("pdfinfo " + entreComillas(pdf)));
    for (std::string linea; std::getline(info, linea);)
        if (linea.rfind("Pages:", 0) == 0) return std::stoi(linea.substr(6));
    return -1;
}

std::string sinBlancosAlFinal(std::string linea) {
    while (!linea.empty() && (linea.back() == ' ' || linea.back() == '\r')) linea.pop_back();
    return linea;
}

std::size_t caracteres(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

/// The pages of a PDF as pdftotext reads them in fixed-pitch layout with
/// this character width, each a list of lines; the page margin (the
/// header's indentation) is taken off every line.
std::vector<std::vector<std::string>> paginasComoTexto(const fs::path& pdf, double puntos) {
    // pdftotext wants a decimal point: std::to_string would write the regional comma.
    char ancho[32];
    const auto fin = std::to_chars(ancho, ancho + sizeof ancho, puntos, std::chars_format::fixed, 6).ptr;
    const std::string texto = salidaDe("pdftotext -enc UTF-8 -fixed " + std::string(ancho, fin) + " " +
                                       entreComillas(pdf) + " -");
    std::vector<std::vector<std::string>> paginas;
    std::istringstream hojas(texto);
    for (std::string hoja; std::getline(hojas, hoja, '\f');) {
        std::vector<std::string> lineas;
        std::istringstream s(hoja);
        for (std::string linea; std::getline(s, linea);) lineas.push_back(sinBlancosAlFinal(linea));
        while (!lineas.empty() && lineas.front().empty()) lineas.erase(lineas.begin());
        const std::size_t margen = lineas.empty() ? 0 : lineas.front().find_first_not_of(' ');
        for (std::string& linea : lineas)
            if (linea.size() >= margen && linea.find_first_not_of(' ') >= margen) linea.erase(0, margen);
        paginas.push_back(lineas);
    }
    // The form feed after the last page leaves nothing behind it.
    if (!paginas.empty() && paginas.back().empty()) paginas.pop_back();
    return paginas;
}

/// A report's lines as expected on paper: UTF-8, tabs expanded, trailing
/// blanks dropped; CR LF, LF and a lone CR (the notices wrap with it) end a line.
std::vector<std::string> lineasEsperadas(const std::string& reporte1252) {
    std::vector<std::string> lineas;
    std::string texto = cp1252AUtf8(reporte1252);
    for (std::size_t i = 0; i < texto.size(); ++i)
        if (texto[i] == '\r') {
            if (i + 1 < texto.size() && texto[i + 1] == '\n') texto.erase(i, 1);
            else texto[i] = '\n';
        }
    std::istringstream s(texto);
    for (std::string linea; std::getline(s, linea);) {
        std::string expandida;
        std::size_t columna = 0;
        for (std::size_t i = 0; i < linea.size(); ++i) {
            if (linea[i] == '\t') {
                expandida.append(8 - columna % 8, ' ');
                columna += 8 - columna % 8;
                continue;
            }
            expandida.push_back(linea[i]);
            if ((static_cast<unsigned char>(linea[i]) & 0xC0) != 0x80) ++columna;  // one per character
        }
        lineas.push_back(sinBlancosAlFinal(expandida));
    }
    while (!lineas.empty() && lineas.back().empty()) lineas.pop_back();
    return lineas;
}

struct TInformeEsperado {
    std::string reporte;     // file name in the history
    std::string encabezado;  // what the header of its pages names (UTF-8)
};

/// Checks a PDF against the reports it should hold, in order: the page count,
/// a header on every page naming the game folder, the period and the company,
/// and every line of every report on its pages; with graficos, then a last
/// page with the season's charts.
void comprobarPdf(const fs::path& pdf, int periodo, const std::vector<TInformeEsperado>& informes,
                  bool graficos = false) {
    SCOPED_TRACE(pdf.filename().string());
    ASSERT_TRUE(fs::exists(pdf));
    std::size_t columnas = 0;
    for (const TInformeEsperado& informe : informes)
        for (const std::string& linea : lineasEsperadas(juegoDePrueba().reporteDelHistorial(periodo, informe.reporte)))
            columnas = std::max(columnas, caracteres(linea));
    const auto paginas = paginasComoTexto(pdf, puntosPorColumna(static_cast<qsizetype>(columnas)));
    std::size_t hoja = 0;
    int esperadas = 0;
    const std::string juego = fs::absolute(carpetaDePrueba().ruta()).lexically_normal().filename().string();
    for (const TInformeEsperado& informe : informes) {
        SCOPED_TRACE(informe.reporte);
        const auto lineas = lineasEsperadas(juegoDePrueba().reporteDelHistorial(periodo, informe.reporte));
        const int propias = std::max<int>(1, static_cast<int>((lineas.size() + lineasPorPagina - 1) / lineasPorPagina));
        esperadas += propias;
        for (int p = 0; p < propias; ++p, ++hoja) {
            ASSERT_LT(hoja, paginas.size());
            std::vector<std::string> texto = paginas[hoja];
            ASSERT_FALSE(texto.empty());
            const std::string& encabezado = texto.front();
            EXPECT_NE(encabezado.find(juego), std::string::npos) << encabezado;
            EXPECT_NE(encabezado.find("Período " + std::to_string(periodo)), std::string::npos) << encabezado;
            EXPECT_NE(encabezado.find(informe.encabezado), std::string::npos) << encabezado;
            EXPECT_NE(encabezado.find("Hoja " + std::to_string(hoja + 1) + " de "), std::string::npos) << encabezado;
            texto.erase(texto.begin());
            while (!texto.empty() && texto.front().empty()) texto.erase(texto.begin());
            while (!texto.empty() && texto.back().empty()) texto.pop_back();
            std::vector<std::string> propiasLineas(
                lineas.begin() + std::min<std::size_t>(lineas.size(), p * lineasPorPagina),
                lineas.begin() + std::min<std::size_t>(lineas.size(), (p + 1) * lineasPorPagina));
            while (!propiasLineas.empty() && propiasLineas.front().empty()) propiasLineas.erase(propiasLineas.begin());
            while (!propiasLineas.empty() && propiasLineas.back().empty()) propiasLineas.pop_back();
            ASSERT_EQ(texto.size(), propiasLineas.size()) << "hoja " << hoja + 1;
            for (std::size_t i = 0; i < texto.size(); ++i)
                EXPECT_EQ(texto[i], propiasLineas[i]) << "hoja " << hoja + 1 << ", línea " << i + 1;
        }
    }
    if (graficos) {
        ++esperadas;
        ASSERT_EQ(hoja + 1, paginas.size()) << "falta la hoja de gráficos";
        const std::vector<std::string>& texto = paginas[hoja++];
        ASSERT_FALSE(texto.empty());
        EXPECT_NE(texto.front().find("Período " + std::to_string(periodo) + " · Temporada · Gráficos"), std::string::npos)
            << texto.front();
        EXPECT_NE(texto.front().find("Hoja " + std::to_string(esperadas) + " de " + std::to_string(esperadas)),
                  std::string::npos)
            << texto.front();
        std::string todo;
        for (const std::string& linea : texto) todo += linea + "\n";
        for (const char* titulo : {"Utilidad acumulada", "Unidades vendidas", "Empleados"})
            EXPECT_NE(todo.find(titulo), std::string::npos) << titulo;
    }
    EXPECT_EQ(hoja, paginas.size());
    EXPECT_EQ(paginasSegunPdfinfo(pdf), esperadas);
}

}  // namespace

TEST(DocumentosPdf, CadaEmpresaRecibeLoSuyoYElDocenteTodo) {
    CarpetaTemporal carpeta;
    jugar({"Alfa", "Ñandú", "Café/Té"}, 1);
    const fs::path salida = carpeta / "entregas";
    const TArchivoPeriodo periodo = juegoDePrueba().periodoDelHistorial(1);
    ASSERT_EQ(periodo.industria.size(), 3u);
    ASSERT_FALSE(periodo.industria[1].aviso.empty()) << "Ñandú debía quebrar y recibir su aviso";

    const auto escritos = escribirPdfsDelPeriodo(juegoDePrueba(), 1, salida);

    const std::vector<std::string> nombres = {"Periodo 1 - Alfa.pdf", "Periodo 1 - Ñandú.pdf",
                                              "Periodo 1 - Café_Té.pdf", "Periodo 1 (todos los informes).pdf"};
    ASSERT_EQ(escritos.size(), nombres.size());
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        EXPECT_EQ(escritos[i].ruta, salida / nombres[i]);
        EXPECT_EQ(escritos[i].paginas, paginasSegunPdfinfo(escritos[i].ruta)) << nombres[i];
    }
    const TInformeEsperado industria{periodo.reporteIndustria, "Industria"};
    std::vector<TInformeEsperado> todos{industria}, avisos;
    for (std::size_t i = 0; i < periodo.industria.size(); ++i) {
        const TFilaIndustria& f = periodo.industria[i];
        const std::string empresa = cp1252AUtf8(f.empresa);
        std::vector<TInformeEsperado> suyos{{f.reporte, empresa}};
        if (!f.aviso.empty()) {
            suyos.push_back({f.aviso, empresa});
            avisos.push_back({f.aviso, empresa});
        }
        suyos.push_back(industria);
        comprobarPdf(escritos[i].ruta, 1, suyos);
        todos.push_back({f.reporte, empresa});
    }
    todos.insert(todos.end(), avisos.begin(), avisos.end());
    comprobarPdf(escritos.back().ruta, 1, todos, true);
}

TEST(DocumentosPdf, LosInformesLargosSiguenEnLasHojasSiguientes) {
    CarpetaTemporal carpeta;
    std::vector<std::string> equipos;
    for (int i = 1; i <= 70; ++i) equipos.push_back("Equipo " + std::to_string(i));
    jugar(equipos, 1);
    const TArchivoPeriodo periodo = juegoDePrueba().periodoDelHistorial(1);
    ASSERT_GT(lineasEsperadas(juegoDePrueba().reporteDelHistorial(1, periodo.reporteIndustria)).size(),
              static_cast<std::size_t>(lineasPorPagina))
        << "el informe de la industria debía ocupar más de una hoja";
    const auto escritos = escribirPdfsDelPeriodo(juegoDePrueba(), 1, carpeta / "pdf");
    ASSERT_EQ(escritos.size(), 71u);
    comprobarPdf(escritos[0].ruta, 1,
                 {{periodo.industria[0].reporte, "Equipo 1"}, {periodo.reporteIndustria, "Industria"}});
}

TEST(DocumentosPdf, ElPeriodoCeroTambien) {
    CarpetaTemporal carpeta;
    jugar({"Alfa", "Beta"}, 0);
    const auto escritos = escribirPdfsDelPeriodo(juegoDePrueba(), 0, carpeta / "pdf");
    const TArchivoPeriodo periodo = juegoDePrueba().periodoDelHistorial(0);
    ASSERT_EQ(escritos.size(), 3u);
    comprobarPdf(escritos[1].ruta, 0, {{periodo.industria[1].reporte, "Beta"}, {periodo.reporteIndustria, "Industria"}});
}

TEST(DocumentosPdf, SeRechazaLoQueNoSePuede) {
    CarpetaTemporal carpeta;
    jugar({"Alfa", "Beta"}, 1);
    for (int periodo : {2, -1, 11}) {
        SCOPED_TRACE(periodo);
        EXPECT_THROW(escribirPdfsDelPeriodo(juegoDePrueba(), periodo, carpeta / "pdf"), ErrorJuego);
    }
    EXPECT_FALSE(fs::exists(carpeta / "pdf"));
    // A file where the folder should be.
    escribirBytes(carpeta / "ocupado", {'x'});
    EXPECT_THROW(escribirPdfsDelPeriodo(juegoDePrueba(), 1, carpeta / "ocupado"), ErrorArchivo);
}

TEST(DocumentosPdf, LineasComoLasMuestraElPapel) {
    const struct {
        std::string bytes;
        QStringList lineas;
    } casos[] = {
        {"a\tb\r\nab\tc\r\n", {"a       b", "ab      c"}},
        {"1234567\tx\r\n12345678\tx", {"1234567 x", "12345678        x"}},
        {cp1252("Año\tñ\r\n\r\n   \r\n"), {QString::fromUtf8("Año     ñ")}},
        {"sin fin de linea", {"sin fin de linea"}},
        {"\r\n\r\n", {}},
        {"x\n\ty", {"x", "        y"}},
        {"su\rempresa\r\n\r\rfin", {"su", "empresa", "", "", "fin"}},
    };
    for (const auto& caso : casos) EXPECT_EQ(lineasDeReporte(caso.bytes), caso.lineas) << caso.bytes;
}

TEST(DocumentosPdf, NombresDeArchivoSeguros) {
    const struct {
        int periodo;
        std::string empresa;
        std::string nombre;
    } casos[] = {
        {3, "Alfa", "Periodo 3 - Alfa.pdf"},
        {0, cp1252("Compañía"), "Periodo 0 - Compañía.pdf"},
        {10, "A/B:C*?", "Periodo 10 - A_B_C__.pdf"},
        {2, "todos los informes", "Periodo 2 - todos los informes.pdf"},
    };
    for (const auto& caso : casos) EXPECT_EQ(nombrePdfEmpresa(caso.periodo, caso.empresa), caso.nombre);
    EXPECT_EQ(nombrePdfDocente(2), "Periodo 2 (todos los informes).pdf");
}

// The teacher's file of period 10 opens with the end of the game.
TEST(DocumentosPdf, ElUltimoPeriodoEmpiezaPorElFinal) {
    CarpetaTemporal carpeta;
    jugar({"Alfa", "Beta"}, 10);
    const auto escritos = escribirPdfsDelPeriodo(juegoDePrueba(), 10, carpeta / "entregas");
    const std::string texto = salidaDe("pdftotext -enc UTF-8 -l 1 " + entreComillas(escritos.back().ruta) + " -");
    EXPECT_NE(texto.find("Juego terminado"), std::string::npos) << texto;
    EXPECT_NE(texto.find("Ganó "), std::string::npos) << texto;
}
