#include "store/DatosIniciales.h"

#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"
#include "store/ValoresGlobales.h"


namespace {

int32_t entero(const std::string& texto) { return aEntero(texto); }

uint8_t byteBajo(const std::string& texto) { return static_cast<uint8_t>(aEntero(texto) & 0xFF); }

long double decimal(const std::string& texto) {
    if (auto valor = leerDecimal(texto)) return *valor;
    throw ErrorConversion("'" + cp1252AUtf8(texto) + "' is not a valid floating point value");
}

}  // namespace

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
    r.planta = entero(t.planta);
    r.capital = entero(t.capital);
    r.maxCreditoA = entero(t.maxCreditoA);
    r.maxCreditoB = entero(t.maxCreditoB);
    r.tasaMantenimiento = static_cast<double>(decimal(t.mantenimiento) / 100);
    r.tasaImpuestos = static_cast<double>(decimal(t.impuestos) / 100);
    // A period is a third of a year, so the yearly rates are divided by 3.
    r.interesA = static_cast<double>(decimal(t.interesA) / 100 / 3);
    r.interesB = static_cast<double>(decimal(t.interesB) / 100 / 3);
    r.tasaProduccion = static_cast<double>(decimal(t.tasaProduccion) / 100);
    r.tasaGiroDescubierto = static_cast<double>(decimal(t.giroDescubierto) / 100);
    r.penalidadStock = byteBajo(t.penalidadStock);
    r.multipOrdenesMas = byteBajo(t.multipOrdenesMas);
    r.multipOrdenesMenos = byteBajo(t.multipOrdenesMenos);
    r.nroInvYDes = entero(t.nroInvYDes);
    r.modifOrdenes = static_cast<double>(decimal(t.modifOrdenes) / 100);
    r.limiteGiroDescubierto = static_cast<double>(decimal(t.limiteGiroDescubierto));
    r.nroZona = entero(t.nroZona);
    r.indemXEmpleado = entero(t.indemXEmpleado);
    IndemnizacionPorEmpleado = r.indemXEmpleado;
    r.penalidad = entero(t.penalidad);
    ValorPenalidad = r.penalidad;
    return r;
}

void guardarJuegoNuevo(const TRegDatosIniciales& datos) {
    TDatosjuego().guardarDatosIniciales(datos);
    borrarRespaldo();
}
