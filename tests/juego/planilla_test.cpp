// The season's spreadsheet: every row of the .xlsx and the CSV is checked,
// read back from the file, against what the history keeps.

#include "comun/CarpetaTemporal.h"
#include "comun/Partida.h"
#include "comun/SistemaArchivosFalso.h"
#include "engine/apoyo_juego.h"
#include "juego/Juego.h"
#include "juego/Planilla.h"
#include "reports/Regional.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <regex>

namespace fs = std::filesystem;

namespace {

#ifdef CORVELIAN_XLSX
constexpr bool kConXlsx = true;
#else
constexpr bool kConXlsx = false;
#endif

const std::string kRaro = "Beta; \"B\", S.A.";  // needs quoting with either separator

TRegDecision decision(int empresa, int periodo) {
    TRegDecision d{60 + 10 * empresa + periodo, 75, 2000, 4000 + 1000 * empresa, 1000, 0, 0, 0, 0, 0};
    if (empresa == 2 && periodo == 2) d.invPlanta = 900000;  // beyond every limit: bankrupt
    return d;
}

// Period 0 and three periods of three companies; the third goes bankrupt in period 2.
void jugarTemporada() {
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.limiteGiroDescubierto = "20000";
    t.interesA = std::string("12") + separadorDecimal() + "5";  // as typed on the screen
    juegoDePrueba().crearJuego({"Alfa", cp1252(kRaro), cp1252("Ñandú")}, t);
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    jugarPeriodos(3, decision);
}

std::string salidaDe(const std::string& orden) {
    std::string salida;
    FILE* tubo = ::popen(orden.c_str(), "r");
    if (!tubo) return salida;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, tubo)) > 0;) salida.append(buffer, n);
    ::pclose(tubo);
    return salida;
}

std::string sinEntidades(std::string t) {
    const std::pair<const char*, const char*> entidades[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [de, a] : entidades)
        for (std::size_t p; (p = t.find(de)) != std::string::npos;) t.replace(p, std::strlen(de), a);
    return t;
}

int columnaDe(const std::string& letras) {
    int c = 0;
    for (char l : letras) c = c * 26 + (l - 'A' + 1);
    return c - 1;
}

// A sheet of the workbook as text cells (numbers as written), by row and column.
using TTabla = std::vector<std::vector<std::string>>;

TTabla leerHoja(const fs::path& libro, int numero) {
    const std::string zip = "unzip -p '" + libro.string() + "' ";
    std::vector<std::string> compartidos;
    const std::string sst = salidaDe(zip + "xl/sharedStrings.xml");
    const std::regex si("<si><t(?: [^>]*)?>([^<]*)</t></si>");
    for (auto it = std::sregex_iterator(sst.begin(), sst.end(), si); it != std::sregex_iterator(); ++it)
        compartidos.push_back(sinEntidades((*it)[1]));
    const std::string xml = salidaDe(zip + "xl/worksheets/sheet" + std::to_string(numero) + ".xml");
    const std::regex celda("<c r=\"([A-Z]+)([0-9]+)\"((?: [a-z]+=\"[^\"]*\")*)><v>([^<]*)</v></c>");
    TTabla tabla;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), celda); it != std::sregex_iterator(); ++it) {
        const auto& m = *it;
        const std::size_t fila = std::stoul(m[2]) - 1, col = static_cast<std::size_t>(columnaDe(m[1]));
        if (tabla.size() <= fila) tabla.resize(fila + 1);
        if (tabla[fila].size() <= col) tabla[fila].resize(col + 1);
        const bool texto = m[3].str().find(" t=\"s\"") != std::string::npos;
        tabla[fila][col] = texto ? compartidos.at(std::stoul(m[4])) : m[4].str();
    }
    return tabla;
}

