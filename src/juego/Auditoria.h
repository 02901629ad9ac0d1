#pragma once
// The portal's register of submissions: every submission that reached a
// team's session, stored or refused, with when, from where, the ten values
// as typed and why it was refused, so that "we sent it at 10:59" can be
// settled afterwards. One CSV file (UTF-8, comma separated, one line per
// submission) that only grows; TJuego appends to it under the game's lock.

#include "store/NombresArchivos.h"
#include <chrono>
#include <optional>
#include <string>
#include <vector>


/// One submission as the register keeps it.
struct TAnotacionEnvio {
    std::chrono::system_clock::time_point momento;
    int periodo = 0;                  ///< the period the form was for (0 when it said none)
    std::string empresa;              ///< Windows-1252
    std::string direccion;            ///< the sender's IP address
    std::vector<std::string> valores; ///< the fields as typed (UTF-8), in the decision screen's order
    bool aceptado = false;
    std::string motivo;               ///< why it was refused (UTF-8), empty when stored
};

/// The register's first line: the names of its columns.
std::string cabeceraRegistro();

/// One line of the register, ending in a line feed. Fields that hold a
/// comma or a quote are quoted; control characters (line breaks, NUL)
/// become blanks, and a cell a spreadsheet would run as a formula gets a
/// leading apostrophe (celdaCsv).
std::string lineaRegistro(const TAnotacionEnvio& anotacion);

/// The fields of each line of the register's text, header included.
std::vector<std::vector<std::string>> filasDelRegistro(const std::string& texto);

/// The register's text limited to one period (the header stays); every
/// line when periodo is none. Each cell is written again as lineaRegistro
/// writes it, so a register from before its cells were made safe prints safe.
std::string registroDelPeriodo(const std::string& texto, std::optional<int> periodo);

/// "AAAA-MM-DD HH:MM:SS" in the computer's local time.
std::string fechaHoraLocal(std::chrono::system_clock::time_point momento);

/// Today's HH:MM in the computer's local time, from "HH:MM" or "H:MM";
/// none for anything else.
std::optional<std::chrono::system_clock::time_point> horaDeHoy(const std::string& hhmm);
/// "HH:MM" of a time, in local time.
std::string textoHora(std::chrono::system_clock::time_point momento);
