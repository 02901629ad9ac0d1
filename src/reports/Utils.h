#pragma once
// Small general helpers of the reports: filling a text to a width, a two-way
// text choice, and the integer matrix through which the industry report
// ranks the companies of a zone.

#include <cstdint>
#include <string>
#include <vector>

/// A growable array of 32-bit signed integers.
using TIntArray = std::vector<int32_t>;
/// A growable array of TIntArray. The ranking uses rows of two columns:
/// column 0 a company's 0-based position in the zone, column 1 its key.
using TIntMatrix = std::vector<TIntArray>;

/// The text with the fill text added (ancho - length of texto) times: at the
/// end when lado is "D" or "d" (left-aligned result), in front with any other
/// side such as "I" (right-aligned result). A text already as long as the
/// width or longer comes back unchanged, never cut.
std::string Rellenar(const std::string& texto, int ancho, const std::string& relleno, const std::string& lado);

/// primero when condicion holds, else segundo.
std::string ElegirTexto(bool condicion, const std::string& primero, const std::string& segundo);

/// Removes row fila (0-based), moving the later rows up by one. The matrix
/// must have at least one row and fila must be one of its rows; otherwise
/// this is a programming error and std::logic_error is thrown, the matrix
/// untouched.
void BorrarFila(TIntMatrix& matriz, int fila);

/// Sorts rows desde..hasta (inclusive) in ascending order of column 1,
/// moving column 0 with its row. The sort is not stable, and the ranking
/// depends on the exact order in which it leaves equal keys, so this is
/// always the same quicksort (middle pivot, Hoare partition). Nothing to do
/// when desde >= hasta. Rows outside the matrix, or rows in the range with
/// fewer than two columns, are a programming error: std::logic_error.
void OrdenarMatriz(TIntMatrix& matriz, int desde, int hasta);
