#pragma once
// The tool's portal order: serves the teams' portal without a display until
// SIGINT or SIGTERM.

#include "cli/Linea.h"

class TJuego;

/// Starts the portal on the address and port given for the game, prints
/// the addresses to type, runs until interrupted and stops cleanly, telling
/// of every address that hits a cap (once a minute). With a deadline, the
/// open period's submissions after it are refused; one already past is
/// warned of. ErrorJuego when the port cannot be opened.
void correrPortal(TJuego& juego, const TArgumentosPortal& argumentos);
