#include "engine/ValidarDecision.h"

#include "store/Texto.h"

#include <cctype>

namespace {

[[noreturn]] void rechazar(const std::string& empresa, const std::string& problema) {
    std::string mensaje = empresa.empty() ? problema : "Empresa \"" + cp1252AUtf8(empresa) + "\": " + problema;
    if (empresa.empty() && !mensaje.empty()) mensaje[0] = static_cast<char>(std::toupper(mensaje[0]));
    throw ErrorDecision(mensaje);
}

}  // namespace

void validarDecision(const TRegDecision& d, const std::string& empresa) {
    const auto texto = [](int32_t v) { return std::to_string(v); };
    if (d.precio < 50 || d.precio > 100)
        rechazar(empresa, "el precio " + texto(d.precio) + " está fuera del rango de 50 a 100.");
    if (d.marketing < 0 || d.marketing > 10000)
        rechazar(empresa, "el marketing " + texto(d.marketing) + " está fuera del rango de 0 a 10000.");
    if (d.capacitacion < 0 || d.capacitacion > 20000 || d.capacitacion % 2000 != 0)
        rechazar(empresa, "la capacitación " + texto(d.capacitacion) +
                              " no es un múltiplo de 2000 entre 0 y 20000.");
    const int32_t nivel = d.nivelProduccion;
    if (nivel != 0 && nivel != 25 && nivel != 50 && nivel != 75 && nivel != 100)
        rechazar(empresa, "el nivel de producción " + texto(nivel) + " no es 0, 25, 50, 75 ni 100.");
}
