#include "juego/CausasUtilidad.h"

#include "engine/Redondeo.h"

#include <cmath>

const std::array<TCampoCausa, 14>& camposCausas() {
    static const std::array<TCampoCausa, 14> campos{{
        {"precio", "Precio", &TCausasUtilidad::precio},
        {"volumen", "Unidades vendidas", &TCausasUtilidad::volumen},
        {"costoVentas", "Costo de lo vendido", &TCausasUtilidad::costoVentas},
        {"subsidios", "Subsidios por contratar", &TCausasUtilidad::subsidios},
        {"marketing", "Marketing", &TCausasUtilidad::marketing},
        {"mantenimientoPlanta", "Mantenimiento de la planta", &TCausasUtilidad::mantenimientoPlanta},
        {"capacitacion", "Capacitación", &TCausasUtilidad::capacitacion},
        {"invYDes", "Investigación y desarrollo", &TCausasUtilidad::invYDes},
        {"indemnizaciones", "Indemnizaciones por despidos", &TCausasUtilidad::indemnizaciones},
        {"mantenimientoStock", "Mantenimiento del stock", &TCausasUtilidad::mantenimientoStock},
        {"intereses", "Intereses", &TCausasUtilidad::intereses},
        {"penalidad", "Penalidad", &TCausasUtilidad::penalidad},
        {"impuestos", "Impuestos", &TCausasUtilidad::impuestos},
        {"redondeo", "Redondeo", &TCausasUtilidad::redondeo},
    }};
    return campos;
}

namespace {

// A cost's effect on profit: what it rose by, taken off.
int64_t menos(double antes, double ahora) { return std::llround(antes - ahora); }

}  // namespace

TCausasUtilidad causasUtilidad(const TInformeEmpresa& anterior, const TInformeEmpresa& actual) {
    const TCifrasEmpresa& a = anterior.cifras;
    const TCifrasEmpresa& c = actual.cifras;
    TCausasUtilidad r;
    r.utilidadAnterior = redondearTecho(a.resultado.utilPeriodo);
    r.utilidad = redondearTecho(c.resultado.utilPeriodo);
    const int64_t precioAntes = anterior.decision.precio, precioAhora = actual.decision.precio;
    r.precio = (precioAhora - precioAntes) * c.ventas;
    r.volumen = precioAntes * (int64_t{c.ventas} - a.ventas);
    // The income statement takes the cost of goods sold as a whole number.
    r.costoVentas = int64_t{redondearTecho(a.stock.costoMercVendida)} - redondearTecho(c.stock.costoMercVendida);
    r.subsidios = int64_t{c.produccion.subsidios} - a.produccion.subsidios;
    r.marketing = int64_t{anterior.decision.marketing} - actual.decision.marketing;
    r.mantenimientoPlanta = menos(a.produccion.mantenimiento, c.produccion.mantenimiento);
    r.capacitacion = int64_t{anterior.decision.capacitacion} - actual.decision.capacitacion;
    r.invYDes = int64_t{anterior.decision.invYDes} - actual.decision.invYDes;
    r.indemnizaciones = int64_t{a.produccion.indemnizaciones} - c.produccion.indemnizaciones;
    r.mantenimientoStock = int64_t{a.stock.mantenimientoStock} - c.stock.mantenimientoStock;
    r.intereses = menos(a.resultado.intereses, c.resultado.intereses);
    r.penalidad = int64_t{a.penalidad} - c.penalidad;
    r.impuestos = menos(a.resultado.impuestos, c.resultado.impuestos);
    int64_t suma = 0;
    for (const TCampoCausa& campo : camposCausas()) suma += r.*(campo.campo);
    r.redondeo = r.utilidad - r.utilidadAnterior - suma;  // redondeo is still 0 in the sum
    return r;
}
