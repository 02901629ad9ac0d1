#include "store/DatosIniciales.h"

#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/ErrorArchivo.h"

TTextosDatosIniciales ejemploDatosIniciales() {
    TTextosDatosIniciales t;
    for (const TParametro& p : kTablaParametros)
        if (p.ejemplo) t.*p.texto = p.ejemplo;
    return t;
}

TRegDatosIniciales armarDatosIniciales(const TTextosDatosIniciales& t, uint8_t cantEquipos) {
    TRegDatosIniciales r{};
    r.periodoActual = 1;
    r.cantEquiposZona1 = cantEquipos;
    r.zonaActiva = 1;
    r.cantEquipos = static_cast<uint8_t>(r.cantEquiposZona1 + r.cantEquiposZona2 + r.cantEquiposZona3);
    for (const TParametro& p : kTablaParametros) convertirParametro(p, t, r);
    // The tables screen's two figures are read by no calculation, and a new
    // game has always stored them as 0.
    return r;
}
