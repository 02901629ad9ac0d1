#pragma once
// TCalculos: the financial rules of one company's period, as pure numeric
// operations. Production and staff, stock valuation, whether the company's
// own funds cover its outlays, how a shortfall is financed (bank A, bank B,
// then overdraft), the final debts and bankruptcy, the income statement and
// the balance sheet.
//
// Every operation takes its inputs by value or as one parameter record and
// writes caller-owned outputs; nothing survives between calls and nothing
// touches a file. calcularProduccion and cubrirFaltante use the game's
// severance and penalty, given once to the calculator.
//
// Arithmetic: money is carried in 80-bit extended precision and rounded to
// double only where a result is stored in a double field or output. Every
// conversion to a whole number truncates toward zero, from the extended value
// (plant 70000 at 0.03 units per u$s is a capacity of 2099, since 0.03 is
// stored a hair below 0.03). Whole-number products and sums of decisions are
// held in 32 bits as the files hold them.

#include <cstdint>

/// What calcularProduccion needs, in the order the game fills it.
struct TEntradaProduccion {
    int32_t capacitacionAcumulada;  ///< accumulated training before the period
    int32_t capacitacion;           ///< training investment of the period
    int32_t empleados;              ///< employees at the start of the period
    int32_t invYDes;                ///< R&D investment of the period
    double deudaA;                  ///< debt with bank A at the start
    double deudaB;                  ///< debt with bank B at the start
    double interesA;                ///< bank A's rate per period
    double interesB;                ///< bank B's rate per period
    double tasaMantenimiento;       ///< plant maintenance rate
    double nivelProduccion;         ///< production level in percent, 0 to 100
    double tasaProduccion;          ///< capacity in units per u$s of plant
    int32_t pedPrestamoA;
    int32_t pedPrestamoB;
    int32_t devPrestamoA;
    int32_t devPrestamoB;
    int32_t invPlanta;         ///< plant investment of the period
    int32_t planta;            ///< plant value at the start
    int32_t invYDesAcumulada;  ///< accumulated R&D before the period
};

/// The production figures of the period. interesA and interesB are
/// provisional: the runs replace them once the final debts are known.
struct TResultadoProduccion {
    double interesA;
    double mantenimiento;  ///< plant maintenance
    double interesB;
    int32_t subsidios;              ///< 100 u$s per employee hired
    int32_t indemnizaciones;        ///< severance paid
    int32_t empleadosIndemnizados;  ///< employees laid off
    int32_t capacitacionAcumulada;  ///< accumulated training after the period
    int32_t empleadosNecesarios;
    int32_t produccion;        ///< units produced
    int32_t capacidadProxima;  ///< capacity of the next period (with the new plant)
    int32_t capacidadActual;   ///< capacity of this period
    int32_t plantaNueva;       ///< plant value after the investment
    int32_t invYDesAcumulada;  ///< accumulated R&D after the period
};

/// What valuarStock needs. promediar is 0 in period 0 (no averaging) and the
/// period number otherwise.
struct TEntradaStock {
    uint8_t promediar;
    int32_t stockInicial;
    int32_t stockFinal;
    int32_t costoMantStock;  ///< stock maintenance cost per unit
    int32_t produccion;
    int32_t ventas;  ///< units sold
    double valorStockInicial;
    double costoUnitario;
};

struct TResultadoStock {
    double costoMercVendida;  ///< cost of goods sold
    double valorStock;        ///< stock value at the end
    int32_t mantenimientoStock;
};

/// A company's credit position, shared by cubrirFaltante and calcularDeudas.
/// devPrestamoB is the repayment to bank B left after paying the carried
/// overdraft.
struct TEntradaCredito {
    double faltante;  ///< cash shortfall
    double deudaA;    ///< debt with bank A at the start
    double deudaB;    ///< debt with bank B at the start
    int32_t maxCreditoA;
    int32_t maxCreditoB;
    int32_t devPrestamoB;
    int32_t pedPrestamoB;
    int32_t devPrestamoA;
    int32_t pedPrestamoA;
};

struct TEstadoResultado {
    double intereses;
    double margenBruto;
    double utilAnteImp;  ///< profit before tax
    double utilPeriodo;  ///< profit of the period, a whole number
    double impuestos;
    int32_t ventas;  ///< sales in u$s
};

struct TBalance {
    double efectivo;
    double totalActivo;
    double utilAcumulada;
    double pasivoPatrimonio;
    double prestamosTomados;
};

