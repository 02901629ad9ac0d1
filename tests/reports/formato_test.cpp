// The field formatters decide every byte of a report figure.

#include "Regional.h"
#include "reports/Reportes_UD.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
const TReporte reporte;
}

TEST(FormatoDecimal, DosDecimalesAlineadosASeisColumnas) {
    EXPECT_EQ(reporte.FormatoDecimal(0), "  0.00");
    EXPECT_EQ(reporte.FormatoDecimal(-5), " -5.00");
    EXPECT_EQ(reporte.FormatoDecimal(123.456), "123.46");
    EXPECT_EQ(reporte.FormatoDecimal(1234.5), "1234.50");    // seven characters, no padding
    EXPECT_EQ(reporte.FormatoDecimal(12345.678), "12345.6");  // the eighth character is dropped
    EXPECT_EQ(reporte.FormatoDecimal(123456.78), "123456.");  // cut right after the integer part
    EXPECT_EQ(reporte.FormatoDecimal(-123.456), "-123.46");
    EXPECT_EQ(reporte.FormatoDecimal(-1234.5), "-1234.5");
    EXPECT_EQ(reporte.FormatoDecimal(9.999), " 10.00");  // the rounding carries into the integer part
}

TEST(FormatoDecimal, RedondeaElValorExactoDelDouble) {
    // 0.125 is exact: a half, away from zero (printf's "%.2f" gives 0.12).
    EXPECT_EQ(reporte.FormatoDecimal(0.125), "  0.13");
    EXPECT_EQ(reporte.FormatoDecimal(-0.125), " -0.13");
    EXPECT_EQ(reporte.FormatoDecimal(2.5 / 8), "  0.31");  // 0.3125
    // These are held just below the half, so they go down.
    EXPECT_EQ(reporte.FormatoDecimal(77.095), " 77.09");  // 77.0949999...
    EXPECT_EQ(reporte.FormatoDecimal(2.675), "  2.67");   // 2.67499999...
    EXPECT_EQ(reporte.FormatoDecimal(1.005), "  1.00");   // 1.00499999...
    EXPECT_EQ(reporte.FormatoDecimal(1.115), "  1.11");   // 1.11499999...
    // ... and these just above it.
    EXPECT_EQ(reporte.FormatoDecimal(0.005), "  0.01");  // 0.005000000000000000104...
    EXPECT_EQ(reporte.FormatoDecimal(99.995), "100.00");  // 99.99500000000000454...
    // A value that rounds to zero carries no sign.
    EXPECT_EQ(reporte.FormatoDecimal(-0.001), "  0.00");
    EXPECT_EQ(reporte.FormatoDecimal(-0.0), "  0.00");
    EXPECT_EQ(reporte.FormatoDecimal(-0.005), " -0.01");
}

TEST(FormatoDecimal, NuncaPierdeCifrasDeLaParteEntera) {
    EXPECT_EQ(reporte.FormatoDecimal(1234567.891), "1234567");
    EXPECT_EQ(reporte.FormatoDecimal(12345678.9), "12345678");
    EXPECT_EQ(reporte.FormatoDecimal(-1234567.5), "-1234567");
    EXPECT_EQ(reporte.FormatoDecimal(-123456.5), "-123456");
    EXPECT_EQ(reporte.FormatoDecimal(9999999.999), "10000000");
    EXPECT_EQ(reporte.FormatoDecimal(1e20), "100000000000000000000");
}

TEST(FormatoDecimal, ValoresNoFinitosNoFallan) {
    EXPECT_EQ(reporte.FormatoDecimal(std::numeric_limits<double>::infinity()), "   INF");
    EXPECT_EQ(reporte.FormatoDecimal(-std::numeric_limits<double>::infinity()), "  -INF");
    EXPECT_EQ(reporte.FormatoDecimal(std::nan("")), "   NAN");
    EXPECT_EQ(reporte.FormatoDecimal(std::numeric_limits<double>::denorm_min()), "  0.00");
    EXPECT_EQ(reporte.FormatoDecimal(-std::numeric_limits<double>::max()).size(), 310u);
}

