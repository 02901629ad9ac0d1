#pragma once
// The whole season as a spreadsheet for the teacher, built from the history
// (never from report text): an .xlsx workbook with the sheets "Resultados",
// "Decisiones" and "Parametros", or the results sheet alone as CSV.
//
// Both files are written atomically: a new file beside the target, renamed
// over it. Every failure raises ErrorArchivo naming the file; a season with
// nothing filed raises ErrorJuego.

#include "engine/Historial.h"

class TJuego;
class TSistemaArchivos;

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

/// A cell: blank, a number or a UTF-8 text.
using TCelda = std::variant<std::monostate, double, std::string>;

struct THoja {
    std::string nombre;
    std::vector<std::string> titulos;  ///< Spanish, UTF-8
    std::vector<std::vector<TCelda>> filas;
};

/// The three sheets of a season, in workbook order: one row per company and
/// period in "Resultados" and "Decisiones"; the parameters of the latest
/// period, as the screens show them, in "Parametros".
std::vector<THoja> hojasDeTemporada(const std::vector<TArchivoPeriodo>& periodos);

/// A sheet as CSV text: UTF-8 with a byte order mark, CR LF line ends; with
/// a decimal comma in the regional settings ';' between fields, else ','.
std::string textoCsv(const THoja& hoja);

/// Writes the sheets as an .xlsx workbook at archivo.
void escribirXlsx(TSistemaArchivos& sa, const std::vector<THoja>& hojas, const std::filesystem::path& archivo);

/// Exports every period of the history: the extension of archivo (.xlsx or
/// .csv, any case) chooses the format. ErrorJuego when there is no history
/// or the extension is another.
void exportarPlanilla(TJuego& juego, const std::filesystem::path& archivo);

/// Whether exportarPlanilla knows the extension of archivo.
bool esFormatoDePlanilla(const std::filesystem::path& archivo);
