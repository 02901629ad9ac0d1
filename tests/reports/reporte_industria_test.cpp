// The industry and competition report, byte for byte, and its ranking.

#include "Regional.h"
#include "comun/CarpetaTemporal.h"
#include "reports/Reportes_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Datos_UD.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

namespace {

/// Spaces in front up to the width, never cut.
std::string izq(const std::string& texto, std::size_t ancho) {
    return texto.size() >= ancho ? texto : std::string(ancho - texto.size(), ' ') + texto;
}

std::string archivo(const std::vector<std::string>& lineas) {
    std::string texto;
    for (const auto& linea : lineas) texto += linea + "\r\n";
    return texto;
}

// The report prints the game's stored severance and penalty.
void guardarParametros(double tasaGiroDescubierto) {
    TRegDatosIniciales r{};
    r.tasaGiroDescubierto = tasaGiroDescubierto;
    r.indemXEmpleado = 450;
    r.penalidad = 750;
    TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(r);
}

void guardarEmpresa(uint8_t numero, const std::string& nombreEmpresa, uint8_t quebrada, uint8_t marcaQuiebra) {
    TRegDatosAcum r{};
    asignar(r.nombreEmpresa, nombreEmpresa);
    r.zona = 1;
    r.quebrada = quebrada;
    r.marcaQuiebra = marcaQuiebra;
    TDatosAcum(carpetaDePrueba()).guardarAcum(numero, r);
}

struct Fila {
    std::string nombre, precio, ventas, unidades, utilPeriodo, utilAcum, mercado;
};

/// An industry record of a period run, each figure different from the rest.
indstr industria(const std::vector<Fila>& filas) {
    indstr r;
    for (const auto& f : filas) {
        r.nombres.push_back(f.nombre);
        r.precios.push_back(f.precio);
        r.ventasdol.push_back(f.ventas);
        r.unidvendidas.push_back(f.unidades);
        r.utilperiodos.push_back(f.utilPeriodo);
        r.utilacums.push_back(f.utilAcum);
        r.mercados.push_back(f.mercado);
    }
    r.bancoa = "NACION\t";
    r.bancob = "BNA\t\t";
    r.empresa = "";
    r.primera = 0;
    r.cantidad = static_cast<uint8_t>(filas.size());
    r.capprom = "     62";
    r.periodo = "4";
    r.zona = "1";
    r.iydacum = "  84000";
    r.mantstockunid = "      3";
    r.tasaprimaa = " 24.00";
    r.tasaprimab = " 30.00";
    r.tasaimp = " 35.00";
    r.tasamant = "     5";
    r.totordenes = "  10500";
    r.totproducido = "   9800";
    r.totcapacidad = "  12000";
    r.totvendido = "   9100";
    r.totstock = "    700";
    r.totnorealiz = "   1400";
    r.totempleados = "    120";
    r.ventasxempleado = "   1365";
    r.limitegiro = " 100000";
    r.totventas = "1638000";
    r.limitea = "  50000";
    r.limiteb = "  60000";
    r.costoprom = " 12.35";
    r.precioprom = "180.50";
    return r;
}

/// Lines 1 to 29 of the report for the record above, with the given period
/// text in the title and overdraft rate text.
std::vector<std::string> cabecera(const std::string& periodo, const std::string& tasaGiro, const std::string& tasaImp,
                                  const std::string& precioProm) {
    const std::string b18(18, ' ');
    return {
        cp1252("            Informe Industrial de la Zona 1 para el Período ") + periodo,
        "",
        "      UNIDADES          " + b18 + "                   DOLARES",
        "      --------          " + b18 + "                   -------",
        "Capacidad Total         " + izq("  12000", 18) + "               Ingreso por vtas    u$s " + izq("1638000", 10),
        "Total Producido         " + izq("   9800", 18) + "               Precio Promedio     u$s " + izq(precioProm, 10),
        "Total Ord. Recibidas    " + izq("  10500", 18) + "               Costo Prod. Prom.   u$s " + izq(" 12.35", 10),
        "Total Vendido           " + izq("   9100", 18),
        "Stock Total             " + izq("    700", 18),
        "",
        "      PRODUCTIVIDAD     " + b18 + "                   ECONOMIA",
        "      -------------     " + b18 + "                   --------",
        "Cant. Empleados         " + izq("    120", 18) + "               Banco NACION\t",
        "Ventas/Empleado     u$s " + izq("   1365", 18) + cp1252("               *Préstamo Límite    u$s ") +
            izq("  50000", 10),
        "Capac. Prom. Utiliz.  % " + izq("     62", 18) + "               *Tasa Prima             " + izq(" 24.00", 10),
        std::string(24, ' ') + b18 + "               Banco BNA\t\t",
        "Inv. y des. acum.   u$s " + izq("  84000", 18) + cp1252("               *Préstamo Límite    u$s ") +
            izq("  60000", 10),
        std::string(24, ' ') + b18 + "               *Tasa Prima             " + izq(" 30.00", 10),
        "",
        "Tasa de Mantenimiento % " + izq("     5", 18) + "               Limite Giro Desc.   u$s " + izq(" 100000", 10),
        "Mantenim. de Stock  u$s " + izq("      3", 18) + " c/u" + "           Tasa Giro Desc. Anual % " +
            izq(tasaGiro, 10),
        cp1252("Indemnización x Empleado") + izq("450", 18) + "               Tasa Imp. Ganancias   % " +
            izq(tasaImp, 10),
        "Valor de la Penalidad   " + izq("750", 18),
        "",
        " - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -",
        "                              INFORME DE COMPETICION",
        "                              ------- -- -----------",
        "Nombre              Ventas     Precio     UnidVend     UtilPeri      UtilAcum    %Mercado Pos.",
        "---------------    --------   --------    --------    ---------     ---------   --------- ----",
    };
}

/// A competition line: name column of 16, then each figure in its column.
std::string competidor(const std::string& nombre16, const std::string& v, const std::string& p, const std::string& u,
                       const std::string& up, const std::string& ua, const std::string& m, const std::string& x) {
    return nombre16 + " " + izq(v, 10) + "    " + izq(p, 6) + "    " + izq(u, 8) + "     " + izq(up, 8) + "      " +
           izq(ua, 8) + "    " + izq(m, 6) + "   " + izq(x, 2);
}

}  // namespace

