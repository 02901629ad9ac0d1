#include "store/DatosIniciales.h"

#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"
#include "store/ValoresGlobales.h"


namespace {

// A byte field keeps the low byte of the number typed, as a byte variable would.
uint8_t byteBajo(const std::string& texto) { return static_cast<uint8_t>(aEntero(texto) & 0xFF); }

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
    r.planta = aEntero(t.planta);
    r.capital = aEntero(t.capital);
    r.maxCreditoA = aEntero(t.maxCreditoA);
    r.maxCreditoB = aEntero(t.maxCreditoB);
    r.tasaMantenimiento = static_cast<double>(aDecimal(t.mantenimiento) / 100);
    r.tasaImpuestos = static_cast<double>(aDecimal(t.impuestos) / 100);
    // A period is a third of a year, so the yearly rates are divided by 3.
    r.interesA = static_cast<double>(aDecimal(t.interesA) / 100 / 3);
    r.interesB = static_cast<double>(aDecimal(t.interesB) / 100 / 3);
    r.tasaProduccion = static_cast<double>(aDecimal(t.tasaProduccion) / 100);
    r.tasaGiroDescubierto = static_cast<double>(aDecimal(t.giroDescubierto) / 100);
    r.penalidadStock = byteBajo(t.penalidadStock);
    r.multipOrdenesMas = byteBajo(t.multipOrdenesMas);
    r.multipOrdenesMenos = byteBajo(t.multipOrdenesMenos);
    r.nroInvYDes = aEntero(t.nroInvYDes);
    r.modifOrdenes = static_cast<double>(aDecimal(t.modifOrdenes) / 100);
    r.limiteGiroDescubierto = static_cast<double>(aDecimal(t.limiteGiroDescubierto));
    r.nroZona = aEntero(t.nroZona);
    r.indemXEmpleado = aEntero(t.indemXEmpleado);
    IndemnizacionPorEmpleado = r.indemXEmpleado;
    r.penalidad = aEntero(t.penalidad);
    ValorPenalidad = r.penalidad;
    return r;
}

void guardarJuegoNuevo(const TRegDatosIniciales& datos) {
    TDatosjuego().guardarDatosIniciales(datos);
    borrarRespaldo();
}
