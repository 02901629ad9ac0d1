#pragma once
// What the orders share: the command line read, the game it names, and the
// orders that need Qt. Those run in the companion program "corvelian-cli-qt";
// the tool itself hands them over, so its other orders start without Qt.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TJuego;

struct TLinea {
    std::optional<std::filesystem::path> carpeta;  // --datos, when given
    bool ayuda = false;
    std::string orden;
    std::vector<std::string> argumentos;
};

/// The game in the folder given, or in the default one (beside the
/// program, or the user's data folder when the program is installed).
/// crear: a new game goes there (the folder is made).
std::unique_ptr<TJuego> usarCarpeta(const TLinea& linea, bool crear);

/// texto as a whole number, or ErrorUso naming the argument.
int32_t argumentoEntero(const std::string& nombre, const std::string& texto);

/// The portal's options, as the command line gives them.
struct TArgumentosPortal {
    std::string direccion = "0.0.0.0";
    uint16_t puerto = 8080;
    std::optional<std::chrono::system_clock::time_point> hasta;
    unsigned conexionesPorDireccion = 16;
};

// The arguments of the orders run by the companion are checked by the tool
// itself, so a wrong line is a usage error (exit 2) whether or not the
// companion is installed.
/// --puerto P, --direccion A, --hasta HH:MM and --conexiones-por-direccion N,
/// in any order; ErrorUso otherwise.
TArgumentosPortal argumentosPortal(const std::vector<std::string>& argumentos);
/// The PERIODO of "pdf PERIODO CARPETA"; ErrorUso when it is not a number.
int32_t argumentoPeriodoPdf(const std::vector<std::string>& argumentos);

// The orders drawn or served with Qt.
void ordenPdf(const TLinea& linea);
void ordenGraficos(const TLinea& linea);
void ordenPortal(const TLinea& linea);
