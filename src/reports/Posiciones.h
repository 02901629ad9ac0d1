#pragma once
// The standings of zone 1 as the industry report ranks them.

#include "store/CarpetaDatos.h"

#include <cstdint>
#include <string>
#include <vector>

struct TFilaPosicion {
    int posicion;               ///< 1 for the highest accumulated profit
    std::string nombre;         ///< company name, Windows-1252
    int32_t utilidadAcumulada;  ///< u$s
};

/// The active, non-bankrupt companies of the results file, ranked by
/// accumulated profit with the industry report's sort (so ties come out in
/// the same order), best first. Empty when no game is stored.
std::vector<TFilaPosicion> posicionesZona(const TCarpeta& carpeta);
