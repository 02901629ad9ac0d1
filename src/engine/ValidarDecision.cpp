#include "engine/ValidarDecision.h"

#include "store/Texto.h"

#include <algorithm>
#include <cctype>

namespace {

using D = TRegDecision;

// The fields of the tables keep the messages the screens always showed.
const std::array<TRangoDecision, 10> kRangos = {{
    {&D::precio, "precio", "PRECIO", "Precio", "u$s", "PRECIO", "el precio", 50, 100, 1,
     "está fuera del rango de 50 a 100.", "Debe ingresar un precio con un valor entre u$s 50 y u$s 100",
     "Precio de venta de cada unidad: frente al precio promedio del mercado decide cuántos pedidos llegan.", 0},
    {&D::marketing, "marketing", "MARKETING", "Marketing", "u$s", "MARKETING", "el marketing", 0, 10000, 1,
     "está fuera del rango de 0 a 10000.", "Debe ingresar un valor para marketing entre u$s 0 y u$s 10000",
     "Gasto en publicidad del período: con el precio, decide cuántos pedidos llegan.", 0},
    {&D::invYDes, "invYDes", "INV.Y DES.", "Investigación y desarrollo", "u$s", "INVYDES",
     "la inversión en investigación y desarrollo", 0, kMaxMonto, 1, "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para investigación y desarrollo entre u$s 0 y u$s 9999999",
     "Lo invertido se acumula y atrae más pedidos en los períodos siguientes.", 0},
    {&D::capacitacion, "capacitacion", "CAPACITACION", "Capacitación", "u$s", "CAPACITACION", "la capacitación", 0,
     20000, 2000, "no es un múltiplo de 2000 entre 0 y 20000.",
     "Debe ingresar un valor para la capacitación que vaya de u$s 2000 en u$s 2000",
     "Formación del personal, de 2000 en 2000: baja el costo de cada unidad producida.", 0},
    {&D::nivelProduccion, "nivelProduccion", "N.DE PROD(%)", "Nivel de producción", "%", "NIVEL",
     "el nivel de producción", 0, 100, 25, "no es 0, 25, 50, 75 ni 100.",
     "Debe elegir un nivel de producción de la lista: 0, 25, 50, 75 o 100",
     "Parte de la capacidad de la planta que se usa: 0, 25, 50, 75 o 100 %; con 0 no se produce.", 0},
    {&D::invPlanta, "invPlanta", "INV.EN PLANTA", "Inversión en planta", "u$s", "INVPLANTA", "la inversión en planta",
     0, kMaxMonto, 1, "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para inversión en planta entre u$s 0 y u$s 9999999",
     "Agranda la planta y con ella la capacidad de producir.", 0},
    {&D::pedPrestamoA, "pedPrestamoA", "PED.PRESTAMO", "Préstamo pedido al banco %1", "u$s", "PEDPRESTAMOA",
     "el préstamo pedido al banco A", 0, kMaxMonto, 1, "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para el préstamo pedido entre u$s 0 y u$s 9999999",
     "Lo que pase del crédito que al banco %1 le queda por prestar se vuelve giro en descubierto.", 'A'},
    {&D::pedPrestamoB, "pedPrestamoB", "PED.PRESTAMO", "Préstamo pedido al banco %1", "u$s", "PEDPRESTAMOB",
     "el préstamo pedido al banco B", 0, kMaxMonto, 1, "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para el préstamo pedido entre u$s 0 y u$s 9999999",
     "Lo que pase del crédito que al banco %1 le queda por prestar se vuelve giro en descubierto.", 'B'},
    {&D::devPrestamoA, "devPrestamoA", "DEV.PRESTAMO", "Devolución al banco %1", "u$s", "DEVPRESTAMOA",
     "la devolución al banco A", 0, kMaxMonto, 1, "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para la devolución del préstamo entre u$s 0 y u$s 9999999",
     "Parte de la deuda con el banco %1 que se devuelve en este período.", 'A'},
    {&D::devPrestamoB, "devPrestamoB", "DEV.PRESTAMO", "Devolución al banco %1", "u$s", "DEVPRESTAMOB",
     "la devolución al banco B", 0, kMaxMonto, 1, "está fuera del rango de 0 a 9999999.",
     "Debe ingresar un valor para la devolución del préstamo entre u$s 0 y u$s 9999999",
     "Parte de la deuda con el banco %1 que se devuelve en este período.", 'B'},
}};

std::string conBanco(const char* texto, const TRangoDecision& r, const std::string& bancoA, const std::string& bancoB) {
    std::string t = texto;
    if (const auto donde = t.find("%1"); donde != std::string::npos)
        t.replace(donde, 2, r.banco == 'B' ? bancoB : bancoA);
    return t;
}

[[noreturn]] void rechazar(const std::string& empresa, const std::string& problema) {
    std::string mensaje = empresa.empty() ? problema : "Empresa \"" + cp1252AUtf8(empresa) + "\": " + problema;
    if (empresa.empty() && !mensaje.empty()) mensaje[0] = static_cast<char>(std::toupper(mensaje[0]));
    throw ErrorDecision(mensaje);
}

}  // namespace