// One CSV record per line (the test's names hold no line breaks).
TTabla leerCsv(const std::string& texto, char separador) {
    TTabla tabla;
    std::size_t i = 0;
    while (i < texto.size()) {
        std::vector<std::string> fila;
        std::string campo;
        bool comillas = false;
        for (; i < texto.size(); ++i) {
            const char c = texto[i];
            if (comillas) {
                if (c == '"' && i + 1 < texto.size() && texto[i + 1] == '"') campo += '"', ++i;
                else if (c == '"') comillas = false;
                else campo += c;
            } else if (c == '"') comillas = true;
            else if (c == separador) fila.push_back(campo), campo.clear();
            else if (c == '\r' && texto.compare(i, 2, "\r\n") == 0) { i += 2; break; }
            else campo += c;
        }
        fila.push_back(campo);
        tabla.push_back(fila);
    }
    return tabla;
}

using TValor = std::function<double(const TArchivoPeriodo&, std::size_t)>;

// Every column of "Resultados" with what the history says it holds.
const std::vector<std::pair<std::string, TValor>>& columnasResultados() {
    static const std::vector<std::pair<std::string, TValor>> c = {
        {"Período", [](auto& p, auto) { return p.periodo; }},
        {"Nº empresa", [](auto&, auto i) { return static_cast<double>(i + 1); }},
        {"Intereses", [](auto& p, auto i) { return p.empresas[i].intereses; }},
        {"Stock (u$s)", [](auto& p, auto i) { return p.empresas[i].stockValor; }},
        {"Giro en descubierto", [](auto& p, auto i) { return p.empresas[i].giroDescubierto; }},
        {"Zona", [](auto& p, auto i) { return p.empresas[i].zona; }},
        {"Préstamo banco A", [](auto& p, auto i) { return p.empresas[i].prestamoA; }},
        {"Préstamo banco B", [](auto& p, auto i) { return p.empresas[i].prestamoB; }},
        {"Planta", [](auto& p, auto i) { return p.empresas[i].planta; }},
        {"Efectivo", [](auto& p, auto i) { return p.empresas[i].efectivo; }},
        {"Utilidad acumulada", [](auto& p, auto i) { return p.empresas[i].utilidadAcumulada; }},
        {"Stock (unidades)", [](auto& p, auto i) { return p.empresas[i].stockUnidades; }},
        {"Investigación y desarrollo acumulada", [](auto& p, auto i) { return p.empresas[i].invYDesAcumulada; }},
        {"Capacitación acumulada", [](auto& p, auto i) { return p.empresas[i].capacitacionAcumulada; }},
        {"Empleados", [](auto& p, auto i) { return p.empresas[i].empleados; }},
        {"Quebrada", [](auto& p, auto i) { return p.empresas[i].quebrada; }},
        {"Marca de quiebra", [](auto& p, auto i) { return p.empresas[i].marcaQuiebra; }},
        {"Precio", [](auto& p, auto i) { return p.industria[i].precio; }},
        {"Ventas", [](auto& p, auto i) { return p.industria[i].ventas; }},
        {"Utilidad del período", [](auto& p, auto i) { return p.industria[i].utilidadPeriodo; }},
        {"Utilidad acumulada (informe)", [](auto& p, auto i) { return p.industria[i].utilidadAcumulada; }},
        {"Unidades vendidas", [](auto& p, auto i) { return p.industria[i].unidadesVendidas; }},
        {"Participación de mercado (%)", [](auto& p, auto i) { return p.industria[i].participacion; }},
    };
    return c;
}

const std::vector<std::pair<std::string, TValor>>& columnasDecisiones() {
    static const std::vector<std::pair<std::string, TValor>> c = {
        {"Período", [](auto& p, auto) { return p.periodo; }},
        {"Nº empresa", [](auto&, auto i) { return static_cast<double>(i + 1); }},
        {"Precio", [](auto& p, auto i) { return p.decisiones[i].precio; }},
        {"Nivel de producción (%)", [](auto& p, auto i) { return p.decisiones[i].nivelProduccion; }},
        {"Capacitación", [](auto& p, auto i) { return p.decisiones[i].capacitacion; }},
        {"Marketing", [](auto& p, auto i) { return p.decisiones[i].marketing; }},
        {"Investigación y desarrollo", [](auto& p, auto i) { return p.decisiones[i].invYDes; }},
        {"Inversión en planta", [](auto& p, auto i) { return p.decisiones[i].invPlanta; }},
        {"Préstamo pedido al banco A", [](auto& p, auto i) { return p.decisiones[i].pedPrestamoA; }},
        {"Préstamo pedido al banco B", [](auto& p, auto i) { return p.decisiones[i].pedPrestamoB; }},
        {"Devolución al banco A", [](auto& p, auto i) { return p.decisiones[i].devPrestamoA; }},
        {"Devolución al banco B", [](auto& p, auto i) { return p.decisiones[i].devPrestamoB; }},
    };
    return c;
}

