#pragma once
// Companies played by the computer: their styles, the decisions each style
// takes, and the game's own file that says which companies they are.
//
// A computer company decides from what a team would know when it sits down
// to decide: its own results after the last period and its own decisions of
// that period, the industry figures of that period (prices, units, shares,
// the ranking), and the game's parameters. It never sees another company's
// decisions. Every decision is in range by construction (and clamped to the
// ranges of ValidarDecision), and is a pure function of the game's seed, the
// period, the company's name and what it knows: a period redone after a step
// back gets the same decisions.
//
// The file "EMPRESAS COMPUTADORA.csv" (UTF-8, locale-free) lists the seed
// and each computer company by name with its style; the game files the
// window and the tool share do not change. A company that went bankrupt
// simply no longer matches an active name. A file that cannot be read is
// ErrorArchivoDanado.

#include "store/NombresArchivos.h"
#include "engine/Historial.h"
#include "store/Registros.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TEstilo { prudente, agresivo, innovador, imitador };

/// The four styles, in the order "mezcla" deals them out.
const std::array<TEstilo, 4>& estilosComputadora();
/// "prudente", "agresivo", "innovador", "imitador".
const char* nombreEstilo(TEstilo estilo);
/// The style of a name as nombreEstilo writes it (case ignored); none otherwise.
std::optional<TEstilo> estiloDeNombre(std::string_view nombre);

/// The style of the i-th (from 0) company of a "mezcla": each style in turn.
TEstilo estiloDeMezcla(std::size_t i);

struct TEmpresaComputadora {
    std::string nombre;  ///< Windows-1252, as the game stores it
    TEstilo estilo = TEstilo::prudente;
    bool operator==(const TEmpresaComputadora&) const = default;
};

/// Which companies the computer plays, and the seed of their decisions.
struct TComputadora {
    std::uint64_t semilla = 0;
    std::vector<TEmpresaComputadora> empresas;

    /// The company of that name (Windows-1252), or nullptr: a team's.
    const TEmpresaComputadora* de(const std::string& nombre) const;
    bool operator==(const TComputadora&) const = default;
};


/// The file's text: "semilla,N", the header "empresa,estilo" and one line per
/// company, names in UTF-8 and quoted as CSV when they need it.
std::string textoComputadora(const TComputadora& computadora);
/// Reads the file's text; ErrorArchivoDanado naming ruta for anything out of
/// place (an unknown style, a name twice, a seed that is no number).
TComputadora leerTextoComputadora(std::string_view texto, const std::filesystem::path& ruta);

/// A seed from the operating system's generator, for a new game.
std::uint64_t semillaNueva();

/// cantidad names for new computer companies ("Compu 1", "Compu 2", ...),
/// Windows-1252, none of them equal (case ignored) to a name of ocupados.
std::vector<std::string> nombresComputadora(std::size_t cantidad, const std::vector<std::string>& ocupados);

/// Appends to equipos cantidad computer companies with names of their own,
/// and returns which they are: all with estilo, or (none) a "mezcla".
TComputadora agregarComputadora(std::vector<std::string>& equipos, std::size_t cantidad,
                                std::optional<TEstilo> estilo, std::uint64_t semilla);

/// What a company knows when it decides the period `periodo`.
struct TConocimiento {
    int periodo = 1;
    TRegDatosIniciales parametros{};
    TRegDatosAcum propia{};       ///< its results after the last period run
    std::optional<TRegDecision> anterior;  ///< its own decisions of that period
    std::vector<TFilaIndustria> industria;  ///< that period's industry figures; empty when not filed
};

/// The decisions of a company of that style and name for the period, from
/// what it knows and the game's seed. Always in range.
TRegDecision decidirComputadora(TEstilo estilo, const std::string& nombre, const TConocimiento& conocimiento,
                                std::uint64_t semilla);

/// Funds minus outlays of a decision, as the run's funds check counts them
/// for the company's state: what is left over, or (negative) the shortfall
/// the banks would cover with a penalty.
double holguraDeFondos(const TRegDecision& decision, const TConocimiento& conocimiento);