TEST(ReporteIndustria, PeriodoConQuebradasYEmpatesByteAByte) {
    CarpetaTemporal carpeta;
    guardarParametros(0.035);  // 3.5 % per period: 10.5 % a year
    // Every flag combination: Beta went bankrupt this period but is still
    // listed, Delta is marked and left out, Epsilon's mark alone changes nothing.
    guardarEmpresa(1, "Alfa", 0, 0);
    guardarEmpresa(2, "Beta SA", 1, 0);
    guardarEmpresa(3, "Gamma Industrias del Sur", 0, 0);
    guardarEmpresa(4, "Delta", 1, 1);
    guardarEmpresa(5, "Epsilon", 0, 1);
    guardarEmpresa(6, "Zeta", 0, 0);
    const indstr r = industria({
        {"Alfa        ", "    180", " 324000", "   1800", "  30303", "    700", " 19.78"},
        {"Beta SA        ", "    175", " 262500", "   1500", "  40404", "    900", " 16.48"},
        {"Gamma Industria    ", "    190", "12345678", "   1900", "  50505", "    500", " 20.88"},
        {"Delta        ", "    170", " 255000", "   1500", "  60606", "    800", " 16.48"},
        {"Epsilon        ", "    185", " 296000", "   1600", "  70707", "    700", " 17.58"},
        {"Zeta        ", "    160", " 192000", "123456789", "  -8080", "  -1200", " 10.99"},
    });
    TReporte(carpetaDePrueba()).ReporteIndustria(r);

    // Ranked without Beta and Delta: keys 700, 500, 700, -1200. The quicksort
    // leaves Epsilon above Alfa although both have 700.
    auto lineas = cabecera("4", "10.5", " 35.00", "180.50");
    lineas.push_back(competidor("Alfa            ", " 324000", "    180", "   1800", "  30303", "    700", " 19.78", "2"));
    lineas.push_back(competidor("Beta SA         ", " 262500", "    175", "   1500", "-", "-", " 16.48", "-"));
    lineas.push_back(competidor("Gamma Industria ", "12345678", "    190", "   1900", "  50505", "    500", " 20.88", "3"));
    lineas.push_back(competidor("Epsilon         ", " 296000", "    185", "   1600", "  70707", "    700", " 17.58", "1"));
    lineas.push_back(competidor("Zeta            ", " 192000", "    160", "123456789", "  -8080", "  -1200", " 10.99", "4"));
    lineas.push_back("");

    const std::string escrito = leerTexto(carpeta / "INDZONA1.txt");
    EXPECT_EQ(escrito, archivo(lineas));
    EXPECT_EQ(rutaReporteIndustria(r), "INDZONA1.txt");
    // Literal checks of a few bytes: accents, a shifted column, the separator.
    EXPECT_NE(escrito.find("Per\xED" "odo 4\r\n"), std::string::npos);
    EXPECT_NE(escrito.find("Indemnizaci\xF3n x Empleado"), std::string::npos);
    EXPECT_NE(escrito.find("Zeta             "
                           "    192000        160    123456789        -8080         -1200     10.99    4\r\n\r\n"),
              std::string::npos);
}

