#include "engine/Calculos_UD.h"

#include "engine/Truncar.h"
#include "store/Registros.h"

namespace {
using Ext = long double;

// A new employee is subsidised with a fixed 100 u$s.
constexpr int64_t kSubsidioPorEmpleado = 100;
}  // namespace

void TCalculos::calcularProduccion(const TEntradaProduccion& e, TResultadoProduccion& r) {
    r.capacidadActual = truncar(Ext(e.planta) * e.tasaProduccion);
    r.plantaNueva = envolver(int64_t{e.planta} + e.invPlanta);
    r.capacidadProxima = truncar(Ext(r.plantaNueva) * e.tasaProduccion);

    const Ext fraccionNivel = Ext(e.nivelProduccion) / 100;
    r.produccion = truncar(r.capacidadActual * fraccionNivel);
    // One employee per whole 1000 u$s of plant at full level.
    r.empleadosNecesarios = truncar(Ext(truncar64(Ext(e.planta) / 1000)) * fraccionNivel);

    if (r.empleadosNecesarios > e.empleados) {
        r.subsidios = envolver((int64_t{r.empleadosNecesarios} - e.empleados) * kSubsidioPorEmpleado);
        r.indemnizaciones = 0;
        r.empleadosIndemnizados = 0;
    } else {
        r.subsidios = 0;
        r.empleadosIndemnizados = envolver(int64_t{e.empleados} - r.empleadosNecesarios);
        r.indemnizaciones = envolver(int64_t{r.empleadosIndemnizados} * indemnizacionPorEmpleado_);
    }

    r.mantenimiento = static_cast<double>(Ext(e.planta) * e.tasaMantenimiento);
    r.interesA = static_cast<double>((Ext(e.pedPrestamoA) + e.deudaA - e.devPrestamoA) * e.interesA);
    r.interesB = static_cast<double>((Ext(e.pedPrestamoB) + e.deudaB - e.devPrestamoB) * e.interesB);

    r.capacitacionAcumulada = envolver(int64_t{e.capacitacionAcumulada} + e.capacitacion);
    r.invYDesAcumulada = envolver(int64_t{e.invYDes} + e.invYDesAcumulada);
}

void TCalculos::valuarStock(const TEntradaStock& e, TResultadoStock& r) {
    r.mantenimientoStock = envolver(int64_t{e.stockFinal} * e.costoMantStock);

    if (e.promediar == 0) {
        r.valorStock = static_cast<double>(Ext(e.stockFinal) * e.costoUnitario);
        r.costoMercVendida = static_cast<double>(Ext(e.ventas) * e.costoUnitario);
        return;
    }
    if (e.stockInicial == 0 && e.produccion == 0) {
        r.costoMercVendida = 0;
        r.valorStock = 0;
        return;
    }
    const int32_t unidades = envolver(int64_t{e.stockInicial} + e.produccion);
    const Ext promedio = (Ext(e.produccion) * e.costoUnitario + e.valorStockInicial) / unidades;
    r.costoMercVendida = static_cast<double>(Ext(e.ventas) * promedio);
    r.valorStock = static_cast<double>(Ext(envolver(int64_t{unidades} - e.ventas)) * promedio);
}

void TCalculos::verificarFondos(int32_t prestamosPedidos, int32_t efectivo, double gastoIntereses, double mantenimiento,
                                double costoProduccion, int32_t devoluciones, int32_t invPlanta, int32_t marketing,
                                int32_t capacitacion, int32_t invYDes, bool& fondosSuficientes, double& faltante) {
    const int32_t fondos = envolver(int64_t{prestamosPedidos} + efectivo - devoluciones);
    const Ext egresos =
        Ext(costoProduccion) + gastoIntereses + marketing + capacitacion + invYDes + invPlanta + mantenimiento;
    if (fondos >= egresos) {
        fondosSuficientes = true;
        faltante = 0;
    } else {
        fondosSuficientes = false;
        faltante = static_cast<double>(egresos - fondos);
    }
}