TEST(FormatoTruncado, HaciaCeroEnSeisColumnas) {
    EXPECT_EQ(reporte.FormatoTruncado(3.99), "     3");
    EXPECT_EQ(reporte.FormatoTruncado(-3.99), "    -3");
    EXPECT_EQ(reporte.FormatoTruncado(-0.5), "     0");
    EXPECT_EQ(reporte.FormatoTruncado(123456.9), "123456");
    EXPECT_EQ(reporte.FormatoTruncado(1234567.9), "1234567");
    EXPECT_EQ(reporte.FormatoTruncado(12345678.9), "12345678");  // whole, not cut to seven
    EXPECT_EQ(reporte.FormatoTruncado(-12345678.9), "-12345678");
    // Beyond the 64-bit range the value saturates instead of being undefined.
    EXPECT_EQ(reporte.FormatoTruncado(1e300), "9223372036854775807");
    EXPECT_EQ(reporte.FormatoTruncado(-1e300), "-9223372036854775808");
    EXPECT_EQ(reporte.FormatoTruncado(std::nan("")), "     0");
}

TEST(FormatoTecho, TechoEnSieteColumnas) {
    EXPECT_EQ(reporte.FormatoTecho(2.01), "      3");
    EXPECT_EQ(reporte.FormatoTecho(2.0), "      2");
    EXPECT_EQ(reporte.FormatoTecho(-0.5), "      0");
    EXPECT_EQ(reporte.FormatoTecho(-2.5), "     -2");
    EXPECT_EQ(reporte.FormatoTecho(-2.0), "     -2");
    EXPECT_EQ(reporte.FormatoTecho(0.000001), "      1");
    EXPECT_EQ(reporte.FormatoTecho(9999999.5), "10000000");
    EXPECT_EQ(reporte.FormatoTecho(12345678), "12345678");  // whole, not cut to seven
    EXPECT_EQ(reporte.FormatoTecho(-1234567.5), "-1234567");
    EXPECT_EQ(reporte.FormatoTecho(-12345678.5), "-12345678");
    // Past 15 significant digits the general notation takes an exponent.
    EXPECT_EQ(reporte.FormatoTecho(1e15), "   1E15");
    EXPECT_EQ(reporte.FormatoTecho(1.5e15), " 1.5E15");
    EXPECT_EQ(reporte.FormatoTecho(-1e300), " -1E300");
}

TEST(FormatoEntero, DecimalEnSieteColumnas) {
    EXPECT_EQ(reporte.FormatoEntero(0), "      0");
    EXPECT_EQ(reporte.FormatoEntero(-1500), "  -1500");
    EXPECT_EQ(reporte.FormatoEntero(1234567), "1234567");
    EXPECT_EQ(reporte.FormatoEntero(99999999), "99999999");  // whole, not cut to seven
    EXPECT_EQ(reporte.FormatoEntero(INT32_MIN), "-2147483648");
}

TEST(FormatoRegional, ComaDecimalDeLaConfiguracionRegional) {
    ACTIVAR_COMA_DECIMAL(coma);
    EXPECT_EQ(reporte.FormatoDecimal(123.456), "123,46");
    EXPECT_EQ(reporte.FormatoDecimal(0.125), "  0,13");
    EXPECT_EQ(reporte.FormatoDecimal(12345.678), "12345,6");
    EXPECT_EQ(reporte.FormatoTecho(1.5e15), " 1,5E15");
    EXPECT_EQ(reporte.FormatoTecho(2.01), "      3");
    EXPECT_EQ(reporte.FormatoEntero(-1500), "  -1500");  // no thousands separator, ever
    EXPECT_EQ(reporte.FormatoTruncado(123456.9), "123456");
}

TEST(FormatoNombre, ColumnaDeNombres) {
    EXPECT_EQ(reporte.FormatoNombre(""), std::string(8, ' '));
    EXPECT_EQ(reporte.FormatoNombre("ACME"), "ACME" + std::string(8, ' '));
    EXPECT_EQ(reporte.FormatoNombre("ABCDEFG"), "ABCDEFG" + std::string(8, ' '));
    EXPECT_EQ(reporte.FormatoNombre("ABCDEFGH"), "ABCDEFGH" + std::string(4, ' '));
    EXPECT_EQ(reporte.FormatoNombre("ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJKLMNO" + std::string(4, ' '));
    // Accented letters are one byte each.
    EXPECT_EQ(reporte.FormatoNombre("Compa\xF1\xED" "a"), "Compa\xF1\xED" "a" + std::string(4, ' '));
}

TEST(FormatoBanco, NombreDeBancoConTabuladores) {
    EXPECT_EQ(reporte.FormatoBanco("NACION"), "NACION\t");
    EXPECT_EQ(reporte.FormatoBanco("BNA"), "BNA\t\t");
    EXPECT_EQ(reporte.FormatoBanco("BANCO"), "BANCO\t\t");
    EXPECT_EQ(reporte.FormatoBanco(""), "\t\t");
    EXPECT_EQ(reporte.FormatoBanco("ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJK\t");
}