TEST(ReporteIndustria, PeriodoCeroTodasIgualesSinRanking) {
    CarpetaTemporal carpeta;
    ACTIVAR_COMA_DECIMAL(coma);
    guardarParametros(0.035);
    // No results file: the period-0 report ranks nobody and reads no company.
    indstr r = industria({
        {"Alfa        ", "    180", " 324000", "   1800", "  30303", "    700", "     33"},
        {"Beta SA        ", "", "", "", "", "", ""},
        {"Gamma Industria    ", "", "", "", "", "", ""},
    });
    r.empresa = "IGUALES";
    r.periodo = "0";
    r.primera = 3;
    r.cantidad = 0;
    r.tasaimp = "     35";
    r.precioprom = "    180";
    TReporte(carpetaDePrueba()).ReporteIndustria(r);

    auto lineas = cabecera("0", "10,5", "     35", "    180");
    lineas.push_back(competidor("Alfa            ", " 324000", "    180", "   1800", "  30303", "    700", "     33", "-"));
    lineas.push_back(competidor("Beta SA         ", " 324000", "    180", "   1800", "  30303", "    700", "     33", "-"));
    lineas.push_back(competidor("Gamma Industria ", " 324000", "    180", "   1800", "  30303", "    700", "     33", "-"));
    lineas.push_back("");
    EXPECT_EQ(leerTexto(carpeta / "INDZONA1IGUALES.txt"), archivo(lineas));
    EXPECT_EQ(rutaReporteIndustria(r), "INDZONA1IGUALES.txt");
    EXPECT_FALSE(std::filesystem::exists(carpeta / "INDZONA1.txt"));
}

namespace {

/// The competition lines (after the 29 heading lines, before the final empty
/// one) of the report just written.
std::vector<std::string> competencia(const std::filesystem::path& ruta) {
    std::vector<std::string> lineas;
    const std::string texto = leerTexto(ruta);
    std::size_t inicio = 0;
    for (std::size_t fin; (fin = texto.find("\r\n", inicio)) != std::string::npos; inicio = fin + 2)
        lineas.push_back(texto.substr(inicio, fin - inicio));
    if (lineas.size() < 30) return {};
    return {lineas.begin() + 29, lineas.end() - 1};
}

std::string posicion(const std::string& linea) { return linea.substr(linea.size() - 2); }

}  // namespace

