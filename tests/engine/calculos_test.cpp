// The financial rules of a company's period, with figures a teacher can check
// by hand, plus the cases where 80-bit arithmetic decides a whole number.

#include "comun/CarpetaTemporal.h"
#include "engine/Calculos_UD.h"
#include "store/Datos_UD.h"

#include <gtest/gtest.h>

namespace {

// Every test runs in a fresh data folder with the default severance (300) and
// penalty (500).
class Calculos : public ::testing::Test {
protected:
    CarpetaTemporal carpeta;
    TCalculos calculos;
};

TEntradaProduccion empresaTipo() {
    TEntradaProduccion e{};
    e.planta = 100000;
    e.invPlanta = 20000;
    e.tasaProduccion = 0.02;
    e.nivelProduccion = 75;
    e.empleados = 60;
    e.tasaMantenimiento = 0.07;
    return e;
}

// ---------------------------------------------------------------- production

TEST_F(Calculos, ProduccionDelEjemploDeClase) {
    TEntradaProduccion e = empresaTipo();
    e.deudaA = 10000;
    e.pedPrestamoA = 5000;
    e.devPrestamoA = 3000;
    e.interesA = 0.04;
    e.deudaB = 2000;
    e.devPrestamoB = 2000;
    e.interesB = 0.05;
    e.capacitacionAcumulada = 4000;
    e.capacitacion = 2000;
    e.invYDesAcumulada = 1000;
    e.invYDes = 3000;
    TResultadoProduccion r{};
    calculos.calcularProduccion(e, r);

    EXPECT_EQ(r.capacidadActual, 2000);
    EXPECT_EQ(r.plantaNueva, 120000);
    EXPECT_EQ(r.capacidadProxima, 2400);
    EXPECT_EQ(r.produccion, 1500);
    EXPECT_EQ(r.empleadosNecesarios, 75);
    EXPECT_EQ(r.subsidios, 1500);  // 15 new employees at 100 u$s
    EXPECT_EQ(r.empleadosIndemnizados, 0);
    EXPECT_EQ(r.indemnizaciones, 0);
    EXPECT_DOUBLE_EQ(r.mantenimiento, 7000);
    EXPECT_DOUBLE_EQ(r.interesA, 480);  // (5000 + 10000 - 3000) x 0.04
    EXPECT_DOUBLE_EQ(r.interesB, 0);    // the whole debt is repaid
    EXPECT_EQ(r.capacitacionAcumulada, 6000);
    EXPECT_EQ(r.invYDesAcumulada, 4000);
}

TEST_F(Calculos, SinProduccionSeIndemnizaATodos) {
    TEntradaProduccion e = empresaTipo();
    e.nivelProduccion = 0;
    TResultadoProduccion r{};
    TCalculos(250, 500).calcularProduccion(e, r);
    EXPECT_EQ(r.produccion, 0);
    EXPECT_EQ(r.empleadosNecesarios, 0);
    EXPECT_EQ(r.empleadosIndemnizados, 60);
    EXPECT_EQ(r.indemnizaciones, 60 * 250);
    EXPECT_EQ(r.subsidios, 0);
    EXPECT_EQ(r.capacidadActual, 2000);  // the plant is still there
}

TEST_F(Calculos, EmpleadosPorCadaMilEnteroDePlanta) {
    TEntradaProduccion e = empresaTipo();
    e.empleados = 0;
    e.planta = 999;
    e.nivelProduccion = 100;
    TResultadoProduccion r{};
    calculos.calcularProduccion(e, r);
    EXPECT_EQ(r.empleadosNecesarios, 0);
    EXPECT_EQ(r.subsidios, 0);

    e.planta = 50999;  // 50 whole thousands at half level: 25
    e.nivelProduccion = 50;
    calculos.calcularProduccion(e, r);
    EXPECT_EQ(r.empleadosNecesarios, 25);
    EXPECT_EQ(r.subsidios, 2500);

    // Exactly as many employees as needed: neither subsidy nor severance.
    e.empleados = 25;
    calculos.calcularProduccion(e, r);
    EXPECT_EQ(r.subsidios, 0);
    EXPECT_EQ(r.empleadosIndemnizados, 0);
    EXPECT_EQ(r.indemnizaciones, 0);
}

TEST_F(Calculos, CapacidadTruncadaEnPrecisionExtendida) {
    // 0.03 is stored a hair below 0.03, so 70000 x 0.03 is 2099.99999999999992
    // in 80 bits: capacity 2099. A double product would round to 2100.
    TEntradaProduccion e = empresaTipo();
    e.planta = 70000;
    e.invPlanta = 0;
    e.tasaProduccion = 0.03;
    e.nivelProduccion = 100;
    TResultadoProduccion r{};
    calculos.calcularProduccion(e, r);
    EXPECT_EQ(r.capacidadActual, 2099);
    EXPECT_EQ(r.capacidadProxima, 2099);
    EXPECT_EQ(r.produccion, 2099);

    e.planta = 60000;  // 60000 + 10000 invested: next capacity also 2099
    e.invPlanta = 10000;
    calculos.calcularProduccion(e, r);
    EXPECT_EQ(r.capacidadActual, 1799);
    EXPECT_EQ(r.capacidadProxima, 2099);
}

TEST_F(Calculos, NivelFueraDeLaListaConservaSuCocienteExtendido) {
    // 30 / 100 kept in 80 bits gives 7000 x 0.3 = 2100 exactly; rounded to a
    // double first (a hair below 0.3) it would give 2099.
    TEntradaProduccion e = empresaTipo();
    e.planta = 350000;
    e.tasaProduccion = 0.02;
    e.nivelProduccion = 30;
    TResultadoProduccion r{};
    calculos.calcularProduccion(e, r);
    EXPECT_EQ(r.capacidadActual, 7000);
    EXPECT_EQ(r.produccion, 2100);
    EXPECT_EQ(r.empleadosNecesarios, 105);
}

// ---------------------------------------------------------------- stock

TEST_F(Calculos, StockDelPeriodoCeroAlCostoUnitario) {
    TEntradaStock e{};
    e.promediar = 0;
    e.stockInicial = 500;  // ignored without averaging
    e.valorStockInicial = 99999;
    e.stockFinal = 200;
    e.costoMantStock = 3;
    e.produccion = 1000;
    e.ventas = 800;
    e.costoUnitario = 50.5;
    TResultadoStock r{};
    calculos.valuarStock(e, r);
    EXPECT_DOUBLE_EQ(r.valorStock, 10100);
    EXPECT_DOUBLE_EQ(r.costoMercVendida, 40400);
    EXPECT_EQ(r.mantenimientoStock, 600);
}

TEST_F(Calculos, StockAlCostoPromedioPonderado) {
    // 100 units worth 4000 plus 300 made at 60: 400 units at 55 each.
    TEntradaStock e{};
    e.promediar = 3;
    e.stockInicial = 100;
    e.valorStockInicial = 4000;
    e.produccion = 300;
    e.costoUnitario = 60;
    e.ventas = 250;
    e.stockFinal = 150;
    e.costoMantStock = 2;
    TResultadoStock r{};
    calculos.valuarStock(e, r);
    EXPECT_DOUBLE_EQ(r.costoMercVendida, 13750);
    EXPECT_DOUBLE_EQ(r.valorStock, 8250);
    EXPECT_EQ(r.mantenimientoStock, 300);
}

TEST_F(Calculos, SinStockNiProduccionNoHayCostoPeroSiMantenimiento) {
    TEntradaStock e{};
    e.promediar = 1;
    e.stockFinal = 7;
    e.costoMantStock = 4;
    e.ventas = 5;
    e.costoUnitario = 60;
    TResultadoStock r{1, 1, 1};
    calculos.valuarStock(e, r);
    EXPECT_EQ(r.costoMercVendida, 0);
    EXPECT_EQ(r.valorStock, 0);
    EXPECT_EQ(r.mantenimientoStock, 28);
}

// ---------------------------------------------------------------- funds

TEST_F(Calculos, FondosJustosAlcanzan) {
    // 10000 asked + 5000 cash - 3000 repaid = 12000 against 12000 of outlays.
    bool alcanzan = false;
    double faltante = -1;
    calculos.verificarFondos(10000, 5000, 500, 500, 6000, 3000, 1000, 2000, 1000, 1000, alcanzan, faltante);
    EXPECT_TRUE(alcanzan);
    EXPECT_EQ(faltante, 0);

    calculos.verificarFondos(10000, 5000, 500, 500.25, 6000, 3000, 1000, 2000, 1000, 1000, alcanzan, faltante);
    EXPECT_FALSE(alcanzan);
    EXPECT_DOUBLE_EQ(faltante, 0.25);

    calculos.verificarFondos(0, 0, 0, 0, 6000, 0, 0, 0, 0, 0, alcanzan, faltante);
    EXPECT_FALSE(alcanzan);
    EXPECT_EQ(faltante, 6000);
}

// ---------------------------------------------------------------- financing

struct Financiacion {
    int32_t penalidad = 0;
    double adicA = 0, adicB = 0, parteGiro = 0;
};

TEntradaCredito pedidoDeClase() {
    TEntradaCredito e{};
    e.faltante = 10000;
    e.deudaA = 50000;
    e.pedPrestamoA = 30000;
    e.maxCreditoA = 100000;
    return e;
}

TEST_F(Calculos, ElBancoACubreTodo) {
    Financiacion f;
    f.adicB = 111;  // not touched when bank A covers the need
    f.parteGiro = 222;
    calculos.cubrirFaltante(pedidoDeClase(), f.penalidad, f.adicA, f.adicB, f.parteGiro);
    EXPECT_EQ(f.penalidad, 500);
    EXPECT_EQ(f.adicA, 10500);
    EXPECT_EQ(f.adicB, 111);
    EXPECT_EQ(f.parteGiro, 222);
}

TEST_F(Calculos, ElRestoVaAlBancoBOAlGiro) {
    TEntradaCredito e = pedidoDeClase();
    e.maxCreditoA = 85000;
    e.maxCreditoB = 20000;
    Financiacion f;
    f.parteGiro = 222;
    calculos.cubrirFaltante(e, f.penalidad, f.adicA, f.adicB, f.parteGiro);
    EXPECT_EQ(f.adicA, 5000);
    EXPECT_EQ(f.adicB, 5500);
    EXPECT_EQ(f.parteGiro, 222);

    e.maxCreditoB = 0;  // bank B without debt, request or room
    f = Financiacion{};
    calculos.cubrirFaltante(e, f.penalidad, f.adicA, f.adicB, f.parteGiro);
    EXPECT_EQ(f.adicA, 5000);
    EXPECT_EQ(f.adicB, 0);
    EXPECT_EQ(f.parteGiro, 5500);
}

TEST_F(Calculos, BancoASobreSuLimiteNoPresta) {
    TEntradaCredito e = pedidoDeClase();
    e.pedPrestamoA = 0;
    e.deudaA = 90000;
    e.maxCreditoA = 85000;
    e.maxCreditoB = 50000;
    Financiacion f;
    calculos.cubrirFaltante(e, f.penalidad, f.adicA, f.adicB, f.parteGiro);
    EXPECT_EQ(f.adicA, 0);
    EXPECT_EQ(f.adicB, 10500);
    EXPECT_EQ(f.parteGiro, 0);
}

TEST_F(Calculos, BancoBSobreSuLimiteNoCuentaSuExcesoDosVeces) {
    // Bank B holds 50000 against a limit of 20000: the run puts the excess of
    // 30000 into the overdraft itself. The need of 10500 adds only 10500, so
    // the period's overdraft is 40500, not 70500.
    TEntradaCredito e{};
    e.faltante = 10000;
    e.deudaB = 50000;
    e.maxCreditoB = 20000;
    Financiacion f;
    calculos.cubrirFaltante(e, f.penalidad, f.adicA, f.adicB, f.parteGiro);
    EXPECT_EQ(f.adicA, 0);
    EXPECT_EQ(f.adicB, 0);
    EXPECT_EQ(f.parteGiro, 10500);
    const int32_t excesoB = 50000 - 20000;
    EXPECT_EQ(excesoB + f.parteGiro, 40500);
}

TEST_F(Calculos, LaDevolucionAlBancoBDaLugarPeroNoPrestamo) {
    TEntradaCredito e{};
    e.faltante = 10000;
    e.deudaB = 20000;
    e.maxCreditoB = 25000;
    e.devPrestamoB = 6000;  // room 25000 - 14000 = 11000 covers 10500
    Financiacion f;
    calculos.cubrirFaltante(e, f.penalidad, f.adicA, f.adicB, f.parteGiro);
    EXPECT_EQ(f.adicB, 10500);
    EXPECT_EQ(f.parteGiro, 0);

    e.devPrestamoB = 5000;  // room 10000 is short; then the loan ignores the repayment
    f = Financiacion{};
    calculos.cubrirFaltante(e, f.penalidad, f.adicA, f.adicB, f.parteGiro);
    EXPECT_EQ(f.adicB, 5000);
    EXPECT_EQ(f.parteGiro, 5500);
}

TEST_F(Calculos, LaPenalidadEsLaDelJuego) {
    Financiacion f;
    TCalculos(300, 750).cubrirFaltante(pedidoDeClase(), f.penalidad, f.adicA, f.adicB, f.parteGiro);
    EXPECT_EQ(f.penalidad, 750);
    EXPECT_EQ(f.adicA, 10750);
}

// ---------------------------------------------------------------- debts

struct Deudas {
    double deudaA = -1, deudaB = -1, interesGiro = -1, giro = -1;
    bool quebrada = false, marca = false;
};

TEST_F(Calculos, DeudasFinalesYQuiebra) {
    TEntradaCredito e = pedidoDeClase();
    e.maxCreditoB = 20000;
    e.deudaB = 1000;
    e.devPrestamoB = 3000;
    Deudas d;
    calculos.calcularDeudas(0, 0, e, 40000, 5000, 0, 0.05, 50000, d.deudaA, d.deudaB, d.interesGiro, d.giro, d.quebrada,
                            d.marca);
    EXPECT_EQ(d.deudaA, 85000);  // 30000 + 50000 + 5000
    EXPECT_EQ(d.deudaB, 0);      // 1000 - 3000 is no debt
    EXPECT_EQ(d.giro, 40000);
    EXPECT_DOUBLE_EQ(d.interesGiro, 2000);
    EXPECT_FALSE(d.quebrada);
    EXPECT_FALSE(d.marca);

    // A bank that was exceeded holds exactly its limit.
    calculos.calcularDeudas(7000, 3000, e, 40000, 5000, 0, 0.05, 50000, d.deudaA, d.deudaB, d.interesGiro, d.giro, d.quebrada,
                            d.marca);
    EXPECT_EQ(d.deudaA, 100000);
    EXPECT_EQ(d.deudaB, 20000);
}

TEST_F(Calculos, GiroIgualAlLimiteNoQuiebra) {
    const TEntradaCredito e{};
    Deudas d;
    d.quebrada = true;  // assigned on this path
    d.marca = true;     // left as the caller set it
    calculos.calcularDeudas(0, 0, e, 50000, 0, 0, 0.05, 50000, d.deudaA, d.deudaB, d.interesGiro, d.giro, d.quebrada, d.marca);
    EXPECT_FALSE(d.quebrada);
    EXPECT_TRUE(d.marca);

    d.marca = false;
    calculos.calcularDeudas(0, 0, e, 50000.01, 0, 0, 0.05, 50000, d.deudaA, d.deudaB, d.interesGiro, d.giro, d.quebrada,
                            d.marca);
    EXPECT_TRUE(d.quebrada);
    EXPECT_TRUE(d.marca);
}

TEST_F(Calculos, ConLimiteCeroQuiebraCualquierGiro) {
    const TEntradaCredito e{};
    Deudas d;
    calculos.calcularDeudas(0, 0, e, 0, 0, 0, 0.05, 0, d.deudaA, d.deudaB, d.interesGiro, d.giro, d.quebrada, d.marca);
    EXPECT_FALSE(d.quebrada);
    calculos.calcularDeudas(0, 0, e, 1, 0, 0, 0.05, 0, d.deudaA, d.deudaB, d.interesGiro, d.giro, d.quebrada, d.marca);
    EXPECT_TRUE(d.quebrada);
}

// ---------------------------------------------------------------- income statement

// A production result with only the figures a test sets.
TResultadoProduccion soloGastos(double mantenimiento) {
    TResultadoProduccion p{};
    p.mantenimiento = mantenimiento;
    return p;
}

TEST_F(Calculos, EstadoDeResultadoCompleto) {
    TResultadoProduccion p{};
    p.subsidios = 1500;
    p.mantenimiento = 7000;
    p.indemnizaciones = 600;
    p.interesA = 100.5;
    p.interesB = 200.25;
    TEstadoResultado r{};
    // 75 u$d x 2000 units = 150000 sales; margin 60000 over a cost of 90000.
    calculos.estadoDeResultado(90000, 300, p, 0.35, 50, 500, 3000, 1000, 2000, 2000, 75, r);
    EXPECT_EQ(r.ventas, 150000);
    EXPECT_EQ(r.margenBruto, 60000);
    EXPECT_DOUBLE_EQ(r.intereses, 350.75);
    // 1500 + 60000 - 2000 - 7000 - 1000 - 3000 - 600 - 300 - 350.75 - 500 = 46749.25
    EXPECT_DOUBLE_EQ(r.utilAnteImp, 46748.25);
    EXPECT_DOUBLE_EQ(r.impuestos, 16361.8875);
    EXPECT_EQ(r.utilPeriodo, 30386);
}

TEST_F(Calculos, ImpuestoSobreUtilidadYTruncamiento) {
    // 10000 of margin less 8764.4 of maintenance: 1235.6, less the one u$s.
    TEstadoResultado r{};
    calculos.estadoDeResultado(0, 0, soloGastos(8764.4), 0.3, 0, 0, 0, 0, 0, 1000, 10, r);
    EXPECT_NEAR(r.utilAnteImp, 1234.6, 1e-9);
    EXPECT_NEAR(r.impuestos, 370.38, 1e-9);
    EXPECT_EQ(r.utilPeriodo, 864);  // Trunc(864.22)

    // A loss pays no tax and truncates toward zero: -10.7 gives -10.
    calculos.estadoDeResultado(0, 0, soloGastos(10009.7), 0.3, 0, 0, 0, 0, 0, 1000, 10, r);
    EXPECT_NEAR(r.utilAnteImp, -10.7, 1e-9);
    EXPECT_EQ(r.impuestos, 0);
    EXPECT_EQ(r.utilPeriodo, -10);

    // Break-even reports -1.
    calculos.estadoDeResultado(0, 0, soloGastos(10000), 0.3, 0, 0, 0, 0, 0, 1000, 10, r);
    EXPECT_EQ(r.utilAnteImp, -1);
    EXPECT_EQ(r.impuestos, 0);
    EXPECT_EQ(r.utilPeriodo, -1);
}

TEST_F(Calculos, ElImpuestoSeGuardaComoDobleAntesDeTruncar) {
    // 10000 x 0.1 is 1000.00000000000006 in 80 bits but exactly 1000 as the
    // stored double; the profit is therefore 9000, not 8999.
    TEstadoResultado r{};
    calculos.estadoDeResultado(0, 0, soloGastos(0), 0.1, 0, 0, 0, 0, 0, 10001, 1, r);  // 10001 units at 1 u$d
    EXPECT_EQ(r.ventas, 10001);
    EXPECT_EQ(r.utilAnteImp, 10000);
    EXPECT_EQ(r.impuestos, 1000);
    EXPECT_EQ(r.utilPeriodo, 9000);
}

// ---------------------------------------------------------------- balance

TEST_F(Calculos, BalanceConElEfectivoComoCuadre) {
    TBalance b{};
    calculos.balance(120000, 100000, 5000, 20000, 3000, 8250, 85000, 40000, b);
    EXPECT_EQ(b.prestamosTomados, 145000);  // both banks and the overdraft
    EXPECT_EQ(b.utilAcumulada, 8000);
    EXPECT_EQ(b.efectivo, 84750);  // 85000 + 20000 + 3000 + 5000 + 100000 - 120000 - 8250
    EXPECT_EQ(b.totalActivo, 213000);
    EXPECT_EQ(b.pasivoPatrimonio, 213000);  // the overdraft enters neither side
}

TEST_F(Calculos, Porcentaje) {
    EXPECT_EQ(calculos.porcentaje(3, 0), 0);
    EXPECT_DOUBLE_EQ(calculos.porcentaje(1, 3), 100.0 / 3);
    EXPECT_EQ(calculos.porcentaje(250, 1000), 25);
}

}  // namespace
