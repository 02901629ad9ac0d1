#include "store/DatosIniciales.h"

#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"


namespace {

using T = TTextosDatosIniciales;

// The money of the game is what a report figure shows. Rates and the
// production rate are bounded so that a company's yearly outlays, overdraft
// interest and losses stay well inside 32 bits (see the README).
constexpr long double kMonto = 9999999;
const std::vector<TRangoParametro> kRangos = {
    {&T::planta, "planta", "PLANTA", 0, 0, kMonto},
    {&T::capital, "capital", "CAPITAL", 0, 0, kMonto},
    {&T::maxCreditoA, "maxCreditoA", "MAX.CREDITO", 'A', 0, kMonto},
    {&T::maxCreditoB, "maxCreditoB", "MAX.CREDITO", 'B', 0, kMonto},
    {&T::mantenimiento, "mantenimiento", "MANTENIMIENTO(%)", 0, 0, 100},
    {&T::impuestos, "impuestos", "IMPUESTOS(%)", 0, 0, 100},
    {&T::interesA, "interesA", "INTERESES(%)", 'A', 0, 1000},
    {&T::interesB, "interesB", "INTERESES(%)", 'B', 0, 1000},
    {&T::tasaProduccion, "tasaProduccion", "TASA DE PROD(%)", 0, 0, 10},
    {&T::giroDescubierto, "giroDescubierto", "GIRO EN DESC(%)", 0, 0, 100},
    {&T::nroInvYDes, "nroInvYDes", "NRO INV Y DES", 0, 0, 1000000},
    {&T::modifOrdenes, "modifOrdenes", "MODIF. ORD (%)", 0, 0, 100},
    {&T::limiteGiroDescubierto, "limiteGiroDescubierto", "LÍMITE MAX. GIRO EN DESC.", 0, 0, kMonto},
    {&T::nroZona, "nroZona", "NRO. ZONA", 0, 1, 99},
    {&T::indemXEmpleado, "indemXEmpleado", "INDEMNIZACION  X EMPLEADO", 0, 0, 2000},
    {&T::penalidad, "penalidad", "PENALIDAD", 0, 0, kMonto},
};

std::string textoLimite(long double v) { return std::to_string(static_cast<int64_t>(v)); }

void comprobarRango(const T& t, std::string T::*campo, long double valor) {
    const TRangoParametro* rango = rangoParametro(campo);
    if (!rango) return;
    const std::string falla = fallaParametro(*rango, valor, t.*campo);
    if (falla.empty()) return;
    std::string caja = rango->caja;
    if (rango->banco) {
        const std::string banco = rango->banco == 'A' ? t.nombreBancoA : t.nombreBancoB;
        caja += banco.empty() ? std::string(" (banco ") + rango->banco + ")" : " " + cp1252AUtf8(banco);
    }
    throw ErrorParametro(caja + ": " + falla, rango->clave, falla);
}

// A byte field keeps the low byte of the number typed, as a byte variable would.
uint8_t byteBajo(const std::string& texto) { return static_cast<uint8_t>(aEntero(texto) & 0xFF); }

}  // namespace

const std::vector<TRangoParametro>& rangosParametros() { return kRangos; }

const TRangoParametro* rangoParametro(std::string T::*campo) {
    for (const TRangoParametro& r : kRangos)
        if (r.campo == campo) return &r;
    return nullptr;
}

std::string fallaParametro(const TRangoParametro& r, long double valor, const std::string& texto) {
    // Written so that NaN, which compares false, is refused too.
    if (valor >= r.minimo && valor <= r.maximo) return {};
    return "«" + cp1252AUtf8(texto) + "» está fuera del rango de " + textoLimite(r.minimo) + " a " +
           textoLimite(r.maximo) + ".";
}

int32_t enteroEnRango(const T& t, std::string T::*campo) {
    const int32_t valor = aEntero(t.*campo);
    comprobarRango(t, campo, valor);
    return valor;
}

long double decimalEnRango(const T& t, std::string T::*campo) {
    const long double valor = aDecimal(t.*campo);
    comprobarRango(t, campo, valor);
    return valor;
}

TTextosDatosIniciales ejemploDatosIniciales() {
    TTextosDatosIniciales t;
    t.planta = "70000";
    t.capital = "80000";
    t.maxCreditoA = "90000";
    t.maxCreditoB = "80000";
    t.mantenimiento = "10";
    t.impuestos = "30";
    t.interesA = "21";
    t.interesB = "24";
    t.tasaProduccion = "2";
    t.giroDescubierto = "100";
    t.penalidadStock = "10";
    t.multipOrdenesMas = "30";
    t.multipOrdenesMenos = "20";
    t.nroInvYDes = "0";
    t.modifOrdenes = "30";
    t.limiteGiroDescubierto = "30";
    return t;
}

TRegDatosIniciales armarDatosIniciales(const TTextosDatosIniciales& t, uint8_t cantEquipos) {
    TRegDatosIniciales r{};
    r.periodoActual = 1;
    r.cantEquiposZona1 = cantEquipos;
    r.zonaActiva = 1;
    r.cantEquipos = static_cast<uint8_t>(r.cantEquiposZona1 + r.cantEquiposZona2 + r.cantEquiposZona3);
    asignar(r.nombreBancoA, t.nombreBancoA);
    asignar(r.nombreBancoB, t.nombreBancoB);
    r.planta = enteroEnRango(t, &T::planta);
    r.capital = enteroEnRango(t, &T::capital);
    r.maxCreditoA = enteroEnRango(t, &T::maxCreditoA);
    r.maxCreditoB = enteroEnRango(t, &T::maxCreditoB);
    r.tasaMantenimiento = static_cast<double>(decimalEnRango(t, &T::mantenimiento) / 100);
    r.tasaImpuestos = static_cast<double>(decimalEnRango(t, &T::impuestos) / 100);
    // A period is a third of a year, so the yearly rates are divided by 3.
    r.interesA = static_cast<double>(decimalEnRango(t, &T::interesA) / 100 / 3);
    r.interesB = static_cast<double>(decimalEnRango(t, &T::interesB) / 100 / 3);
    r.tasaProduccion = static_cast<double>(decimalEnRango(t, &T::tasaProduccion) / 100);
    r.tasaGiroDescubierto = static_cast<double>(decimalEnRango(t, &T::giroDescubierto) / 100);
    r.penalidadStock = byteBajo(t.penalidadStock);
    r.multipOrdenesMas = byteBajo(t.multipOrdenesMas);
    r.multipOrdenesMenos = byteBajo(t.multipOrdenesMenos);
    r.nroInvYDes = enteroEnRango(t, &T::nroInvYDes);
    r.modifOrdenes = static_cast<double>(decimalEnRango(t, &T::modifOrdenes) / 100);
    r.limiteGiroDescubierto = static_cast<double>(decimalEnRango(t, &T::limiteGiroDescubierto));
    r.nroZona = enteroEnRango(t, &T::nroZona);
    r.indemXEmpleado = enteroEnRango(t, &T::indemXEmpleado);
    r.penalidad = enteroEnRango(t, &T::penalidad);
    return r;
}

void guardarJuegoNuevo(const TCarpeta& carpeta, const TRegDatosIniciales& datos) {
    TDatosjuego(carpeta).guardarDatosIniciales(datos);
    borrarRespaldo(carpeta);
}
