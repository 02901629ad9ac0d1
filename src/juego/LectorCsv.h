#pragma once
// The decisions of a period from a CSV file, one row per active company.
//
//   empresa,precio,nivelProduccion,capacitacion,marketing,invYDes,invPlanta,pedPrestamoA,pedPrestamoB,devPrestamoA,devPrestamoB
//   Alfa,90,75,4000,8000,1000,0,0,0,0,0
//
// The header row is required and its columns come in exactly this order; the
// "empresa" column is optional and, when present, must name the companies in
// company order. ';' may replace ',' throughout (spreadsheets with a decimal
// comma write it so); a field may be quoted with '"'. Blank lines are skipped.

#include "store/Registros.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

/// The decision columns in file order.
const std::vector<std::string>& columnasDecision();

/// Reads and checks the whole file against the active companies (names in
/// Windows-1252, in company order): whole numbers, price 50 to 100, marketing
/// 0 to 10000, training 0 to 20000 in steps of 2000, production level 0, 25,
/// 50, 75 or 100, one row per company. Returns record i for company i + 1.
/// Throws ErrorJuego listing every fault, each naming its line and column.
std::vector<TRegDecision> leerDecisionesCsv(const std::filesystem::path& archivo,
                                            const std::vector<std::string>& empresas);

/// As above, where computadora[i] marks company i as played by the computer:
/// when the rows name their company (the "empresa" column), those companies
/// may be left out, and their entries stay empty for the computer to fill.
std::vector<std::optional<TRegDecision>> leerDecisionesCsv(const std::filesystem::path& archivo,
                                                           const std::vector<std::string>& empresas,
                                                           const std::vector<bool>& computadora);
