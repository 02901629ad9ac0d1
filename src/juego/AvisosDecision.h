#pragma once
// Warnings on a company's decisions before they are stored: what the period
// run will do with them that a team may not expect. A loan asked above what
// a bank still lends becomes overdraft, and an overdraft above the game's
// limit bankrupts the company; funds that do not cover the outlays cost a
// penalty and extra loans; a production level that needs fewer employees
// lays some off at a severance. Computed with the run's own arithmetic from
// the company's last results, its decisions and the game's parameters only
// (the market does not enter the financing). Nothing is refused: the
// warnings only say what will happen. Texts in Spanish, UTF-8.

#include "store/Registros.h"

#include <cstdint>
#include <string>
#include <vector>

enum class TTipoAviso { excesoDeCredito, faltanteDeFondos, quiebra, despidos };

struct TAvisoDecision {
    TTipoAviso tipo;
    char banco = 0;         ///< 'A' or 'B' for excesoDeCredito, 0 otherwise
    int64_t monto = 0;      ///< the excess, the shortfall, the total overdraft or the employees laid off
    int64_t referencia = 0; ///< what the bank still lends, the penalty, the overdraft limit or the severance
    std::string texto;
};

/// What each bank still lends the company this period with these repayments
/// (may be negative when a debt already passes its limit).
struct TCreditoRestante {
    int64_t bancoA = 0;
    int64_t bancoB = 0;
};

TCreditoRestante creditoRestante(const TRegDatosAcum& anterior, const TRegDecision& d,
                                 const TRegDatosIniciales& ini);

/// The warnings for a company with results anterior deciding d in the open
/// period of ini, in the order: loans, funds, bankruptcy, layoffs; none while
/// a field of d is out of its range (creditoRestante then takes it at its
/// nearest limit).
std::vector<TAvisoDecision> avisosDeDecision(const TRegDatosAcum& anterior, const TRegDecision& d,
                                             const TRegDatosIniciales& ini);
