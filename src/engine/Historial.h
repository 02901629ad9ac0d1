#pragma once
// The game's history: the reports are rewritten every period, so after each
// successful run a copy of that run's reports and of the results file goes
// to "historial/Periodo N" in the data folder, where a game master can
// reprint them later.

#include <filesystem>
#include <vector>

/// Replaces "historial/Periodo <periodo>" by copies of the given report
/// files and of "DATOS ACUMULADOS.DAT". Returns false when a copy failed;
/// the game files are never touched.
bool archivarPeriodo(int periodo, const std::vector<std::filesystem::path>& reportes);
