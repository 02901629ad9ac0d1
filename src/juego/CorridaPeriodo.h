#pragma once
// The period run: turns the stored decisions of every company into the
// period's results, reports and notices, removes the bankrupt companies and
// opens the next period. It computes with the engine (engine/CalculoCorrida.h),
// writes the reports from its figures and stores everything at once. What
// the game master is told, and what the window enables, the game core
// decides from what it returns.

#include "store/CarpetaDatos.h"

#include <string>
#include <vector>

/// What a run did.
struct TResultadoCorrida {
    int periodo = 0;                    ///< the period run
    int empresas = 0;                   ///< companies run
    std::vector<std::string> quiebras;  ///< the companies that went bankrupt (Windows-1252), in order
    int periodoNuevo = 0;               ///< the period whose decisions are entered next
    /// Set when the run happened but the disk did not confirm its last step
    /// (UTF-8): a warning for the user, not a failure.
    std::string aviso;
};

/// Runs the period named by the stored parameters, in the game folder, with
/// the severance and the penalty stored there.
///
/// Before anything changes it checks every decision (ErrorDecision, nothing
/// written). Everything it produces (reports, results, the checkpoint, the
/// history's "historial/Periodo N") is one transaction: a failure leaves
/// the game exactly as before the run.
TResultadoCorrida simularPeriodo(const TCarpeta& carpeta);
