#pragma once
// Runs corvelian-cli as its own process, as a game master would, and
// collects what it printed and its exit code.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct TResultado {
    int codigo = -1;     ///< exit code; -1 when the process did not exit normally
    std::string salida;  ///< standard output
    std::string errores; ///< standard error
};

/// The test's own LC_ALL (ctest runs the whole-game tests under C.UTF-8 and
/// es_AR.UTF-8); C.UTF-8 when it has none.
std::string localeDeLaPrueba();

struct TEntorno {
    std::string locale = localeDeLaPrueba();  ///< LC_ALL of the process
    std::filesystem::path carpetaActual;     ///< working directory; empty: the test's own
};

/// Another copy of the tool, run as an installed program would be.
struct TPrograma {
    std::filesystem::path ruta;             ///< the copy to run
    std::vector<std::string> antes;         ///< a command that runs it (e.g. setpriv and its options)
    std::map<std::string, std::optional<std::string>> variables;  ///< set, or removed when nullopt
};

TResultado ejecutarCli(const std::vector<std::string>& argumentos, const TEntorno& entorno = {},
                       const TPrograma* programa = nullptr);

/// The "ejemplos" folder of the source tree.
std::filesystem::path carpetaEjemplos();

/// Writes a text file (bytes as given).
void escribirTexto(const std::filesystem::path& ruta, const std::string& texto);


/// Every file of a folder (recursively) with its bytes, to prove that a
/// refused order touched nothing.
std::map<std::string, std::string> fotoDeCarpeta(const std::filesystem::path& carpeta);

/// Sets up, in the current test data folder, a game of the sample parameters
/// with these teams (UTF-8) through the tool, and then writes directly what a
/// run of period 0 leaves (one results record per team) and sets the period
/// whose decisions are entered next. periodoActual 0 leaves period 0 unrun.
void prepararJuego(const std::vector<std::string>& equipos, int periodoActual);
