#pragma once
// The tool's portal order: serves the teams' portal without a display until
// SIGINT or SIGTERM.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

class TJuego;

/// Starts the portal on direccion:puerto for the game,
/// prints the addresses to type, runs until interrupted and stops cleanly.
/// With hasta, the open period's submissions after it are refused.
/// ErrorJuego when the port cannot be opened.
void correrPortal(TJuego& juego, const std::string& direccion, uint16_t puerto,
                  std::optional<std::chrono::system_clock::time_point> hasta = std::nullopt);
