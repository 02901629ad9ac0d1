#include "reports/FormatoCifras.h"

#include "store/NombresArchivos.h"

#include <string>

namespace {

// Rates are stored per period; the reports show them per year.
double tasaAnual(double tasa) { return static_cast<double>(static_cast<long double>(tasa) * 100 * 3); }

std::string banco(const TReporte& f, const std::string& nombre) { return f.FormatoBanco(nombre).substr(0, 50); }

void llenarDecisiones(const TReporte& f, const TRegDecision& d, empstr& e) {
    e.precio = f.FormatoEntero(d.precio);
    e.capacitacion = f.FormatoEntero(d.capacitacion);
    e.marketing = f.FormatoEntero(d.marketing);
    e.iyd = f.FormatoEntero(d.invYDes);
    e.ampplanta = f.FormatoEntero(d.invPlanta);
    e.nivelprod = f.FormatoEntero(d.nivelProduccion);
    e.pedprestamoa = f.FormatoEntero(d.pedPrestamoA);
    e.pedprestamob = f.FormatoEntero(d.pedPrestamoB);
    e.devprestamoa = f.FormatoEntero(d.devPrestamoA);
    e.devprestamob = f.FormatoEntero(d.devPrestamoB);  // as decided, before it paid the overdraft
}

void llenarProduccion(const TReporte& f, const TCifrasEmpresa& c, empstr& e) {
    e.capacacum = f.FormatoEntero(c.produccion.capacitacionAcumulada);
    e.iydacum = f.FormatoEntero(c.produccion.invYDesAcumulada);
    e.capacidad = f.FormatoEntero(c.produccion.capacidadProxima);
    e.capplanta = f.FormatoEntero(c.produccion.capacidadActual);
    e.mantenimiento = f.FormatoTruncado(c.produccion.mantenimiento);
    e.mantstock = f.FormatoEntero(c.stock.mantenimientoStock);
    e.subsidios = f.FormatoEntero(c.produccion.subsidios);
    e.indemnizaciones = f.FormatoEntero(c.produccion.indemnizaciones);
    e.penalidad = f.FormatoEntero(c.penalidad);
    e.produccion = f.FormatoEntero(c.produccion.produccion);
    e.empleados = f.FormatoEntero(c.produccion.empleadosNecesarios);
    e.empindemniz = f.FormatoEntero(c.produccion.empleadosIndemnizados);
    e.ordrecibidas = f.FormatoEntero(c.ordenesRecibidas);
    e.ventasunid = f.FormatoEntero(c.ventas);
    e.ordnorealiz = f.FormatoEntero(c.ordenesNoRealizadas);
    e.stockunid = f.FormatoEntero(c.stockFinal);
    e.costounid = f.FormatoDecimal(c.costoUnitario);
    e.planta = f.FormatoEntero(c.produccion.plantaNueva);
}

void llenarFinanzas(const TReporte& f, const TCifrasEmpresa& c, const TRegDatosIniciales& ini, empstr& e) {
    e.girodesc = f.FormatoTecho(c.giro);
    e.intereses = f.FormatoTecho(c.resultado.intereses);
    e.impuestos = f.FormatoTecho(c.resultado.impuestos);
    e.tasaa = f.FormatoDecimal(tasaAnual(ini.interesA));
    e.tasab = f.FormatoDecimal(tasaAnual(ini.interesB));
    e.prestamosa = f.FormatoTecho(c.deudaA);
    e.prestamosb = f.FormatoTecho(c.deudaB);
    e.maxcreditoa = f.FormatoEntero(ini.maxCreditoA);
    e.maxcreditob = f.FormatoEntero(ini.maxCreditoB);
    e.capital = f.FormatoEntero(ini.capital);
    e.efectivo = f.FormatoTecho(c.balance.efectivo);
    e.totalactivo = f.FormatoTecho(c.balance.totalActivo);
    e.prestamostomados = f.FormatoTecho(c.balance.prestamosTomados);
    e.utacumuladas = f.FormatoTecho(c.balance.utilAcumulada);
    e.pasivopatrimonio = f.FormatoTecho(c.balance.pasivoPatrimonio);
    e.stock = f.FormatoTecho(c.stock.valorStock);
    e.costomerc = f.FormatoTecho(c.stock.costoMercVendida);
    e.ventas = f.FormatoEntero(c.resultado.ventas);
    e.margenbruto = f.FormatoTecho(c.resultado.margenBruto);
    e.utilanteimp = f.FormatoTecho(c.resultado.utilAnteImp);
    e.utilperiodo = f.FormatoTecho(c.resultado.utilPeriodo);
    e.prestadica = f.FormatoTecho(c.prestamoAdicA);
    e.prestadicb = f.FormatoTecho(c.prestamoAdicB);
}

/// The totals and averages of the zone.
void llenarTotales(const TReporte& f, const TCifrasIndustria& c, indstr& ind) {
    ind.totordenes = f.FormatoEntero(c.ordenes);
    ind.totproducido = f.FormatoEntero(c.produccion);
    ind.totcapacidad = f.FormatoEntero(c.capacidad);
    ind.totvendido = f.FormatoEntero(c.vendido);
    ind.totstock = f.FormatoEntero(c.stock);
    ind.totnorealiz = f.FormatoEntero(c.noRealizadas);
    ind.totempleados = f.FormatoEntero(c.empleados);
    ind.totventas = f.FormatoEntero(c.ventas);
    ind.capprom = f.FormatoEntero(c.nivelPromedio);
    ind.iydacum = f.FormatoEntero(c.invYDesAcumulada);
    ind.ventasxempleado = f.FormatoTecho(c.ventasPorEmpleado);
    ind.costoprom = f.FormatoDecimal(c.costoPromedio);
    // Period 0 prints the common price and the typed tax rate as whole numbers.
    if (c.periodo0) {
        ind.precioprom = f.FormatoTecho(c.precioPromedio);
        ind.tasaimp = f.FormatoTecho(porcientoTipeado(c.parametros.tasaImpuestos));
    } else {
        ind.precioprom = f.FormatoDecimal(c.precioPromedio);
        ind.tasaimp = f.FormatoDecimal(static_cast<double>(static_cast<long double>(c.parametros.tasaImpuestos) * 100));
    }
}

/// The economic conditions: the banks with their limits and rates, the
/// stock cost, the overdraft limit, the maintenance rate and the zone.
void llenarCondiciones(const TReporte& f, const TCifrasIndustria& c, indstr& ind) {
    const TRegDatosIniciales& ini = c.parametros;
    ind.bancoa = banco(f, c.bancoA);
    ind.bancob = banco(f, c.bancoB);
    ind.limitea = f.FormatoEntero(ini.maxCreditoA);
    ind.limiteb = f.FormatoEntero(ini.maxCreditoB);
    ind.tasaprimaa = f.FormatoDecimal(tasaAnual(ini.interesA));
    ind.tasaprimab = f.FormatoDecimal(tasaAnual(ini.interesB));
    ind.mantstockunid = f.FormatoEntero(ini.penalidadStock);
    ind.limitegiro = f.FormatoTecho(ini.limiteGiroDescubierto);
    ind.tasamant = f.FormatoTruncado(porcientoTipeado(ini.tasaMantenimiento));
    ind.zona = std::to_string(ini.nroZona);
}

void agregarCompetidor(const TReporte& f, const TCompetidor& c, bool periodo0, indstr& ind) {
    ind.nombres.push_back(f.FormatoNombre(c.nombre));
    ind.precios.push_back(f.FormatoEntero(c.precio));
    ind.ventasdol.push_back(f.FormatoEntero(c.ventas));
    ind.utilperiodos.push_back(f.FormatoTecho(c.utilidadPeriodo));
    ind.utilacums.push_back(f.FormatoTecho(c.utilidadAcumulada));
    ind.unidvendidas.push_back(f.FormatoEntero(c.unidadesVendidas));
    ind.mercados.push_back(periodo0 ? f.FormatoEntero(static_cast<int32_t>(c.participacion))
                                    : f.FormatoDecimal(c.participacion));
}

}  // namespace