TEST(ReporteIndustria, UnaSolaEmpresaEnPieEsPrimera) {
    CarpetaTemporal carpeta;
    guardarParametros(0.02);
    guardarEmpresa(1, "Uno", 1, 1);
    guardarEmpresa(2, "Dos", 0, 0);
    const indstr r = industria({
        {"Uno        ", "    100", "   1000", "     10", "    100", "   9000", " 50.00"},
        {"Dos        ", "    100", "   1000", "     10", "    100", "  -9000", " 50.00"},
    });
    TReporte(carpetaDePrueba()).ReporteIndustria(r);
    const auto lineas = competencia(carpeta / "INDZONA1.txt");
    ASSERT_EQ(lineas.size(), 1u);
    EXPECT_EQ(lineas[0].substr(0, 17), "Dos              ");
    EXPECT_EQ(posicion(lineas[0]), " 1");
}

TEST(ReporteIndustria, ClaveEnBlancoValeCero) {
    CarpetaTemporal carpeta;
    guardarParametros(0.02);
    for (uint8_t k = 1; k <= 3; ++k) guardarEmpresa(k, "E", 0, 0);
    const indstr r = industria({
        {"A        ", "    100", "   1000", "     10", "    100", "", " 33.33"},
        {"B        ", "    100", "   1000", "     10", "    100", "       ", " 33.33"},
        {"C        ", "    100", "   1000", "     10", "    100", "    100", " 33.33"},
    });
    TReporte(carpetaDePrueba()).ReporteIndustria(r);
    const auto lineas = competencia(carpeta / "INDZONA1.txt");
    ASSERT_EQ(lineas.size(), 3u);
    // Keys 0, 0, 100: C first; the two zeros in the quicksort's order.
    EXPECT_EQ(posicion(lineas[0]), " 2");
    EXPECT_EQ(posicion(lineas[1]), " 3");
    EXPECT_EQ(posicion(lineas[2]), " 1");
}

TEST(ReporteIndustria, ClaveQueNoEsNumeroNoTocaElArchivo) {
    CarpetaTemporal carpeta;
    guardarParametros(0.02);
    guardarEmpresa(1, "A", 0, 0);
    guardarEmpresa(2, "B", 0, 0);
    escribirBytes(carpeta / "INDZONA1.txt", {'p', 'r', 'e', 'v', 'i', 'o'});
    const indstr r = industria({
        {"A        ", "    100", "   1000", "     10", "    100", "    500", " 50.00"},
        {"B        ", "    100", "   1000", "     10", "    100", "   1E15", " 50.00"},
    });
    try {
        TReporte(carpetaDePrueba()).ReporteIndustria(r);
        FAIL() << "se esperaba ErrorConversion";
    } catch (const ErrorConversion& e) {
        EXPECT_STREQ(e.what(), "«   1E15» no es un número entero: escríbalo en cifras, sin puntos ni comas.");
    }
    EXPECT_EQ(leerTexto(carpeta / "INDZONA1.txt"), "previo");
}

TEST(ReporteIndustria, SinArchivoDeResultadosNoEscribeNada) {
    CarpetaTemporal carpeta;
    guardarParametros(0.02);
    const indstr r = industria({{"A        ", "    100", "   1000", "     10", "    100", "    500", "100.00"}});
    EXPECT_THROW(TReporte(carpetaDePrueba()).ReporteIndustria(r), ErrorArchivo);
    EXPECT_FALSE(std::filesystem::exists(carpeta / "INDZONA1.txt"));
}

TEST(ReporteIndustria, ArchivoQueNoSePuedeCrear) {
    CarpetaTemporal carpeta;
    guardarParametros(0.02);
    guardarEmpresa(1, "A", 0, 0);
    indstr r = industria({{"A        ", "    100", "   1000", "     10", "    100", "    500", "100.00"}});
    r.zona = "2";
    std::filesystem::create_directory(carpeta / "INDZONA2.txt");
    EXPECT_THROW(TReporte(carpetaDePrueba()).ReporteIndustria(r), ErrorArchivo);
}
