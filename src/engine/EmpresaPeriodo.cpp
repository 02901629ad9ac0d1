#include "engine/EmpresaPeriodo.h"

#include "engine/Ordenes_UD.h"
#include "engine/UTablaCostos.h"
#include "engine/Redondeo.h"

#include <algorithm>
#include <cmath>

TReglasPeriodo reglasPeriodo0() {
    TReglasPeriodo r;
    r.promediarStock = 0;
    r.interesesProvisorios = true;
    r.limitesDeCredito = false;
    r.giroEnPrestamos = false;
    r.truncarEfectivo = true;
    r.puedeQuebrar = false;
    r.arrastrarGiro = false;
    return r;
}

TReglasPeriodo reglasCorrida(uint8_t periodo) {
    TReglasPeriodo r;
    r.promediarStock = periodo;
    return r;
}

TRegDatosAcum estadoInicial(const TRegDatosIniciales& ini) {
    TRegDatosAcum a{};
    a.zona = 1;
    a.planta = ini.planta;
    return a;
}

TEntradaProduccion entradaDeProduccion(const TRegDatosAcum& a, const TRegDecision& d, const TRegDatosIniciales& ini) {
    return TEntradaProduccion{a.capacitacionAcumulada, d.capacitacion, a.empleados, d.invYDes,
                              static_cast<double>(a.prestamoA), static_cast<double>(a.prestamoB),
                              ini.interesA, ini.interesB, ini.tasaMantenimiento,
                              static_cast<double>(d.nivelProduccion), ini.tasaProduccion,
                              d.pedPrestamoA, d.pedPrestamoB, d.devPrestamoA, d.devPrestamoB,
                              d.invPlanta, a.planta, a.invYDesAcumulada};
}

TCreditoPeriodo creditoDelPeriodo(const TRegDatosAcum& a, const TRegDecision& d, const TRegDatosIniciales& ini,
                                  bool limitesDeCredito) {
    TCreditoPeriodo r;
    r.devolucionB = d.devPrestamoB;
    r.giroAnteriorRestante = a.giroDescubierto;
    if (r.giroAnteriorRestante > 0) {
        if (r.devolucionB >= r.giroAnteriorRestante) {
            r.devolucionB -= r.giroAnteriorRestante;
            r.giroAnteriorRestante = 0;
        } else {
            r.giroAnteriorRestante -= r.devolucionB;
            r.devolucionB = 0;
        }
    }
    r.restanteA = int64_t(ini.maxCreditoA) - (int64_t(a.prestamoA) - d.devPrestamoA);
    r.restanteB = int64_t(ini.maxCreditoB) - (int64_t(a.prestamoB) - r.devolucionB);
    if (limitesDeCredito) {
        r.excesoA = std::max(0, a.prestamoA + d.pedPrestamoA - d.devPrestamoA - ini.maxCreditoA);
        r.excesoB = std::max(0, a.prestamoB + d.pedPrestamoB - r.devolucionB - ini.maxCreditoB);
    }
    return r;
}

