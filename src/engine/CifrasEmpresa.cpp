#include "engine/CifrasEmpresa.h"

#include <cmath>

void llenarEmpstr(const TCifrasEmpresa& c, const TRegDecision& d, const TRegDatosIniciales& ini,
                  const std::string& bancoA, const std::string& bancoB, empstr& e) {
    const TReporte f;
    e.bancoa = f.FormatoBanco(bancoA).substr(0, 50);
    e.bancob = f.FormatoBanco(bancoB).substr(0, 50);
    e.precio = f.FormatoEntero(d.precio);
    e.girodesc = f.FormatoTecho(c.giro);
    e.zona = std::to_string(ini.nroZona);
    e.capacitacion = f.FormatoEntero(d.capacitacion);
    e.marketing = f.FormatoEntero(d.marketing);
    e.iyd = f.FormatoEntero(d.invYDes);
    e.ampplanta = f.FormatoEntero(d.invPlanta);
    e.capacacum = f.FormatoEntero(c.produccion.capacitacionAcumulada);
    e.iydacum = f.FormatoEntero(c.produccion.invYDesAcumulada);
    e.capacidad = f.FormatoEntero(c.produccion.capacidadProxima);
    e.capplanta = f.FormatoEntero(c.produccion.capacidadActual);
    e.mantenimiento = f.FormatoTruncado(c.produccion.mantenimiento);
    e.mantstock = f.FormatoEntero(c.stock.mantenimientoStock);
    e.subsidios = f.FormatoEntero(c.produccion.subsidios);
    e.indemnizaciones = f.FormatoEntero(c.produccion.indemnizaciones);
    e.penalidad = f.FormatoEntero(c.penalidad);
    e.intereses = f.FormatoTecho(c.resultado.intereses);
    e.impuestos = f.FormatoTecho(c.resultado.impuestos);
    e.produccion = f.FormatoEntero(c.produccion.produccion);
    e.nivelprod = f.FormatoEntero(d.nivelProduccion);
    e.empleados = f.FormatoEntero(c.produccion.empleadosNecesarios);
    e.empindemniz = f.FormatoEntero(c.produccion.empleadosIndemnizados);
    e.ordrecibidas = f.FormatoEntero(c.ordenesRecibidas);
    e.ventasunid = f.FormatoEntero(c.ventas);
    e.ordnorealiz = f.FormatoEntero(c.ordenesNoRealizadas);
    e.stockunid = f.FormatoEntero(c.stockFinal);
    e.costounid = f.FormatoDecimal(c.costoUnitario);
    // Rates are stored per period; the report shows them per year.
    e.tasaa = f.FormatoDecimal(static_cast<double>(static_cast<long double>(ini.interesA) * 100 * 3));
    e.tasab = f.FormatoDecimal(static_cast<double>(static_cast<long double>(ini.interesB) * 100 * 3));
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
    e.planta = f.FormatoEntero(c.produccion.plantaNueva);
    e.ventas = f.FormatoEntero(c.resultado.ventas);
    e.margenbruto = f.FormatoTecho(c.resultado.margenBruto);
    e.utilanteimp = f.FormatoTecho(c.resultado.utilAnteImp);
    e.utilperiodo = f.FormatoTecho(c.resultado.utilPeriodo);
    e.prestadica = f.FormatoTecho(c.prestamoAdicA);
    e.prestadicb = f.FormatoTecho(c.prestamoAdicB);
    e.pedprestamoa = f.FormatoEntero(d.pedPrestamoA);
    e.pedprestamob = f.FormatoEntero(d.pedPrestamoB);
    e.devprestamoa = f.FormatoEntero(d.devPrestamoA);
    e.devprestamob = f.FormatoEntero(d.devPrestamoB);  // as decided, before it paid the overdraft
}

void prepararIndstr(indstr& ind, std::size_t n) {
    ind.nombres.assign(n, "");
    for (cadestr* lista : {&ind.precios, &ind.ventasdol, &ind.utilperiodos, &ind.utilacums, &ind.unidvendidas,
                           &ind.mercados})
        lista->assign(n, "");
}

void llenarCondiciones(const empstr& e, const TRegDatosIniciales& ini, indstr& ind) {
    const TReporte f;
    ind.bancoa = e.bancoa;
    ind.bancob = e.bancob;
    ind.limitea = e.maxcreditoa;
    ind.limiteb = e.maxcreditob;
    ind.tasaprimaa = e.tasaa;
    ind.tasaprimab = e.tasab;
    ind.mantstockunid = f.FormatoEntero(ini.penalidadStock);
    ind.limitegiro = f.FormatoTecho(ini.limiteGiroDescubierto);
    ind.tasamant = f.FormatoTruncado(porcientoTipeado(ini.tasaMantenimiento));
    ind.zona = std::to_string(ini.nroZona);
}

double porcientoTipeado(double tasa) {
    const long double porciento = static_cast<double>(static_cast<long double>(tasa) * 100);
    constexpr long double escala = 1e9L;
    return static_cast<double>(std::roundl(porciento * escala) / escala);
}