std::size_t indice(const std::vector<std::string>& titulos, const std::string& titulo) {
    for (std::size_t i = 0; i < titulos.size(); ++i)
        if (titulos[i] == titulo) return i;
    ADD_FAILURE() << "falta la columna «" << titulo << "»";
    return titulos.size();
}

double numeroCon(std::string texto, char decimal) {
    if (decimal == ',') {
        EXPECT_EQ(texto.find('.'), std::string::npos) << texto;
        for (char& c : texto)
            if (c == ',') c = '.';
    }
    // from_chars: the test's own reading must not follow the regional settings.
    double valor = 0;
    const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    EXPECT_TRUE(r.ec == std::errc() && r.ptr == texto.data() + texto.size()) << texto;
    return valor;
}

// Every row of a per-company sheet against the history, row order included.
void compararConHistorial(const TTabla& tabla, const std::vector<std::pair<std::string, TValor>>& columnas,
                          bool conPosicion, char decimal) {
    ASSERT_FALSE(tabla.empty());
    const auto& titulos = tabla[0];
    std::size_t fila = 1;
    for (int periodo : juegoDePrueba().periodosDelHistorial()) {
        const TArchivoPeriodo p = juegoDePrueba().periodoDelHistorial(periodo);
        for (std::size_t i = 0; i < p.empresas.size(); ++i, ++fila) {
            SCOPED_TRACE("período " + std::to_string(periodo) + ", empresa " + std::to_string(i + 1));
            ASSERT_LT(fila, tabla.size());
            std::vector<std::string> celdas = tabla[fila];
            celdas.resize(titulos.size());
            EXPECT_EQ(celdas[indice(titulos, "Empresa")], cp1252AUtf8(aTexto(p.empresas[i].nombreEmpresa)));
            for (const auto& [titulo, valor] : columnas) {
                const std::size_t c = indice(titulos, titulo);
                if (c < celdas.size()) {
                    EXPECT_DOUBLE_EQ(numeroCon(celdas[c], decimal), valor(p, i)) << titulo;
                }
            }
            if (conPosicion) {
                const std::string posicion = celdas[indice(titulos, "Posición")];
                if (p.industria[i].posicion == 0) EXPECT_EQ(posicion, "");
                else EXPECT_EQ(posicion, std::to_string(p.industria[i].posicion));
            }
        }
    }
    EXPECT_EQ(fila, tabla.size()) << "filas de más";
}

class Planilla : public ::testing::Test {
protected:
    CarpetaTemporal carpeta;
};

}  // namespace