TEmpresaCalculada calcularEmpresa(const TRegDatosAcum& a, const TRegDecision& d, const TRegDatosIniciales& ini,
                                  const TMercadoEmpresa& mercado, const TReglasPeriodo& reglas) {
    TCalculos calculos(ini.indemXEmpleado, ini.penalidad);
    TEmpresaCalculada res;
    res.reglas = reglas;
    TCifrasEmpresa& c = res.cifras;
    TResultadoProduccion& prod = c.produccion;

    calculos.calcularProduccion(entradaDeProduccion(a, d, ini), prod);

    const int32_t disponibles = a.stockUnidades + prod.produccion;
    double costoTotal = 0;
    tcosto().costoProduccion(a.planta, prod.produccion, a.capacitacionAcumulada,
                             static_cast<uint8_t>(d.nivelProduccion), c.costoUnitario, costoTotal);

    TOrdenes().calcularOrdenes(mercado.ordenesPorPrecio, mercado.ordenesPorIyD, ini.modifOrdenes, disponibles,
                               d.marketing, d.precio, c.ordenesRecibidas, c.ventas, c.ordenesNoRealizadas,
                               c.stockFinal);

    TEntradaStock entradaStock{reglas.promediarStock, a.stockUnidades, c.stockFinal, ini.penalidadStock,
                               prod.produccion, c.ventas, static_cast<double>(a.stockValor), c.costoUnitario};
    calculos.valuarStock(entradaStock, c.stock);

    const int32_t prestamosPedidos = d.pedPrestamoA + d.pedPrestamoB;
    const int32_t devoluciones = d.devPrestamoA + d.devPrestamoB;

    const TCreditoPeriodo limites = creditoDelPeriodo(a, d, ini, reglas.limitesDeCredito);
    const int32_t devolucionB = limites.devolucionB;
    res.giroAnteriorRestante = limites.giroAnteriorRestante;

    const double gastoIntereses =
        reglas.interesesProvisorios ? static_cast<double>(static_cast<long double>(prod.interesA) + prod.interesB)
                                    : static_cast<double>(a.intereses);
    bool fondosSuficientes = false;
    double faltante = 0;
    calculos.verificarFondos(prestamosPedidos, a.efectivo, gastoIntereses, prod.mantenimiento, costoTotal,
                             devoluciones, d.invPlanta, d.marketing, d.capacitacion, d.invYDes, fondosSuficientes,
                             faltante);

    const int32_t excesoA = limites.excesoA, excesoB = limites.excesoB;

    double parteGiro = 0;
    TEntradaCredito credito{faltante, static_cast<double>(a.prestamoA), static_cast<double>(a.prestamoB),
                            ini.maxCreditoA, ini.maxCreditoB, devolucionB, d.pedPrestamoB, d.devPrestamoA,
                            d.pedPrestamoA};
    if (!fondosSuficientes) calculos.cubrirFaltante(credito, c.penalidad, c.prestamoAdicA, c.prestamoAdicB, parteGiro);

    c.giro = static_cast<double>(static_cast<long double>(excesoA) + parteGiro + excesoB + res.giroAnteriorRestante);

    double interesGiro = 0, giro = 0;
    bool quebrada = false, marcaQuiebra = false;
    calculos.calcularDeudas(excesoA, excesoB, credito, c.giro, c.prestamoAdicA, c.prestamoAdicB,
                            ini.tasaGiroDescubierto, ini.limiteGiroDescubierto, c.deudaA, c.deudaB, interesGiro, giro,
                            quebrada, marcaQuiebra);
    if (reglas.puedeQuebrar) {
        res.quebrada = quebrada;
        res.marcaQuiebra = marcaQuiebra;
    }

    // The interest actually owed is on the final debts.
    prod.interesA = c.deudaA * ini.interesA;
    prod.interesB = c.deudaB * ini.interesB;

    calculos.estadoDeResultado(redondearTecho(c.stock.costoMercVendida), c.stock.mantenimientoStock, prod,
                               ini.tasaImpuestos, interesGiro, c.penalidad, d.invYDes, d.capacitacion, d.marketing,
                               c.ventas, static_cast<uint8_t>(d.precio), c.resultado);
    calculos.balance(prod.plantaNueva, ini.capital, a.utilidadAcumulada, c.deudaB, c.resultado.utilPeriodo,
                     c.stock.valorStock, c.deudaA, reglas.giroEnPrestamos ? c.giro : 0.0, c.balance);
    if (reglas.truncarEfectivo) c.balance.efectivo = std::trunc(c.balance.efectivo);
    return res;
}

TRegDatosAcum registroResultados(const TEmpresaCalculada& e, const cadena& nombreEmpresa) {
    const TCifrasEmpresa& c = e.cifras;
    TRegDatosAcum r{};
    r.intereses = redondearTecho(c.resultado.intereses);
    r.stockValor = redondearTecho(c.stock.valorStock);
    r.giroDescubierto = e.reglas.arrastrarGiro ? redondearTecho(c.giro) : 0;
    r.nombreEmpresa = nombreEmpresa;
    r.zona = 1;
    r.prestamoA = redondearTecho(c.deudaA);
    r.prestamoB = redondearTecho(c.deudaB);
    r.planta = c.produccion.plantaNueva;
    r.efectivo = redondearTecho(c.balance.efectivo);
    r.utilidadAcumulada = redondearTecho(c.balance.utilAcumulada);
    r.stockUnidades = c.stockFinal;
    r.invYDesAcumulada = c.produccion.invYDesAcumulada;
    r.capacitacionAcumulada = c.produccion.capacitacionAcumulada;
    r.empleados = c.produccion.empleadosNecesarios;
    r.quebrada = e.quebrada ? 1 : 0;
    r.marcaQuiebra = e.marcaQuiebra ? 1 : 0;
    return r;
}
