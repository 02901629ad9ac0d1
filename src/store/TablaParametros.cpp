#include "store/TablaParametros.h"

#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <cmath>

namespace {

using T = TTextosDatosIniciales;
using R = TRegDatosIniciales;

std::string textoLimite(long double v) { return std::to_string(static_cast<int64_t>(v)); }

// The stored value of a typed decimal. Both divisions are kept as such (not
// one by 300) so that a rate is stored to the same bits as always.
double escalar(TEscala escala, long double valor) {
    switch (escala) {
    case TEscala::porcentaje: return static_cast<double>(valor / 100);
    case TEscala::porcentajeAnual: return static_cast<double>(valor / 100 / 3);
    case TEscala::unidad: break;
    }
    return static_cast<double>(valor);
}

long double desescalar(TEscala escala, double valor) {
    switch (escala) {
    case TEscala::porcentaje: return static_cast<long double>(valor) * 100;
    case TEscala::porcentajeAnual: return static_cast<long double>(valor) * 100 * 3;
    case TEscala::unidad: break;
    }
    return valor;
}

void comprobarRango(const TParametro& p, const T& t, long double valor) {
    const std::string falla = fallaParametro(p, valor, t.*p.texto);
    if (falla.empty()) return;
    std::string caja = p.caja;
    if (p.banco) {
        const std::string& banco = p.banco == 'A' ? t.nombreBancoA : t.nombreBancoB;
        caja += banco.empty() ? std::string(" (banco ") + p.banco + ")" : " " + cp1252AUtf8(banco);
    }
    throw ErrorParametro(caja + ": " + falla, p.clave, falla);
}

}  // namespace

const TParametro* parametroDe(std::string T::*texto) {
    for (const TParametro& p : kTablaParametros)
        if (p.texto == texto) return &p;
    return nullptr;
}

const TParametro* parametroDeClave(std::string_view clave) {
    for (const TParametro& p : kTablaParametros)
        if (minusculas(p.clave) == minusculas(clave)) return &p;
    return nullptr;
}

bool esNombre(const TParametro& p) { return std::holds_alternative<cadena R::*>(p.campo); }
bool esByte(const TParametro& p) { return std::holds_alternative<uint8_t R::*>(p.campo); }
bool esDecimal(const TParametro& p) { return std::holds_alternative<double R::*>(p.campo); }

const std::string& textoPorOmision(const TParametro& p) {
    static const T porOmision;
    return porOmision.*p.texto;
}

std::string fallaParametro(const TParametro& p, long double valor, const std::string& texto) {
    // Written so that NaN, which compares false, is refused too.
    if (!p.conRango || (valor >= p.minimo && valor <= p.maximo)) return {};
    return "«" + cp1252AUtf8(texto) + "» está fuera del rango de " + textoLimite(p.minimo) + " a " +
           textoLimite(p.maximo) + ".";
}

void convertirParametro(const TParametro& p, const T& t, R& r) {
    const std::string& texto = t.*p.texto;
    if (const auto* nombre = std::get_if<cadena R::*>(&p.campo)) {
        asignar(r.**nombre, texto);
    } else if (const auto* entero = std::get_if<int32_t R::*>(&p.campo)) {
        const int32_t valor = aEntero(texto);
        comprobarRango(p, t, valor);
        r.**entero = valor;
    } else if (const auto* byte = std::get_if<uint8_t R::*>(&p.campo)) {
        // A byte field keeps the low byte of the number typed, as a byte variable would.
        r.**byte = static_cast<uint8_t>(aEntero(texto) & 0xFF);
    } else {
        const long double valor = aDecimal(texto);
        comprobarRango(p, t, valor);
        r.*std::get<double R::*>(p.campo) = escalar(p.escala, valor);
    }
}

std::string textoParametro(const TParametro& p, const R& r) {
    if (const auto* nombre = std::get_if<cadena R::*>(&p.campo)) return aTexto(r.**nombre);
    if (const auto* entero = std::get_if<int32_t R::*>(&p.campo)) return std::to_string(r.**entero);
    if (const auto* byte = std::get_if<uint8_t R::*>(&p.campo)) return std::to_string(r.**byte);
    // Extended precision, as the screens read it, so that a value saved
    // unchanged is stored exactly as before.
    return textoGeneral(desescalar(p.escala, r.*std::get<double R::*>(p.campo)));
}

std::string fallaDeParametros(const R& r) {
    for (const TParametro& p : kTablaParametros) {
        if (!p.conRango || p.texto == &T::nroZona) continue;
        bool enRango = true;
        if (const auto* entero = std::get_if<int32_t R::*>(&p.campo)) {
            enRango = r.**entero >= p.minimo && r.**entero <= p.maximo;
        } else if (const auto* decimal = std::get_if<double R::*>(&p.campo)) {
            // The bounds stored as a typed bound would be: storing keeps the
            // order, so every value typed in range passes. NaN never does.
            const double valor = r.**decimal;
            enRango = valor >= escalar(p.escala, p.minimo) && valor <= escalar(p.escala, p.maximo);
        }
        if (!enRango)
            return std::string(p.caja) + (p.banco ? std::string(" del banco ") + p.banco : "") +
                   " está fuera del rango de " + textoLimite(p.minimo) + " a " + textoLimite(p.maximo);
    }
    return {};
}
