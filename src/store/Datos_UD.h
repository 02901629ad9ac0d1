#pragma once
// TDatosjuego: the game parameters ("DATOS INICIALES.DAT", one 224-byte
// record) and the team names ("NOMBRES.DAT", 51-byte records).
//
// Each call opens its file, works and closes it; nothing is kept between
// calls; every write replaces its file atomically, and a file that is not
// a whole number of records is damaged (ErrorArchivoDanado). Index bases differ and callers rely on them: guardarNombre counts
// from 0, leerNombre from 1. File errors raise ErrorArchivo unless a call
// says otherwise.

#include "store/CarpetaDatos.h"
#include "store/Registros.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TDatosjuego {
public:
    explicit TDatosjuego(const TCarpeta& carpeta) : carpeta_(carpeta) {}

    /// Replaces the parameters file by one holding r as its only record. The
    /// old file stays untouched when the write fails.
    void guardarDatosIniciales(const TRegDatosIniciales& r);

    /// Reads the parameters into r. A missing file returns at once with r
    /// untouched. A file that is not exactly one record is damaged
    /// (ErrorArchivoDanado) and r stays untouched; so does any other failure,
    /// which raises ErrorArchivo. Callers read into a zeroed record.
    void leerDatosIniciales(TRegDatosIniciales& r);

    /// The parameters of a game that exists: a missing file is an error
    /// (ErrorArchivo), so that a run never starts a game of its own, and a
    /// field out of its range makes the file damaged (comprobarParametros).
    TRegDatosIniciales leerDatosDelJuego();

    /// Bytes 5, 7, 2, 3 and 4 of the parameters record. A missing file
    /// leaves the outputs untouched; other errors propagate.
    void leerContadores(uint8_t& zonaActiva, uint8_t& periodoActual, uint8_t& cantEquiposZona1,
                        uint8_t& cantEquiposZona2, uint8_t& cantEquiposZona3);

    /// Writes the name (cut to 50 bytes) at record indice, counted from 0.
    /// The file is created when missing and never truncated.
    void guardarNombre(uint8_t indice, std::string_view nombre);

    /// Reads the name of team indice, counted from 1. A missing file leaves
    /// nombre untouched; a record beyond the end is an error.
    void leerNombre(uint8_t indice, std::string& nombre);

    /// Every name stored, in team order; none when the file is missing.
    std::vector<std::string> leerNombres();

private:
    std::optional<TRegDatosIniciales> leerParametros();
    TCarpeta carpeta_;
};