class TCalculos {
public:
    /// The severance per dismissed employee and the penalty of the game
    /// being run (its stored parameters); 300 and 500 are a new game's.
    explicit TCalculos(int32_t indemnizacionPorEmpleado = 300, int32_t valorPenalidad = 500)
        : indemnizacionPorEmpleado_(indemnizacionPorEmpleado), valorPenalidad_(valorPenalidad) {}

    /// Capacity, production, staff, maintenance, provisional interest and the
    /// new accumulated figures. Capacity is Trunc(plant x tasaProduccion),
    /// production Trunc(capacity x level / 100), one employee per whole 1000
    /// u$s of plant at full level. Hiring earns a subsidy of 100 u$s per
    /// employee; each employee laid off costs the severance per employee.
    /// Assigns every field of r.
    void calcularProduccion(const TEntradaProduccion& e, TResultadoProduccion& r);

    /// Stock maintenance (units at the end x cost per unit) and the stock's
    /// value: at the unit cost in period 0, at the weighted average of the
    /// opening stock and the production afterwards (0 and 0 when both are 0).
    /// Assigns every field of r.
    void valuarStock(const TEntradaStock& e, TResultadoStock& r);

    /// Whether loans asked + cash - repayments cover the period's outlays
    /// (production cost, interest, marketing, training, R&D, plant investment
    /// and maintenance). Funds equal to the outlays suffice. Assigns both
    /// outputs; the shortfall is 0 when the funds suffice.
    void verificarFondos(int32_t prestamosPedidos, int32_t efectivo, double gastoIntereses, double mantenimiento,
                         double costoProduccion, int32_t devoluciones, int32_t invPlanta, int32_t marketing,
                         int32_t capacitacion, int32_t invYDes, bool& fondosSuficientes, double& faltante);

    /// Finances e.faltante plus the game's penalty: from bank A up to
    /// its limit, then from bank B up to its limit, the rest as overdraft.
    /// Always sets penalidad. Leaves prestamoAdicB and parteGiro untouched when
    /// bank A covers everything, and parteGiro untouched when bank B covers
    /// the rest; the caller sets the three to 0 beforehand. A bank already at
    /// or above its limit lends nothing and has no room, so its excess is not
    /// counted a second time in the overdraft part (the run adds the excess
    /// over each limit to the overdraft itself).
    void cubrirFaltante(const TEntradaCredito& e, int32_t& penalidad, double& prestamoAdicA, double& prestamoAdicB,
                        double& parteGiro);

    /// Final debts (the limit when the bank was exceeded, otherwise loan
    /// asked + debt + additional loan - repayment, never below 0), the
    /// overdraft and its interest, and bankruptcy: a total overdraft above the
    /// game's limit limiteGiro sets quebrada and marcaQuiebra; otherwise quebrada becomes
    /// false and marcaQuiebra keeps the caller's value.
    void calcularDeudas(int32_t excesoA, int32_t excesoB, const TEntradaCredito& e, double giroTotal,
                        double prestamoAdicA, double prestamoAdicB, double tasaGiro, double limiteGiro,
                        double& deudaFinalA, double& deudaFinalB, double& interesGiro, double& giro, bool& quebrada,
                        bool& marcaQuiebra);

    /// The income statement. Sales = price (one byte) x units sold. One u$s is
    /// always taken off the profit before tax; tax is charged only on a
    /// positive result; the profit of the period is truncated toward zero.
    /// produccion supplies the interest (as replaced by the caller),
    /// maintenance, subsidies and severance. Assigns every field of r.
    void estadoDeResultado(int32_t costoMercVendida, int32_t mantenimientoStock, const TResultadoProduccion& produccion,
                           double tasaImpuestos, double interesGiro, int32_t penalidad, int32_t invYDes,
                           int32_t capacitacion, int32_t marketing, int32_t ventasUnidades, uint8_t precio,
                           TEstadoResultado& r);

    /// The balance sheet, with cash as the balancing figure. sumandoPrestamos
    /// (the period's total overdraft; 0 in period 0) enters only the loans
    /// taken. Assigns every field of r.
    void balance(int32_t plantaNueva, int32_t capital, int32_t utilAcumuladaAnterior, double deudaFinalB,
                 double utilPeriodo, double valorStock, double deudaFinalA, double sumandoPrestamos, TBalance& r);

    /// parte x 100 / total, in percent; 0 when total is 0.
    double porcentaje(int32_t parte, int32_t total);

private:
    int32_t indemnizacionPorEmpleado_;
    int32_t valorPenalidad_;
};
