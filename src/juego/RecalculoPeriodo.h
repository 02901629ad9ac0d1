#pragma once
// A filed period worked again through the engine's own run: from the record
// of the period before (its results and the parameters it left) and the
// period's own decisions, with the parameters the run used (the ones it left,
// one period back and before its bankruptcies). What the learning layer
// explains is this computation, never report text. A run that does not
// arrive at what was filed means a damaged history: the file is named.

#include "engine/CalculoCorrida.h"
#include "engine/Historial.h"
#include "engine/UDecicionesPeriodo0.h"

#include <filesystem>

/// The run of period actual.periodo (1 to 10) recomputed; anterior is the
/// record of the period before (period 0's for period 1). carpetaActual is
/// the period's folder in the history, to name a file that does not agree
/// (ErrorArchivoDanado).
TCalculoCorrida recalcularPeriodo(const TArchivoPeriodo& anterior, const TArchivoPeriodo& actual,
                                  const std::filesystem::path& carpetaActual);

/// Period 0 worked again from its record: the one standard company every
/// company was, with the decisions they all took. carpeta0 names a file
/// that does not agree (ErrorArchivoDanado).
TCalculoPeriodo0 recalcularPeriodo0(const TArchivoPeriodo& periodo0, const std::filesystem::path& carpeta0);
