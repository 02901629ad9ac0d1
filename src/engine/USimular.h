#pragma once
// The period run: turns the stored decisions of every company into the
// period's results, reports and notices, removes the bankrupt companies and
// opens the next period.

/// Runs the period named by the stored parameters, in the data folder.
///
/// Before anything changes it checks every decision (ErrorDecision, nothing
/// written). It then takes the checkpoint and runs; if a file operation fails
/// after that, it puts the three game files back from the checkpoint and
/// rethrows the ErrorArchivo, so the game is exactly as before the run.
/// Through the notifier it shows each bankruptcy message, disables
/// "Período 1".."Período 10", enables the new period (1..10), hands the new
/// period over and asks to open the data folder. On success the run's
/// reports and the results file are copied to "historial/Periodo N".
void simularPeriodo();
