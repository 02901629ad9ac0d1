#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(Texto, Windows1252IdaYVuelta) {
    const std::string enUtf8 = "Compañía Ñandú €";
    auto bytes = utf8ACp1252(enUtf8);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, std::string("Compa\xF1\xED" "a \xD1" "and\xFA \x80"));
    EXPECT_EQ(cp1252AUtf8(*bytes), enUtf8);
    // Characters that Windows-1252 cannot hold, and broken UTF-8, are refused.
    EXPECT_FALSE(utf8ACp1252("Ωmega").has_value());
    EXPECT_FALSE(utf8ACp1252(std::string("\xC3", 1)).has_value());
    EXPECT_THROW(cp1252("日本"), std::logic_error);
}

TEST(Texto, EnteroComoLoEscribeElJugador) {
    EXPECT_EQ(leerEntero("42"), 42);
    EXPECT_EQ(leerEntero("-1500"), -1500);
    EXPECT_EQ(leerEntero("  +7"), 7);  // leading blanks are skipped, as in the reports
    EXPECT_FALSE(leerEntero("").has_value());
    EXPECT_FALSE(leerEntero("12 ").has_value());
    EXPECT_FALSE(leerEntero("1.5").has_value());
    EXPECT_FALSE(leerEntero("2147483648").has_value());
    EXPECT_EQ(leerEntero("-2147483648"), INT32_MIN);
    try {
        aEntero("abc");
        FAIL();
    } catch (const ErrorConversion& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
}

TEST(Texto, DecimalesConElSeparadorRegional) {
    EXPECT_EQ(textoGeneral(24.0L), "24");
    EXPECT_EQ(textoGeneral(0.08 * 100 * 3), "24");
    EXPECT_EQ(textoGeneral(12.5L), "12.5");
    EXPECT_EQ(textoGeneral(1500.5L), "1500.5");
    EXPECT_EQ(textoGeneral(0.00001L), "1E-5");
    EXPECT_EQ(textoGeneral(-0.0L), "0");
    EXPECT_EQ(leerDecimal("12.5"), 12.5L);
    EXPECT_FALSE(leerDecimal("12,5").has_value());
    EXPECT_FALSE(leerDecimal("").has_value());

    ASSERT_NE(std::setlocale(LC_NUMERIC, "es_AR.UTF-8"), nullptr) << "falta la configuración regional es_AR.UTF-8";
    EXPECT_EQ(separadorDecimal(), ',');
    EXPECT_EQ(textoGeneral(1500.5L), "1500,5");
    EXPECT_EQ(leerDecimal(" 12,5 "), 12.5L);
    EXPECT_FALSE(leerDecimal("12.5").has_value());
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(separadorDecimal(), '.');
}
