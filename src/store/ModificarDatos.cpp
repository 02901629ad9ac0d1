#include "store/ModificarDatos.h"

#include "store/Datos_UD.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <string>

namespace {

// A byte field keeps the low byte of the number typed, as a byte variable would.
uint8_t byteBajo(const std::string& texto) { return static_cast<uint8_t>(aEntero(texto) & 0xFF); }

// The screen shows and reads rates in extended precision, as the initial data
// screen does, so that a value saved unchanged is stored exactly as before.
std::string porciento(double tasa) { return textoGeneral(static_cast<long double>(tasa) * 100); }

}  // namespace

TTextosDatosIniciales textosModificables(const TRegDatosIniciales& d) {
    TTextosDatosIniciales t;
    t.nombreBancoA = aTexto(d.nombreBancoA);
    t.nombreBancoB = aTexto(d.nombreBancoB);
    t.planta = std::to_string(d.planta);
    t.capital = std::to_string(d.capital);
    t.maxCreditoA = std::to_string(d.maxCreditoA);
    t.maxCreditoB = std::to_string(d.maxCreditoB);
    t.mantenimiento = porciento(d.tasaMantenimiento);
    t.impuestos = porciento(d.tasaImpuestos);
    // The stored rates are per period, a third of a year; the box shows the yearly rate.
    t.interesA = textoGeneral(static_cast<long double>(d.interesA) * 100 * 3);
    t.interesB = textoGeneral(static_cast<long double>(d.interesB) * 100 * 3);
    t.tasaProduccion = porciento(d.tasaProduccion);
    t.giroDescubierto = porciento(d.tasaGiroDescubierto);
    t.penalidadStock = std::to_string(d.penalidadStock);
    t.multipOrdenesMas = std::to_string(d.multipOrdenesMas);
    t.multipOrdenesMenos = std::to_string(d.multipOrdenesMenos);
    t.nroInvYDes = std::to_string(d.nroInvYDes);
    t.modifOrdenes = porciento(d.modifOrdenes);
    t.limiteGiroDescubierto = textoGeneral(d.limiteGiroDescubierto);
    t.nroZona = std::to_string(d.nroZona);
    t.indemXEmpleado = std::to_string(d.indemXEmpleado);
    t.penalidad = std::to_string(d.penalidad);
    return t;
}

TRegDatosIniciales aplicarModificaciones(const TRegDatosIniciales& guardado, const TTextosDatosIniciales& textos) {
    using T = TTextosDatosIniciales;
    // The bank names of a message are the stored ones: their boxes are not saved.
    TTextosDatosIniciales t = textos;
    t.nombreBancoA = aTexto(guardado.nombreBancoA);
    t.nombreBancoB = aTexto(guardado.nombreBancoB);
    TRegDatosIniciales r = guardado;
    r.maxCreditoA = enteroEnRango(t, &T::maxCreditoA);
    r.maxCreditoB = enteroEnRango(t, &T::maxCreditoB);
    r.tasaMantenimiento = static_cast<double>(decimalEnRango(t, &T::mantenimiento) / 100);
    r.tasaImpuestos = static_cast<double>(decimalEnRango(t, &T::impuestos) / 100);
    // A period is a third of a year, so the yearly rates are divided by 3.
    r.interesA = static_cast<double>(decimalEnRango(t, &T::interesA) / 100 / 3);
    r.interesB = static_cast<double>(decimalEnRango(t, &T::interesB) / 100 / 3);
    r.tasaGiroDescubierto = static_cast<double>(decimalEnRango(t, &T::giroDescubierto) / 100);
    r.penalidadStock = byteBajo(t.penalidadStock);
    r.multipOrdenesMas = byteBajo(t.multipOrdenesMas);
    r.multipOrdenesMenos = byteBajo(t.multipOrdenesMenos);
    r.nroInvYDes = enteroEnRango(t, &T::nroInvYDes);
    r.modifOrdenes = static_cast<double>(decimalEnRango(t, &T::modifOrdenes) / 100);
    r.limiteGiroDescubierto = static_cast<double>(decimalEnRango(t, &T::limiteGiroDescubierto));
    r.indemXEmpleado = enteroEnRango(t, &T::indemXEmpleado);
    r.penalidad = enteroEnRango(t, &T::penalidad);
    return r;
}

TRegDatosIniciales guardarModificaciones(const TCarpeta& carpeta, const TTextosDatosIniciales& textos) {
    TDatosjuego datos(carpeta);
    TRegDatosIniciales guardado{};
    datos.leerDatosIniciales(guardado);
    const TRegDatosIniciales nuevo = aplicarModificaciones(guardado, textos);
    datos.guardarDatosIniciales(nuevo);
    return nuevo;
}
