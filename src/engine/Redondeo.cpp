#include "engine/Redondeo.h"

#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <cmath>
#include <limits>

long double techo(double valor) {
    const long double v = valor;
    long double t = std::trunc(v);
    if (t < 0) t = t - 1;
    if (v > t) t = t + 1;
    return t;
}

std::string textoDelTecho(double valor) {
    if (std::isnan(valor)) return "NAN";
    if (std::isinf(valor)) return valor < 0 ? "-INF" : "INF";
    const long double t = techo(valor);
    // A whole number below 10^15 prints as its digits in general notation.
    if (std::fabs(t) < 1e15L) return std::to_string(static_cast<int64_t>(t));
    return textoGeneral(t);
}

int32_t redondearTecho(double valor) {
    if (std::isfinite(valor)) {
        const long double t = techo(valor);
        if (t >= std::numeric_limits<int32_t>::min() && t <= std::numeric_limits<int32_t>::max())
            return static_cast<int32_t>(t);
    }
    // No whole number to store: fail as reading the figure's text back would.
    std::string texto = textoDelTecho(valor);
    if (texto.size() < 7) texto.insert(0, 7 - texto.size(), ' ');
    throw ErrorConversion(textoNoEsEntero(cp1252AUtf8(texto)));
}

long double comoDosDecimales(double valor) {
    if (!std::isfinite(valor)) return valor;
    // A double times 100 needs at most 60 bits: exact in extended precision,
    // so the rounding sees the value the double really holds.
    const long double centavos = std::round(std::fabs(static_cast<long double>(valor)) * 100);
    const long double entero = std::trunc(centavos / 100);
    const bool negativo = valor < 0 && centavos != 0;
    // The characters of the integer part, sign included.
    int largo = negativo ? 2 : 1;
    for (long double resto = entero; resto >= 10; resto = std::trunc(resto / 10)) ++largo;
    long double cifra = centavos / 100;
    if (largo == 5) cifra = std::trunc(centavos / 10) / 10;
    else if (largo >= 6) cifra = entero;
    return negativo ? -cifra : cifra;
}

int64_t comoTruncado(double valor) {
    if (std::isnan(valor)) return 0;
    if (valor >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
    if (valor < -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(valor);
}
