#pragma once
// One company's period, computed from its previous state, its decisions, the
// game parameters and the orders the market adds: the figures of its report,
// bankruptcy and its new results record. Both runs use it; period 0 simulates
// its one standard company from a zero state with the rules below. Touches no
// file and no notifier (only the program-wide severance and penalty values).

#include "engine/CifrasEmpresa.h"
#include "store/Registros.h"

#include <cstdint>

/// Where period 0 and a period run compute differently.
struct TReglasPeriodo {
    /// valuarStock's switch: 0 values the stock at the unit cost (period 0),
    /// the period number at the weighted average cost.
    uint8_t promediarStock = 0;
    /// Interest counted among the outlays: the provisional interest of this
    /// period's loans (period 0) instead of the previous period's interest.
    bool interesesProvisorios = false;
    /// Debt above a credit limit is capped there and the excess becomes
    /// overdraft; period 0 grants every loan asked in full.
    bool limitesDeCredito = true;
    /// The balance's loans taken include the total overdraft.
    bool giroEnPrestamos = true;
    /// Cash is truncated toward zero before it is shown and stored.
    bool truncarEfectivo = false;
    /// An overdraft above the game's limit bankrupts the company; period 0
    /// ignores that result.
    bool puedeQuebrar = true;
    /// The overdraft is carried into the next period; period 0 stores none.
    bool arrastrarGiro = true;
};

TReglasPeriodo reglasPeriodo0();
TReglasPeriodo reglasCorrida(uint8_t periodo);

/// What the market adds to or takes from the orders of the demand table
/// (both 0 in period 0).
struct TMercadoEmpresa {
    int32_t ordenesPorPrecio = 0;
    int32_t ordenesPorIyD = 0;
};

struct TEmpresaCalculada {
    TCifrasEmpresa cifras;
    bool quebrada = false;
    bool marcaQuiebra = false;
    /// The overdraft carried from the previous period after the repayment to
    /// bank B paid what it could of it.
    int32_t giroAnteriorRestante = 0;
    TReglasPeriodo reglas;
};

/// The state a company starts period 0 from: only the initial plant.
TRegDatosAcum estadoInicial(const TRegDatosIniciales& ini);

/// What the production calculation takes from the company's last results,
/// its decisions and the game's parameters.
TEntradaProduccion entradaDeProduccion(const TRegDatosAcum& anterior, const TRegDecision& d,
                                       const TRegDatosIniciales& ini);

/// How the period's repayments and loans asked meet the banks' limits. The
/// repayment to bank B pays the carried overdraft first; what each bank still
/// lends is its limit less the debt left after the repayment; a loan asked
/// above that is overdraft (the excesses, 0 where limits do not apply).
struct TCreditoPeriodo {
    int32_t devolucionB = 0;           ///< the repayment to bank B left after the overdraft
    int32_t giroAnteriorRestante = 0;  ///< the carried overdraft left after it
    int64_t restanteA = 0, restanteB = 0;
    int32_t excesoA = 0, excesoB = 0;
};

TCreditoPeriodo creditoDelPeriodo(const TRegDatosAcum& anterior, const TRegDecision& d,
                                  const TRegDatosIniciales& ini, bool limitesDeCredito);

/// The company's period (production, costs, orders, stock, financing, income
/// statement and balance sheet).
TEmpresaCalculada calcularEmpresa(const TRegDatosAcum& anterior, const TRegDecision& d,
                                  const TRegDatosIniciales& ini, const TMercadoEmpresa& mercado,
                                  const TReglasPeriodo& reglas);

/// The results record that carries the company into the next period, in
/// zone 1, money rounded up to whole u$s with redondearTecho (ErrorConversion
/// for a figure that does not fit in 32 bits).
TRegDatosAcum registroResultados(const TEmpresaCalculada& c, const cadena& nombreEmpresa);
