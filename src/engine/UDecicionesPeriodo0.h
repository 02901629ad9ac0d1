#pragma once
// The period-0 start-up run: every company takes the same decisions, one
// standard company is simulated from the initial plant and capital, the
// period-0 company and industry reports are written and every company's
// results record is created.

#include "engine/USimular.h"
#include "store/CarpetaDatos.h"

#include <cstdint>
#include <string>

/// The common decisions typed on the period-0 screen.
struct TDecisionesPeriodo0 {
    int32_t precio = 0;
    int32_t marketing = 0;
    int32_t invYDes = 0;
    int32_t capacitacion = 0;
    int32_t nivelProduccion = 0;  ///< 0, 25, 50, 75 or 100
    int32_t invPlanta = 0;
    int32_t pedPrestamoA = 0;
    int32_t pedPrestamoB = 0;
    int32_t devPrestamoA = 0;
    int32_t devPrestamoB = 0;
    std::string nombreBancoA;  ///< Windows-1252, as the screen's bank labels show it
    std::string nombreBancoB;
};

/// The ready example of the period-0 screen (repayments 0, no bank names).
TDecisionesPeriodo0 ejemploPeriodo0();

/// Runs period 0 in the game folder. Checks the decisions first and throws
/// ErrorDecision without writing anything when one is out of range; a file
/// error raises ErrorArchivo, leaving the game as it was. On success the
/// reports are filed in the history too; it returns what the run did.
TResultadoCorrida ejecutarPeriodo0(const TCarpeta& carpeta, const TDecisionesPeriodo0& decisiones);
