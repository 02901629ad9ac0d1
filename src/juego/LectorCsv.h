#pragma once
// The decisions of a period from a CSV file, one row per active company.
// The header row is required: an optional "empresa" column, then the keys of
// the decision table in the order of the record (columnasDecision()), e.g.
// "empresa,precio,…" and "Alfa,90,…". When present, "empresa" must name the
// companies in company order. ';' may replace ',' throughout (spreadsheets
// with a decimal comma write it so); a field may be quoted with '"'. Blank
// lines are skipped.

#include "store/Registros.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

/// The decision columns in file order.
const std::vector<std::string>& columnasDecision();

/// Reads and checks the whole file against the active companies (names in
/// Windows-1252, in company order): whole numbers, each in its range
/// (rangosDecision()), one row per company. Returns record i for company i + 1.
/// Throws ErrorJuego listing every fault, each naming its line and column.
std::vector<TRegDecision> leerDecisionesCsv(const std::filesystem::path& archivo,
                                            const std::vector<std::string>& empresas);

/// As above, where computadora[i] marks company i as played by the computer:
/// when the rows name their company (the "empresa" column), those companies
/// may be left out, and their entries stay empty for the computer to fill.
std::vector<std::optional<TRegDecision>> leerDecisionesCsv(const std::filesystem::path& archivo,
                                                           const std::vector<std::string>& empresas,
                                                           const std::vector<bool>& computadora);
