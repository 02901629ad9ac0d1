#pragma once
// Parameters records damaged in one field each, with the caption the
// damage message names: the store and the tool must both refuse them.

#include "store/Registros.h"

#include <functional>
#include <limits>
#include <vector>

struct TParametroDanado {
    const char* nombre;
    std::function<void(TRegDatosIniciales&)> danar;
    const char* caja;  ///< named by the message
};

inline const std::vector<TParametroDanado>& parametrosDanados() {
    using R = TRegDatosIniciales;
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    static const std::vector<TParametroDanado> casos = {
        {"interés A NaN", [](R& r) { r.interesA = nan; }, "INTERESES(%) del banco A"},
        {"interés B infinito", [](R& r) { r.interesB = inf; }, "INTERESES(%) del banco B"},
        {"impuestos 1e300", [](R& r) { r.tasaImpuestos = 1e300; }, "IMPUESTOS(%)"},
        {"giro en descubierto -inf", [](R& r) { r.tasaGiroDescubierto = -inf; }, "GIRO EN DESC(%)"},
        {"mantenimiento NaN", [](R& r) { r.tasaMantenimiento = -nan; }, "MANTENIMIENTO(%)"},
        {"límite de giro 1e300", [](R& r) { r.limiteGiroDescubierto = 1e300; }, "LÍMITE MAX. GIRO EN DESC."},
        {"producción 11 %", [](R& r) { r.tasaProduccion = 0.11; }, "TASA DE PROD(%)"},
        {"modificador de órdenes -1 %", [](R& r) { r.modifOrdenes = -0.01; }, "MODIF. ORD (%)"},
        {"inversión y desarrollo negativa", [](R& r) { r.nroInvYDes = -1; }, "NRO INV Y DES"},
        {"inversión y desarrollo de más", [](R& r) { r.nroInvYDes = 1000001; }, "NRO INV Y DES"},
        {"indemnización de más", [](R& r) { r.indemXEmpleado = 2001; }, "INDEMNIZACION  X EMPLEADO"},
        {"crédito B negativo", [](R& r) { r.maxCreditoB = -1; }, "MAX.CREDITO del banco B"},
        {"planta de más", [](R& r) { r.planta = 10000000; }, "PLANTA"},
    };
    return casos;
}
