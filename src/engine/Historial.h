#pragma once
// The game's history: the reports are rewritten every period, so each run
// files a copy of its reports and of the results file in
// "historial/Periodo N" of the data folder, where a game master can reprint
// them later. The copy is part of the run's transaction.

#include <filesystem>
#include <string>
#include <vector>

class TTransaccion;

/// Stages "historial/Periodo <periodo>" to replace the folder of that name
/// when the transaction commits: the reports (already staged in the
/// transaction) as links, and resultados as "DATOS ACUMULADOS.DAT".
void archivarPeriodo(TTransaccion& transaccion, int periodo, const std::vector<std::filesystem::path>& reportes,
                     const std::string& resultados);
