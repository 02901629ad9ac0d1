#pragma once
// The games a new game replaced in a folder. A replaced game keeps only its
// history, moved aside as "historial anterior N": a folder "Periodo P" for
// every period it ran, each with the game files as that run left them and
// its reports. That is not a game folder by itself; restaurarJuegoAnterior
// makes a new game folder of it, with the game files of its last period,
// and never writes into it. The computer's companies and the practice's
// student are not part of the history: the game made again has teams only.

#include "store/CarpetaDatos.h"

#include <filesystem>
#include <vector>

/// One replaced game of a folder.
struct TJuegoAnterior {
    int numero = 0;          ///< N of "historial anterior N"
    int ultimoPeriodo = -1;  ///< the last period filed in it; -1 when none is
};

/// The replaced games kept in carpeta, by number.
std::vector<TJuegoAnterior> juegosAnteriores(const TCarpeta& carpeta);

/// Makes replaced game `numero` of origen a game folder again in destino, a
/// folder that does not exist yet: its history copied whole, the results and
/// parameters its last period left, the names of its period 0 companies and
/// the last period's reports beside them. Returns the last period run.
/// ErrorJuego in Spanish when it is not a complete game (no period 0, a
/// period missing, a file damaged); destino is then removed.
int restaurarJuegoAnterior(const TCarpeta& origen, int numero, const std::filesystem::path& destino);