const std::array<TRangoDecision, 10>& rangosDecision() { return kRangos; }

const std::array<const TRangoDecision*, 10>& rangosEnOrdenDelRegistro() {
    static const std::array<const TRangoDecision*, 10> orden = [] {
        std::array<const TRangoDecision*, 10> v{};
        for (std::size_t i = 0; i < kRangos.size(); ++i) v[i] = &kRangos[i];
        // A field's place in the record is its distance from the record's start.
        static const D registro{};
        auto desplazamiento = [](const TRangoDecision* r) {
            return reinterpret_cast<const char*>(&(registro.*(r->campo))) - reinterpret_cast<const char*>(&registro);
        };
        std::sort(v.begin(), v.end(), [&](auto* a, auto* b) { return desplazamiento(a) < desplazamiento(b); });
        return v;
    }();
    return orden;
}

const TRangoDecision& rangoDecision(int32_t TRegDecision::*campo) {
    for (const TRangoDecision& r : kRangos)
        if (r.campo == campo) return r;
    throw std::logic_error("campo de decisión sin rango");
}

std::string etiquetaDecision(const TRangoDecision& r, const std::string& bancoA, const std::string& bancoB) {
    return conBanco(r.etiqueta, r, bancoA, bancoB);
}

std::string etiquetaConRango(const TRangoDecision& r, const std::string& bancoA, const std::string& bancoB) {
    std::string unidad = r.unidad;
    // Amounts up to the widest figure need no range: any sum a team may ask fits.
    if (unidad == "u$s" && r.maximo != kMaxMonto) {
        unidad += " " + std::to_string(r.minimo) + " a " + std::to_string(r.maximo);
        if (r.paso > 1) unidad += ", de " + std::to_string(r.paso) + " en " + std::to_string(r.paso);
    }
    return etiquetaDecision(r, bancoA, bancoB) + " (" + unidad + ")";
}

std::string ayudaDecision(const TRangoDecision& r, const std::string& bancoA, const std::string& bancoB) {
    return conBanco(r.ayuda, r, bancoA, bancoB);
}

bool enRango(const TRangoDecision& r, int32_t valor) {
    // Both bounds are checked first, so the difference cannot overflow.
    return valor >= r.minimo && valor <= r.maximo && (valor - r.minimo) % r.paso == 0;
}

std::string fallaDecision(const TRangoDecision& r, int32_t valor) {
    if (enRango(r, valor)) return {};
    return std::to_string(valor) + " " + r.falla;
}

void validarDecision(const TRegDecision& d, const std::string& empresa) {
    for (const TRangoDecision& r : kRangos)
        if (auto falla = fallaDecision(r, d.*(r.campo)); !falla.empty())
            rechazar(empresa, std::string(r.nombre) + " " + falla);
}
