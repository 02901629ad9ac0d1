#pragma once
// Small general helpers of the reports: filling a text to a width. The
// ranking matrix of a zone is the engine's (engine/Ranking.h), included here
// for the reports that rank.

#include "engine/Ranking.h"

#include <cstdint>
#include <string>
#include <vector>

/// The text with the fill text added (ancho - length of texto) times: at the
/// end when lado is "D" or "d" (left-aligned result), in front with any other
/// side such as "I" (right-aligned result). A text already as long as the
/// width or longer comes back unchanged, never cut.
std::string Rellenar(const std::string& texto, int ancho, const std::string& relleno, const std::string& lado);

