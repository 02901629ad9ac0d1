#pragma once
// The period-0 start-up run: every company takes the same decisions, one
// standard company is simulated from the initial plant and capital
// (engine/UDecicionesPeriodo0.h), the period-0 company and industry reports
// are written and every company's results record is created.

#include "engine/UDecicionesPeriodo0.h"
#include "juego/CorridaPeriodo.h"
#include "store/CarpetaDatos.h"

/// Runs period 0 in the game folder. Checks the decisions first and throws
/// ErrorDecision without writing anything when one is out of range; a file
/// error raises ErrorArchivo, leaving the game as it was. On success the
/// reports are filed in the history too; it returns what the run did.
TResultadoCorrida ejecutarPeriodo0(const TCarpeta& carpeta, const TDecisionesPeriodo0& decisiones);
