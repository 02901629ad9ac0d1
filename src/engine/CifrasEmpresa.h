#pragma once
// What a run computed for one company in one period, and the company report
// record filled from it. Both runs fill the record the same way; the period-0
// run then changes the few fields that stand for all companies at once.

#include "engine/Calculos_UD.h"
#include "reports/Reportes_UD.h"
#include "store/Registros.h"

#include <cstddef>
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

/// Fills every figure of the company report from the period's decisions and
/// results, and the bank names (Windows-1252) through FormatoBanco. Leaves
/// `empresa` and `periodo` to the caller.
void llenarEmpstr(const TCifrasEmpresa& c, const TRegDecision& d, const TRegDatosIniciales& ini,
                  const std::string& bancoA, const std::string& bancoB, empstr& e);

/// A stored rate as the percent the game master typed: the rate × 100 (in
/// extended precision, as the reports always computed it) rounded to 9
/// decimals, halves away from zero. A typed 29 % is stored as 0.29, whose
/// product is 28.999999999999996: truncated or rounded up as it is, the
/// report would print 28. Rates typed with decimals keep them (12.5 stays).
double porcientoTipeado(double tasa);

/// Sizes the per-company lists of the industry record to n empty entries.
void prepararIndstr(indstr& ind, std::size_t n);

/// The economic conditions of the industry report, the same in both runs:
/// the banks with their limits and rates (from the last company report), the
/// stock cost, the overdraft limit, the maintenance rate and the zone.
void llenarCondiciones(const empstr& e, const TRegDatosIniciales& ini, indstr& ind);
