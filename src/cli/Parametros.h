#pragma once
// The two files of "nuevo": the teams (one name per line) and the game
// parameters ("clave = valor", one key per box of the initial data screen).
// Both readers check the whole file and report every fault at once, so the
// game master fixes the file in one go; nothing is written here.

#include "store/DatosIniciales.h"

#include <filesystem>
#include <string>
#include <vector>

/// The teams, in file order, as Windows-1252 texts trimmed of surrounding
/// blanks; blank lines are skipped. avisos holds notes that do not stop the
/// set-up (a name cut to 50 characters).
struct TEquiposLeidos {
    std::vector<std::string> nombres;
    std::vector<std::string> avisos;
};

/// Reads and checks the teams file: at least one team, at most 255, every
/// name representable in Windows-1252, without control characters, and no
/// two names that give one report file name (fallasNombresEquipos).
/// ErrorJuego listing every fault. adicionales companies will join them (the
/// computer's): the file may then be empty, and they count in the 255.
TEquiposLeidos leerEquipos(const std::filesystem::path& archivo, std::size_t adicionales = 0);

/// The boxes of the initial data screen as the parameters file types them,
/// checked so that armarDatosIniciales converts them without a fault.
struct TParametrosLeidos {
    TTextosDatosIniciales textos;
    std::vector<std::string> avisos;
};

/// The keys of the parameters file, in screen order.
const std::vector<std::string>& clavesParametros();

/// Reads and checks the parameters file. Keys are those of clavesParametros()
/// (case does not matter); nombreBancoA, nombreBancoB, nroZona,
/// indemXEmpleado and penalidad may be left out and take the screen's
/// defaults. A '#' starts a comment. Decimals take the regional separator or
/// '.'. Bank names are upper-cased and hold at most 10 characters. Unknown,
/// repeated or missing keys, values that are not numbers and numbers out of
/// their range (kTablaParametros) are errors naming the key; ErrorJuego
/// lists every fault.
TParametrosLeidos leerParametros(const std::filesystem::path& archivo);
