#pragma once
// The period-0 start-up run: every company takes the same decisions, one
// standard company is simulated from the initial plant and capital
// (engine/UDecicionesPeriodo0.h), the period-0 company and industry reports
// are written and every company's results record is created.

#include "engine/UDecicionesPeriodo0.h"
#include "juego/CorridaPeriodo.h"
#include "store/CarpetaDatos.h"
#include "store/Registros.h"

#include <string>
#include <vector>

class TTransaccion;

/// Runs period 0 in the game folder. Checks the decisions first and throws
/// ErrorDecision without writing anything when one is out of range; a file
/// error raises ErrorArchivo, leaving the game as it was. On success the
/// reports are filed in the history too; it returns what the run did.
TResultadoCorrida ejecutarPeriodo0(const TCarpeta& carpeta, const TDecisionesPeriodo0& decisiones);

/// Stages period 0 into a change of the caller's, reading nothing: the
/// parameters ini, the names of the active zone's companies (the zone is
/// the active one when zonaActiva) and the results records before it. A new
/// game and its period 0 are so one change. ErrorDecision, staging nothing,
/// for a decision out of range.
TResultadoCorrida prepararPeriodo0(const TCarpeta& carpeta, TTransaccion& transaccion, const TRegDatosIniciales& ini,
                                   const std::vector<std::string>& nombres, bool zonaActiva,
                                   std::vector<TRegDatosAcum> previos, const TDecisionesPeriodo0& decisiones);
