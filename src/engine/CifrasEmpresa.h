#pragma once
// What a run computed for one company in one period, as numbers: the figures
// of its report and, when it needed extra loans, those of its notice. The
// reports only format them (reports/FormatoCifras.h); both runs fill them the
// same way, and the period-0 run marks the one report that stands for all
// companies at once.

#include "engine/Calculos_UD.h"
#include "store/Registros.h"

#include <cstdint>
#include <string>

struct TCifrasEmpresa {
    TResultadoProduccion produccion{};  ///< with the interests of the final debts
    TResultadoStock stock{};
    TEstadoResultado resultado{};
    TBalance balance{};
    double costoUnitario = 0;
    int32_t ordenesRecibidas = 0;
    int32_t ventas = 0;  ///< units sold
    int32_t ordenesNoRealizadas = 0;
    int32_t stockFinal = 0;
    int32_t penalidad = 0;
    double prestamoAdicA = 0;
    double prestamoAdicB = 0;
    double deudaA = 0;
    double deudaB = 0;
    double giro = 0;  ///< total overdraft of the period
};

/// Everything the company report shows: the period's figures, the decisions
/// that led to them and the game's parameters (credit limits, rates, capital).
struct TInformeEmpresa {
    TCifrasEmpresa cifras;
    TRegDecision decision{};
    TRegDatosIniciales parametros{};
    std::string bancoA;   ///< bank names, Windows-1252
    std::string bancoB;
    std::string empresa;  ///< Windows-1252; "IGUALES" for the period-0 report
    int periodo = 0;
    /// The period-0 report: no period number and no dismissed employees.
    bool periodo0 = false;
};

/// The bankruptcy or penalty notice of a company that spent more than it
/// had. Its sums are those of the figures as the company report prints them
/// (the unit cost to the cent, the maintenance truncated), with the opening
/// cash and the interest paid of the company's previous results.
struct TCifrasAviso {
    std::string empresa;  ///< Windows-1252
    bool quiebra = false;
    double giro = 0;      ///< the overdraft that bankrupted it; 0 for a penalty
    int32_t efectivo = 0;
    int32_t intereses = 0;
    int32_t pedPrestamoA = 0;
    int32_t pedPrestamoB = 0;
    double mantenimiento = 0;
    int32_t marketing = 0;
    int32_t invYDes = 0;
    int32_t capacitacion = 0;
    int32_t invPlanta = 0;
    int32_t devPrestamoA = 0;
    int32_t devPrestamoB = 0;  ///< as decided, before it paid the overdraft
    long double costoProduccion = 0;
    long double totalIngresos = 0;
    long double totalEgresos = 0;
};

/// The notice of a company from its report's figures and its results record
/// as it stood before this period; giro 0 makes it a penalty notice.
TCifrasAviso cifrasAviso(const TInformeEmpresa& informe, const TRegDatosAcum& anterior, double giro);

/// A stored rate as the percent the game master typed: the rate × 100 (in
/// extended precision, as the reports always computed it) rounded to 9
/// decimals, halves away from zero. A typed 29 % is stored as 0.29, whose
/// product is 28.999999999999996: truncated or rounded up as it is, the
/// report would print 28. Rates typed with decimals keep them (12.5 stays).
double porcientoTipeado(double tasa);
