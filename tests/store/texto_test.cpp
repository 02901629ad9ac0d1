#include "reports/Regional.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>

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
        EXPECT_STREQ(e.what(), "«abc» no es un número entero: escríbalo en cifras, sin puntos ni comas.");
    }
}

// Parameters are read to the last bit of the 80-bit type on every system: a
// value read as a double first would change the figures of a game.
TEST(Texto, DecimalesConTodaLaPrecisionExtendida) {
    struct Caso {
        const char* texto;
        std::optional<long double> valor;
    };
    const Caso casos[] = {
        {"0.1", 0.1L},
        {"3.3333333333333333333", 3.3333333333333333333L},
        {"-2.5E-3", -2.5E-3L},
        {"1e400", 1e400L},  // past a double, within the 80-bit type
        {"1e5000", std::nullopt},
        {"0.1x", std::nullopt},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.texto);
        EXPECT_EQ(leerDecimal(caso.texto), caso.valor);
    }
    ConComaDecimal coma;
    ASSERT_TRUE(coma.disponible()) << "falta la configuración regional es_AR.UTF-8";
    EXPECT_EQ(leerDecimal("0,1"), 0.1L);
    EXPECT_EQ(leerDecimal("3,3333333333333333333"), 3.3333333333333333333L);
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

    ASSERT_NE(activarComaDecimal(), nullptr) << "falta la configuración regional es_AR.UTF-8";
    EXPECT_EQ(separadorDecimal(), ',');
    EXPECT_EQ(textoGeneral(1500.5L), "1500,5");
    EXPECT_EQ(leerDecimal(" 12,5 "), 12.5L);
    EXPECT_FALSE(leerDecimal("12.5").has_value());
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(separadorDecimal(), '.');
}
