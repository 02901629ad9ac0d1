// Money carried into the next period is rounded by redondearTecho, which must
// give exactly what reading the FormatoTecho text back gave.

#include "reports/Reportes_UD.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

// What the text round trip gives: the whole number, or the error's message.
struct TIda {
    std::optional<int32_t> valor;
    std::string error;
};

template <typename F>
TIda capturar(F f) {
    try {
        return {f(), ""};
    } catch (const ErrorConversion& e) {
        return {std::nullopt, e.what()};
    }
}

struct TCaso {
    double valor;
    std::optional<int32_t> esperado;  // empty: no 32-bit whole number
};

}  // namespace

TEST(RedondearTecho, IgualAlTextoLeidoDeVuelta) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const TCaso casos[] = {
        {0.0, 0},
        {-0.0, 0},
        {2.0, 2},
        {2.01, 3},
        {2.0000001, 3},
        {std::nextafter(2.0, 3.0), 3},
        {1e-300, 1},
        {-1e-300, 0},
        {-0.5, 0},
        {-2.5, -2},
        {-2.0, -2},
        {-2.0000001, -2},
        {9999998.5, 9999999},
        {9999999.0, 9999999},
        {9999999.0000001, 10000000},  // eight digits: kept whole, not cut to seven
        {12345678.0, 12345678},
        {-999999.0, -999999},
        {-999999.5, -999999},
        {-1000000.5, -1000000},
        {-12345678.9, -12345678},
        {2147483646.5, 2147483647},
        {2147483647.0, 2147483647},
        {std::nextafter(2147483647.0, 3e9), std::nullopt},
        {-2147483648.0, INT32_MIN},
        {-2147483648.5, INT32_MIN},
        {-2147483649.0, std::nullopt},
        {4294967296.0, std::nullopt},
        {1e15, std::nullopt},
        {-1e300, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {inf, std::nullopt},
        {-inf, std::nullopt},
    };
    const TReporte f;
    for (const TCaso& c : casos) {
        SCOPED_TRACE(f.FormatoTecho(c.valor));
        const TIda texto = capturar([&] { return aEntero(f.FormatoTecho(c.valor)); });
        const TIda directo = capturar([&] { return redondearTecho(c.valor); });
        EXPECT_EQ(directo.valor, c.esperado);
        EXPECT_EQ(directo.valor, texto.valor);
        EXPECT_EQ(directo.error, texto.error);
        EXPECT_EQ(directo.error.empty(), c.esperado.has_value());
    }
}
