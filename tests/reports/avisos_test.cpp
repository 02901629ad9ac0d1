// The bankruptcy and penalty notices, byte for byte.

#include "Regional.h"
#include "comun/CarpetaTemporal.h"
#include "reports/Reportes_UD.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

namespace {

empstr empresaDelta() {
    empstr r;
    r.bancoa = "NACION\t";
    r.bancob = "PROVINCIA\t";
    r.empresa = "Delta";
    r.periodo = "5";
    r.zona = "1";
    r.produccion = "   1414";
    r.costounid = " 12.35";
    r.mantenimiento = "   808";
    r.marketing = "   3003";
    r.iyd = "   6006";
    r.capacitacion = "   2002";
    r.ampplanta = "  10000";
    r.pedprestamoa = "   5000";
    r.pedprestamob = "   6000";
    r.devprestamoa = "   1000";
    r.devprestamob = "   2000";
    // The notice prints the opening cash and the interest paid from the
    // results record, never these two.
    r.efectivo = "  23023";
    r.intereses = "   1212";
    return r;
}

TRegDatosAcum acumuladoDelta() {
    TRegDatosAcum a{};
    asignar(a.nombreEmpresa, "Delta");
    a.efectivo = 7777;
    a.intereses = 444;
    return a;
}

/// The lines every notice shares, for the record above: title word, and the
/// figures 1414 x 12.35 = 17462.9 -> 17463; 5000 + 7777 + 6000 = 18777;
/// 808 + 17462.9 + 444 + 3003 + 6006 + 2002 + 10000 + 1000 + 2000 = 42725.9 -> 42726.
std::string comun(const std::string& titulo) {
    std::string t;
    auto linea = [&t](const std::string& texto) { t += texto + "\r\n"; };
    linea("\t\t\t\t\tREPORTE DE " + titulo + " EMPRESA Delta");
    linea("");
    linea("      INGRESOS");
    linea("      --------");
    linea("");
    linea("EFECTIVO                             u$s   7777");
    linea(cp1252("PED. DE PRÉST. BANCO NACIÓN          u$s   5000"));
    linea(cp1252("PED. DE PRÉST. BANCO PROVINCIA       u$s   6000"));
    linea("");
    linea("TOTAL INGRESOS                       u$s  18777");
    linea("");
    linea("");
    linea("      EGRESOS");
    linea("      --------");
    linea("");
    linea("COSTO TOT. BR. DE PROD.              u$s  17463");
    linea("MANTENIMIENTO                        u$s   808");
    linea("INTERESES                            u$s    444");
    linea("MARKETING                            u$s   3003");
    linea("INV. Y DESARROLLO                    u$s   6006");
    linea(cp1252("CAPACITACIÓN                         u$s   2002"));
    linea("AMP. DE LA PLANTA                    u$s  10000");
    linea(cp1252("DEV. AL BANCO NACIÓN                 u$s   1000"));
    linea("DEV. AL BANCO PROVINCIA              u$s   2000");
    linea("");
    linea("TOTAL EGRESOS                        u$s  42726");
    linea("");
    linea("");
    linea(cp1252("Los egresos fueron superiores a los ingresos, por lo que su\r"
                 "empresa fue penalizada y se le otorgaron préstamos adicionales."));
    return t;
}

std::string parrafoQuiebra(const std::string& giro) {
    return "\r\n" +
           cp1252("Como el dinero disponible en los bancos no alcanzó para cubrir\r"
                  "la deuda se les concedió un giro en descubierto.\r\n") +
           "\r\n" + "Dicho giro en descubierto fue de u$s " + giro + " el cual\r" +
           cp1252("superó al límite máximo establecido para esta simulación y \r") +
           "por lo tanto su empresa ha quebrado.";
}

}  // namespace

