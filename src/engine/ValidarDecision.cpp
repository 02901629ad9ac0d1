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

bool precioValido(int32_t precio) { return precio >= 50 && precio <= 100; }

bool marketingValido(int32_t marketing) { return marketing >= 0 && marketing <= 10000; }

// Training is bought in steps of 2000, from none to 20000.
bool capacitacionValida(int32_t capacitacion) {
    return capacitacion >= 0 && capacitacion <= 20000 && capacitacion % 2000 == 0;
}

bool nivelProduccionValido(int32_t nivel) {
    return nivel == 0 || nivel == 25 || nivel == 50 || nivel == 75 || nivel == 100;
}

void validarDecision(const TRegDecision& d, const std::string& empresa) {
    const auto texto = [](int32_t v) { return std::to_string(v); };
    if (!precioValido(d.precio))
        rechazar(empresa, "el precio " + texto(d.precio) + " está fuera del rango de 50 a 100.");
    if (!marketingValido(d.marketing))
        rechazar(empresa, "el marketing " + texto(d.marketing) + " está fuera del rango de 0 a 10000.");
    if (!capacitacionValida(d.capacitacion))
        rechazar(empresa, "la capacitación " + texto(d.capacitacion) +
                              " no es un múltiplo de 2000 entre 0 y 20000.");
    if (!nivelProduccionValido(d.nivelProduccion))
        rechazar(empresa, "el nivel de producción " + texto(d.nivelProduccion) + " no es 0, 25, 50, 75 ni 100.");
}
