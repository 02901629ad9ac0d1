#include "reports/Utils.h"

std::string Rellenar(const std::string& texto, int ancho, const std::string& relleno, const std::string& lado) {
    const long long faltan = static_cast<long long>(ancho) - static_cast<long long>(texto.size());
    if (faltan <= 0) return texto;
    std::string copias;
    copias.reserve(static_cast<std::size_t>(faltan) * relleno.size());
    for (long long k = 0; k < faltan; ++k) copias += relleno;
    if (lado == "D" || lado == "d") return texto + copias;
    return copias + texto;
}