TEST_F(Planilla, ElLibroTraeCadaFilaDelHistorial) {
    if (!kConXlsx) GTEST_SKIP() << "built without libxlsxwriter";
    jugarTemporada();
    const fs::path libro = carpeta / "temporada.xlsx";
    exportarPlanilla(juegoDePrueba(), libro);
    ASSERT_TRUE(fs::is_regular_file(libro));
    EXPECT_FALSE(fs::exists(carpeta / "temporada.xlsx.tmp"));

    const std::string indiceLibro = salidaDe("unzip -p '" + libro.string() + "' xl/workbook.xml");
    const auto r = indiceLibro.find("name=\"Resultados\""), d = indiceLibro.find("name=\"Decisiones\""),
               p = indiceLibro.find("name=\"Parametros\"");
    ASSERT_NE(p, std::string::npos) << indiceLibro;
    EXPECT_LT(r, d);
    EXPECT_LT(d, p);

    const TTabla resultados = leerHoja(libro, 1);
    compararConHistorial(resultados, columnasResultados(), true, '.');
    {
        // A decimal comma in the regional settings never reaches the workbook's XML.
        ACTIVAR_COMA_DECIMAL(regional);
        const fs::path conComa = carpeta / "coma.xlsx";
        exportarPlanilla(juegoDePrueba(), conComa);
        compararConHistorial(leerHoja(conComa, 1), columnasResultados(), true, '.');
    }
    // The bankrupt company of period 2 stays in that period's rows, without a rank.
    EXPECT_EQ(resultados.size(), 1u + 3 + 3 + 3 + 2);
    compararConHistorial(leerHoja(libro, 2), columnasDecisiones(), false, '.');

    // The parameters as the screens show them: percent typed, yearly interest.
    const TTabla parametros = leerHoja(libro, 3);
    std::map<std::string, std::string> valor;
    for (std::size_t f = 1; f < parametros.size(); ++f)
        if (parametros[f].size() >= 2) valor[parametros[f][0]] = parametros[f][1];
    const TRegDatosIniciales ultimo = juegoDePrueba().periodoDelHistorial(3).parametros;
    struct Caso {
        std::string nombre;
        double esperado;
    };
    const Caso casos[] = {
        {"INTERESES(%) NACION", 12.5},
        {"INTERESES(%) PROVINCIA", static_cast<double>(aDecimal(ejemploDatosIniciales().interesB))},
        {"IMPUESTOS(%)", static_cast<double>(aDecimal(ejemploDatosIniciales().impuestos))},
        {"PLANTA", static_cast<double>(ultimo.planta)},
        {"LÍMITE MAX. GIRO EN DESC.", 20000},
        {"MULTIP. ORDENES +", static_cast<double>(ultimo.multipOrdenesMas)},
        {"Empresas activas", 2},
        {"Próximo período", 4},
    };
    for (const Caso& caso : casos) {
        ASSERT_TRUE(valor.count(caso.nombre)) << caso.nombre;
        EXPECT_DOUBLE_EQ(numeroCon(valor[caso.nombre], '.'), caso.esperado) << caso.nombre;
    }
    EXPECT_EQ(valor["NOMBRE BANCO A"], "NACION");
}

TEST_F(Planilla, ElCsvSigueLaConfiguracionRegional) {
    jugarTemporada();
    struct Caso {
        bool comaDecimal;
        char separador, decimal;
    };
    // The environment's format (ctest runs this under C and under es_AR), then the comma.
    const char decimalDelEntorno = separadorDecimal();
    const Caso casos[] = {Caso{false, decimalDelEntorno == ',' ? ';' : ',', decimalDelEntorno}, Caso{true, ';', ','}};
    for (const Caso caso : casos) {
        SCOPED_TRACE(caso.comaDecimal ? "es_AR" : "entorno");
        std::optional<ConComaDecimal> regional;
        if (caso.comaDecimal) {
            regional.emplace();
            ASSERT_TRUE(regional->disponible()) << "falta la configuración regional es_AR.UTF-8";
        }
        const fs::path archivo = carpeta / "resultados.CSV";
        exportarPlanilla(juegoDePrueba(), archivo);
        const std::string texto = leerTexto(archivo);
        ASSERT_EQ(texto.rfind("\xEF\xBB\xBF", 0), 0u) << "falta la marca de orden de bytes";
        const TTabla tabla = leerCsv(texto.substr(3), caso.separador);
        compararConHistorial(tabla, columnasResultados(), true, caso.decimal);
        ASSERT_GE(tabla.size(), 3u);
        EXPECT_EQ(tabla[2][2], kRaro);
        EXPECT_EQ(tabla[3][2], "Ñandú");
        for (const auto& fila : tabla) EXPECT_EQ(fila.size(), tabla[0].size());
    }
}