TEST(AvisoPenalidad, ArchivoCompletoByteAByte) {
    CarpetaTemporal carpeta;
    TReporte(carpetaDePrueba()).ReporteQuiebraPenalidad(empresaDelta(), acumuladoDelta(), 0);
    const std::string escrito = leerTexto(carpeta / "PenalidadEmpresa_Delta.txt");
    EXPECT_EQ(escrito, comun("PENALIDAD"));
    EXPECT_EQ(rutaReporteQuiebraPenalidad(empresaDelta(), 0), "PenalidadEmpresa_Delta.txt");
    // Single-byte accents, and the lone CR inside the last line.
    EXPECT_NE(escrito.find("PED. DE PR\xC9ST. BANCO NACI\xD3N "), std::string::npos);
    EXPECT_NE(escrito.find("por lo que su\rempresa"), std::string::npos);
    EXPECT_EQ(escrito.substr(escrito.size() - 14), "adicionales.\r\n");
    EXPECT_FALSE(std::filesystem::exists(carpeta / "QuiebraEmpresa_Delta.txt"));
}

TEST(AvisoQuiebra, ArchivoCompletoSinFinDeLineaFinal) {
    CarpetaTemporal carpeta;
    TReporte(carpetaDePrueba()).ReporteQuiebraPenalidad(empresaDelta(), acumuladoDelta(), 1500.5);
    const std::string escrito = leerTexto(carpeta / "QuiebraEmpresa_Delta.txt");
    EXPECT_EQ(escrito, comun("QUIEBRA") + parrafoQuiebra("1500.5"));
    EXPECT_EQ(escrito.substr(escrito.size() - 9), "quebrado.");
    EXPECT_EQ(rutaReporteQuiebraPenalidad(empresaDelta(), 1500.5), "QuiebraEmpresa_Delta.txt");
}

TEST(AvisoQuiebra, ConComaDecimal) {
    CarpetaTemporal carpeta;
    ACTIVAR_COMA_DECIMAL(coma);
    empstr r = empresaDelta();
    r.costounid = " 12,35";  // as the formatters write it with these settings
    TReporte(carpetaDePrueba()).ReporteQuiebraPenalidad(r, acumuladoDelta(), 1500.5);
    EXPECT_EQ(leerTexto(carpeta / "QuiebraEmpresa_Delta.txt"), comun("QUIEBRA") + parrafoQuiebra("1500,5"));
}

TEST(AvisoQuiebra, GiroNegativoSinParrafoDelGiro) {
    CarpetaTemporal carpeta;
    TReporte(carpetaDePrueba()).ReporteQuiebraPenalidad(empresaDelta(), acumuladoDelta(), -3);
    EXPECT_EQ(leerTexto(carpeta / "QuiebraEmpresa_Delta.txt"), comun("QUIEBRA"));
}

TEST(Avisos, CifraQueNoEsNumeroNoEscribeElAviso) {
    CarpetaTemporal carpeta;
    empstr r = empresaDelta();
    r.costounid = "abc";
    try {
        TReporte(carpetaDePrueba()).ReporteQuiebraPenalidad(r, acumuladoDelta(), 0);
        FAIL() << "se esperaba ErrorConversion";
    } catch (const ErrorConversion& e) {
        EXPECT_STREQ(e.what(), "«abc» no es un número: escríbalo en cifras, con punto decimal.");
    }
    r = empresaDelta();
    r.devprestamob = "";
    EXPECT_THROW(TReporte(carpetaDePrueba()).ReporteQuiebraPenalidad(r, acumuladoDelta(), 2000), ErrorConversion);
    EXPECT_TRUE(std::filesystem::is_empty(carpeta.ruta()));
}

TEST(Avisos, NombreDelArchivoSinCaracteresProhibidos) {
    CarpetaTemporal carpeta;
    empstr r = empresaDelta();
    r.empresa = cp1252("Ñandú <S.A.>");
    TReporte(carpetaDePrueba()).ReporteQuiebraPenalidad(r, acumuladoDelta(), 0);
    const auto ruta = carpeta / "PenalidadEmpresa_Ñandú _S.A._.txt";
    ASSERT_TRUE(std::filesystem::exists(ruta));
    EXPECT_EQ(leerTexto(ruta).substr(0, 48), "\t\t\t\t\tREPORTE DE PENALIDAD EMPRESA \xD1" "and\xFA <S.A.>\r\n");
}

TEST(Avisos, ArchivoQueNoSePuedeCrear) {
    CarpetaTemporal carpeta;
    std::filesystem::create_directory(carpeta / "QuiebraEmpresa_Delta.txt");
    EXPECT_THROW(TReporte(carpetaDePrueba()).ReporteQuiebraPenalidad(empresaDelta(), acumuladoDelta(), 9000), ErrorArchivo);
}
