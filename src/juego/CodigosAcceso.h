#pragma once
// The teams' access codes to the portal and the submissions it keeps, as
// texts and files. Juego.h holds the operations that read and store them
// under the game's lock; this file holds what needs no game: making a
// code, comparing one, and the two file formats.

#include "store/ErrorArchivo.h"
#include "store/NombresArchivos.h"
#include "store/Registros.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

/// 32 letters that cannot be misread: no 0, O, 1 or I. 8 of them make a
/// code of 40 bits.
inline constexpr std::string_view kAlfabetoCodigos = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";
inline constexpr std::size_t kLargoCodigo = 8;


/// n bytes from the operating system's cryptographic generator; a failure
/// is an error, never a weaker generator.
void bytesAleatorios(void* destino, std::size_t n);

/// A new code of kLargoCodigo letters of kAlfabetoCodigos.
std::string codigoNuevo();

/// 16 hexadecimal digits: the mark of one game's codes.
std::string identificadorNuevo();

/// A code as a team may type it: upper-cased, blanks and dashes left out.
std::string normalizarCodigo(std::string_view tecleado);

/// Compares two texts in a time that depends only on their lengths.
bool igualesTiempoConstante(std::string_view a, std::string_view b);

/// One team and its code; the name in Windows-1252, as the game stores it.
struct TCodigoEquipo {
    std::string empresa;
    std::string codigo;
    bool operator==(const TCodigoEquipo&) const = default;
};

/// What the codes file holds: the game the codes belong to and the codes.
struct TArchivoCodigos {
    std::string juego;
    std::vector<TCodigoEquipo> equipos;
};

/// The codes file's text (UTF-8, one "CODIGO<TAB>NOMBRE" per team after a
/// header naming the game). A name with a control character cannot be
/// written: ErrorJuego.
std::string textoCodigos(const TArchivoCodigos& archivo);
/// Reads the codes file's text; anything out of place is a damaged file
/// (ErrorArchivoDanado naming ruta): a malformed line, a name no team can
/// have, a code or a team on two lines.
TArchivoCodigos leerTextoCodigos(const std::string& texto, const std::filesystem::path& ruta);

/// The damage of the codes file at ruta, saying that the portal does not
/// open on it and how it is mended: new codes for every team.
ErrorArchivoDanado codigosDanados(const std::filesystem::path& ruta, const std::string& problema);

/// A team's last submission: bound to the game's codes, the period and the
/// game's fingerprint when it was made, so that it is never taken for
/// another game's or another period's.
struct TEnvio {
    std::string juego;
    int periodo = 0;
    std::uint64_t huella = 0;
    std::string empresa;  ///< Windows-1252
    TRegDecision decision{};
};

std::string textoEnvio(const TEnvio& envio);
/// ErrorArchivoDanado naming ruta for anything out of place.
TEnvio leerTextoEnvio(const std::string& texto, const std::filesystem::path& ruta);

/// The file name of a team's submission: a fingerprint of its name, so that
/// any name makes a plain, safe file name.
std::string nombreArchivoEnvio(const std::string& empresa1252);