empstr textosEmpresa(const TInformeEmpresa& informe) {
    const TReporte f;
    empstr e{};
    e.bancoa = banco(f, informe.bancoA);
    e.bancob = banco(f, informe.bancoB);
    e.empresa = informe.empresa;
    e.zona = std::to_string(informe.parametros.nroZona);
    llenarDecisiones(f, informe.decision, e);
    llenarProduccion(f, informe.cifras, e);
    llenarFinanzas(f, informe.cifras, informe.parametros, e);
    if (informe.periodo0) e.empindemniz.clear();  // period 0 computes no dismissals
    else e.periodo = std::to_string(informe.periodo);
    return e;
}

indstr textosIndustria(const TCifrasIndustria& c) {
    const TReporte f;
    indstr ind{};
    llenarTotales(f, c, ind);
    llenarCondiciones(f, c, ind);
    ind.periodo = std::to_string(c.periodo0 ? 0 : c.periodo);
    if (c.periodo0) {
        ind.empresa = kEmpresaPeriodo0;
        ind.primera = static_cast<uint8_t>(c.empresas.size());
        for (const TCompetidor& competidor : c.empresas) ind.nombres.push_back(f.FormatoNombre(competidor.nombre));
        indstr primera{};
        if (!c.empresas.empty()) agregarCompetidor(f, c.empresas.front(), true, primera);
        ind.precios = primera.precios;
        ind.ventasdol = primera.ventasdol;
        ind.utilperiodos = primera.utilperiodos;
        ind.utilacums = primera.utilacums;
        ind.unidvendidas = primera.unidvendidas;
        ind.mercados = primera.mercados;
    } else {
        ind.cantidad = static_cast<uint8_t>(c.empresas.size());
        for (const TCompetidor& competidor : c.empresas) agregarCompetidor(f, competidor, false, ind);
    }
    return ind;
}