void TCalculos::cubrirFaltante(const TEntradaCredito& e, int32_t& penalidad, double& prestamoAdicA,
                               double& prestamoAdicB, double& parteGiro) {
    penalidad = valorPenalidad_;
    const Ext necesidad = Ext(e.faltante) + penalidad;

    const Ext usadoA = Ext(e.pedPrestamoA) + e.deudaA - e.devPrestamoA;
    if (e.maxCreditoA >= usadoA + necesidad) {
        prestamoAdicA = static_cast<double>(necesidad);
        return;
    }
    // What bank A still lends: the repayment does not free credit here.
    const Ext libreA = e.maxCreditoA - (Ext(e.pedPrestamoA) + e.deudaA);
    prestamoAdicA = libreA < 0 ? 0.0 : static_cast<double>(libreA);
    const Ext restante = necesidad - prestamoAdicA;

    const Ext holguraB = e.maxCreditoB - (Ext(e.pedPrestamoB) + e.deudaB - e.devPrestamoB);
    if (holguraB >= restante) {
        prestamoAdicB = static_cast<double>(restante);
        return;
    }
    // Bank B above its limit has no room left; its excess already goes to the
    // overdraft through the run, so it must not inflate this part as well.
    Ext libreB = e.maxCreditoB - (Ext(e.pedPrestamoB) + e.deudaB);
    if (libreB < 0) libreB = 0;
    parteGiro = static_cast<double>(restante - libreB);
    prestamoAdicB = static_cast<double>(libreB);
}

void TCalculos::calcularDeudas(int32_t excesoA, int32_t excesoB, const TEntradaCredito& e, double giroTotal,
                               double prestamoAdicA, double prestamoAdicB, double tasaGiro, double limiteGiro,
                               double& deudaFinalA, double& deudaFinalB, double& interesGiro, double& giro,
                               bool& quebrada, bool& marcaQuiebra) {
    // A bank that was exceeded holds exactly its limit; the excess is overdraft.
    deudaFinalA = excesoA != 0
                      ? e.maxCreditoA
                      : static_cast<double>(Ext(e.pedPrestamoA) + e.deudaA + prestamoAdicA - e.devPrestamoA);
    if (deudaFinalA < 0) deudaFinalA = 0;
    deudaFinalB = excesoB != 0
                      ? e.maxCreditoB
                      : static_cast<double>(Ext(e.pedPrestamoB) + e.deudaB + prestamoAdicB - e.devPrestamoB);
    if (deudaFinalB < 0) deudaFinalB = 0;

    giro = giroTotal;
    interesGiro = static_cast<double>(Ext(giroTotal) * tasaGiro);

    if (giroTotal > limiteGiro) {
        quebrada = true;
        marcaQuiebra = true;
    } else {
        quebrada = false;
    }
}

void TCalculos::estadoDeResultado(int32_t costoMercVendida, int32_t mantenimientoStock,
                                  const TResultadoProduccion& produccion, double tasaImpuestos, double interesGiro,
                                  int32_t penalidad, int32_t invYDes, int32_t capacitacion, int32_t marketing,
                                  int32_t ventasUnidades, uint8_t precio, TEstadoResultado& r) {
    r.ventas = envolver(int64_t{precio} * ventasUnidades);
    r.margenBruto = envolver(int64_t{r.ventas} - costoMercVendida);
    r.intereses = static_cast<double>(Ext(produccion.interesA) + produccion.interesB + interesGiro);

    const Ext x = Ext(produccion.subsidios) + r.margenBruto - marketing - produccion.mantenimiento - capacitacion -
                  invYDes - produccion.indemnizaciones - mantenimientoStock - r.intereses - penalidad;
    // One u$s always comes off the result, whether or not tax is due.
    r.utilAnteImp = static_cast<double>(x - 1);
    r.impuestos = x > 0 ? static_cast<double>(Ext(r.utilAnteImp) * tasaImpuestos) : 0.0;
    r.utilPeriodo = static_cast<double>(truncar64(Ext(r.utilAnteImp) - r.impuestos));
}

void TCalculos::balance(int32_t plantaNueva, int32_t capital, int32_t utilAcumuladaAnterior, double deudaFinalB,
                        double utilPeriodo, double valorStock, double deudaFinalA, double sumandoPrestamos,
                        TBalance& r) {
    r.prestamosTomados = static_cast<double>(Ext(deudaFinalA) + deudaFinalB + sumandoPrestamos);
    r.utilAcumulada = static_cast<double>(Ext(utilAcumuladaAnterior) + utilPeriodo);
    // Cash balances the sheet.
    r.efectivo = static_cast<double>(Ext(deudaFinalA) + deudaFinalB + utilPeriodo + utilAcumuladaAnterior + capital -
                                     plantaNueva - valorStock);
    r.totalActivo = static_cast<double>(Ext(r.efectivo) + valorStock + plantaNueva);
    r.pasivoPatrimonio =
        static_cast<double>(Ext(deudaFinalA) + deudaFinalB + capital + utilPeriodo + utilAcumuladaAnterior);
}

double TCalculos::porcentaje(int32_t parte, int32_t total) {
    if (total == 0) return 0;
    return static_cast<double>(Ext(envolver(int64_t{parte} * 100)) / total);
}