TEST_F(Planilla, SinHistorialOConOtraExtensionSeNiega) {
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    struct Caso {
        const char* archivo;
        const char* mensaje;
    };
    const Caso casos[] = {
        {"temporada.xlsx", "No hay períodos simulados"},
        {"temporada.csv", "No hay períodos simulados"},
        {"temporada.ods", ".xlsx o .csv"},
        {"temporada", ".xlsx o .csv"},
    };
    for (const Caso& caso : casos) {
        try {
            exportarPlanilla(juegoDePrueba(), carpeta / caso.archivo);
            ADD_FAILURE() << caso.archivo << " se exportó";
        } catch (const ErrorJuego& e) {
            EXPECT_NE(std::string(e.what()).find(caso.mensaje), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(carpeta / caso.archivo)) << caso.archivo;
    }
}

TEST_F(Planilla, UnaFallaSeInformaYDejaElArchivoAnterior) {
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    struct Caso {
        const char* archivo;
        TSistemaArchivos::Operacion operacion;
    };
    const Caso casos[] = {
        {"vieja.xlsx", TSistemaArchivos::Operacion::renombrar},
        {"vieja.xlsx", TSistemaArchivos::Operacion::sincronizar},
        {"vieja.csv", TSistemaArchivos::Operacion::renombrar},
        {"vieja.csv", TSistemaArchivos::Operacion::escribir},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.archivo);
        const fs::path archivo = carpeta / caso.archivo;
        if (!kConXlsx && archivo.extension() == ".xlsx") continue;
        escribirBytes(archivo, {'v', 'i', 'e', 'j', 'a'});
        {
            TSistemaArchivosFalso falso;
            falso.fallarEn(1, caso.operacion);
            EXPECT_THROW(exportarPlanilla(juegoDePrueba(), archivo), ErrorArchivo);
            EXPECT_TRUE(falso.fallaOcurrida());
        }
        EXPECT_EQ(leerTexto(archivo), "vieja");
        fs::path temporal = archivo;
        temporal += ".tmp";
        EXPECT_FALSE(fs::exists(temporal));
    }
    if (!kConXlsx) return;
    // A folder that does not exist is named, in Spanish.
    try {
        exportarPlanilla(juegoDePrueba(), carpeta / "no existe" / "t.xlsx");
        ADD_FAILURE() << "se exportó a una carpeta que no existe";
    } catch (const ErrorArchivo& e) {
        EXPECT_NE(std::string(e.what()).find("no existe"), std::string::npos) << e.what();
    }
#ifdef _WIN32
    return;  // MinGW's std::filesystem cannot create symbolic links
#endif
    // A planted link at the temporary name is replaced, never written through.
    const fs::path blanco = carpeta / "blanco.txt";
    escribirBytes(blanco, {'b'});
    fs::create_symlink(blanco, carpeta / "t.xlsx.tmp");
    exportarPlanilla(juegoDePrueba(), carpeta / "t.xlsx");
    EXPECT_EQ(leerTexto(blanco), "b");
    EXPECT_FALSE(fs::exists(carpeta / "t.xlsx.tmp"));
}

// Without libxlsxwriter the workbook is refused in Spanish, nothing is
// written, and the CSV still works.
TEST_F(Planilla, SinLaBibliotecaDeXlsxSoloSeExportaCsv) {
    if (kConXlsx) GTEST_SKIP() << "built with libxlsxwriter";
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    for (const char* nombre : {"t.xlsx", "T.XLSX"}) {
        try {
            exportarPlanilla(juegoDePrueba(), carpeta / nombre);
            ADD_FAILURE() << nombre << " se exportó";
        } catch (const ErrorJuego& e) {
            EXPECT_NE(std::string(e.what()).find("exporte la planilla como .csv"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(carpeta / nombre)) << nombre;
        EXPECT_FALSE(fs::exists(carpeta / (std::string(nombre) + ".tmp"))) << nombre;
    }
    exportarPlanilla(juegoDePrueba(), carpeta / "t.csv");
    EXPECT_EQ(leerTexto(carpeta / "t.csv").substr(0, 3), "\xEF\xBB\xBF");
}

TEST_F(Planilla, UnaCarpetaAlcanzadaPorUnEnlaceSirve) {
#ifdef _WIN32
    GTEST_SKIP() << "MinGW's std::filesystem cannot create symbolic links";
#endif
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    fs::create_directory(carpeta / "real");
    fs::create_directory_symlink(carpeta / "real", carpeta / "enlace");
    for (const char* nombre : {"t.xlsx", "t.csv"}) {
        if (!kConXlsx && fs::path(nombre).extension() == ".xlsx") continue;
        exportarPlanilla(juegoDePrueba(), carpeta / "enlace" / nombre);
        EXPECT_TRUE(fs::is_regular_file(carpeta / "real" / nombre)) << nombre;
    }
}
