#pragma once
// The flags a teacher would point at in a company's period, each with its
// amounts, from the engine's figures of the period worked again: orders not
// filled, stock left unsold, a production level below what sold out,
// layoffs, a penalty and the shortfall behind it, a loan asked above what a
// bank still lent, and a bankruptcy with its real cause. Typed figures only:
// the words are the pages' and the reports'.

#include "engine/CifrasEmpresa.h"
#include "store/Registros.h"

#include <cstdint>
#include <vector>

enum class TTipoMarca {
    pedidosNoAtendidos,  ///< cantidad: orders not filled; monto: the sales they cost at the period's price
    stockSinVender,      ///< cantidad: units left; monto: their maintenance this period
    nivelBajo,           ///< cantidad: the level asked (%); monto: 0 — it sold out with plant to spare
    despidos,            ///< cantidad: employees laid off; monto: the severance
    penalidad,           ///< cantidad: the shortfall the banks covered; monto: the penalty
    excesoDeCredito,     ///< banco; cantidad: the loan asked; monto: what became overdraft
    quiebra,             ///< cantidad: the overdraft; monto: the game's limit; causa: what brought it
};

enum class TCausaQuiebra { ninguna, faltanteDeFondos, excesoDeCredito };

struct TMarcaPeriodo {
    TTipoMarca tipo;
    int64_t cantidad = 0;
    int64_t monto = 0;
    char banco = 0;  ///< 'A' or 'B' for excesoDeCredito
    TCausaQuiebra causa = TCausaQuiebra::ninguna;
};

/// The flags of a company's period: anterior is its results record before
/// the period, informe its period as the run computed it, quebro whether it
/// went bankrupt; in the order of TTipoMarca.
std::vector<TMarcaPeriodo> marcasDelPeriodo(const TRegDatosAcum& anterior, const TInformeEmpresa& informe,
                                            bool quebro);
