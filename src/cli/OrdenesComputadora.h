#pragma once
// The tool's side of the companies played by the computer: the options
// "--computadora N" and "--estilo E" of "nuevo" and "practica", the decisions
// file that may leave their rows out, and the "practica" order.

#include "juego/Juego.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

/// --computadora N [--estilo prudente|agresivo|innovador|imitador|mezcla].
struct TOpcionesComputadora {
    std::size_t cantidad = 0;
    std::optional<TEstilo> estilo;  ///< none: "mezcla", each style in turn
};

/// Reads the options from argumentos[desde] on; anything else there is an
/// ErrorUso naming it. porOmision is the count when --computadora is absent.
TOpcionesComputadora leerOpcionesComputadora(const std::vector<std::string>& argumentos, std::size_t desde,
                                             std::size_t porOmision = 0);

/// The open period's decisions from a CSV file, the computer's companies
/// left out or not, theirs filled in: what "decisiones ARCHIVO.csv" stores.
std::vector<std::optional<TRegDecision>> leerDecisionesDelJuego(TJuego& juego, const std::filesystem::path& archivo);

/// " y N empresas de la computadora", empty for none.
std::string textoDeComputadora(std::size_t cantidad);

/// " (computadora)" after a company the computer plays, empty otherwise.
std::string marcaComputadora(const TComputadora& computadora, const std::string& empresa1252);

/// "practica CARPETA [--computadora N] [--estilo E]": a practice game in a
/// folder without a game, period 1 open.
void ordenPractica(const std::vector<std::string>& argumentos);
