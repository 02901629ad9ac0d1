#include "engine/ValidarDecision.h"

#include "store/Texto.h"

#include <cctype>

namespace {

using D = TRegDecision;

// The fields of the tables keep the messages the screens always showed.
const std::array<TRangoDecision, 10> kRangos = {{
    {&D::precio, "precio", "el precio", 50, 100, 1, "está fuera del rango de 50 a 100.",
     "Debe ingresar un precio con un valor entre 50 u$d y 100 uSd"},
    {&D::marketing, "marketing", "el marketing", 0, 10000, 1, "está fuera del rango de 0 a 10000.",
     "Debe ingresar un valor para marketing entre u$s 0 y u$s 10000"},
    {&D::invYDes, "invYDes", "la inversión en investigación y desarrollo", 0, kMaxMonto, 1,
     "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para investigación y desarrollo entre u$s 0 y u$s 9999999"},
    {&D::capacitacion, "capacitacion", "la capacitación", 0, 20000, 2000, "no es un múltiplo de 2000 entre 0 y 20000.",
     "Debe ingresar un valor para la capacitacion q vaya de u$s2000 en u$s2000"},
    {&D::nivelProduccion, "nivelProduccion", "el nivel de producción", 0, 100, 25, "no es 0, 25, 50, 75 ni 100.",
     "Debe elegir un nivel de producción de la lista: 0, 25, 50, 75 o 100"},
    {&D::invPlanta, "invPlanta", "la inversión en planta", 0, kMaxMonto, 1, "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para inversión en planta entre u$s 0 y u$s 9999999"},
    {&D::pedPrestamoA, "pedPrestamoA", "el préstamo pedido al banco A", 0, kMaxMonto, 1,
     "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para el préstamo pedido entre u$s 0 y u$s 9999999"},
    {&D::pedPrestamoB, "pedPrestamoB", "el préstamo pedido al banco B", 0, kMaxMonto, 1,
     "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para el préstamo pedido entre u$s 0 y u$s 9999999"},
    {&D::devPrestamoA, "devPrestamoA", "la devolución al banco A", 0, kMaxMonto, 1,
     "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para la devolución del préstamo entre u$s 0 y u$s 9999999"},
    {&D::devPrestamoB, "devPrestamoB", "la devolución al banco B", 0, kMaxMonto, 1,
     "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para la devolución del préstamo entre u$s 0 y u$s 9999999"},
}};

[[noreturn]] void rechazar(const std::string& empresa, const std::string& problema) {
    std::string mensaje = empresa.empty() ? problema : "Empresa \"" + cp1252AUtf8(empresa) + "\": " + problema;
    if (empresa.empty() && !mensaje.empty()) mensaje[0] = static_cast<char>(std::toupper(mensaje[0]));
    throw ErrorDecision(mensaje);
}

}  // namespace

const std::array<TRangoDecision, 10>& rangosDecision() { return kRangos; }

const TRangoDecision& rangoDecision(int32_t TRegDecision::*campo) {
    for (const TRangoDecision& r : kRangos)
        if (r.campo == campo) return r;
    throw std::logic_error("campo de decisión sin rango");
}

bool enRango(const TRangoDecision& r, int32_t valor) {
    // Both bounds are checked first, so the difference cannot overflow.
    return valor >= r.minimo && valor <= r.maximo && (valor - r.minimo) % r.paso == 0;
}

std::string fallaDecision(const TRangoDecision& r, int32_t valor) {
    if (enRango(r, valor)) return {};
    return std::to_string(valor) + " " + r.falla;
}

bool precioValido(int32_t precio) { return enRango(rangoDecision(&D::precio), precio); }

bool marketingValido(int32_t marketing) { return enRango(rangoDecision(&D::marketing), marketing); }

bool capacitacionValida(int32_t capacitacion) { return enRango(rangoDecision(&D::capacitacion), capacitacion); }

bool nivelProduccionValido(int32_t nivel) { return enRango(rangoDecision(&D::nivelProduccion), nivel); }

void validarDecision(const TRegDecision& d, const std::string& empresa) {
    for (const TRangoDecision& r : kRangos)
        if (auto falla = fallaDecision(r, d.*(r.campo)); !falla.empty())
            rechazar(empresa, std::string(r.nombre) + " " + falla);
}
