#pragma once
// The ranking of a zone's companies by accumulated profit, the way the game
// always ranked them: a row per company, the bankrupt rows removed, then one
// particular quicksort, so that ties come out in the order it leaves them.
// The industry report, the history and the standings all rank this way.

#include <cstdint>
#include <vector>

/// A growable array of 32-bit signed integers.
using TIntArray = std::vector<int32_t>;
/// A growable array of TIntArray. The ranking uses rows of two columns:
/// column 0 a company's 0-based position in the zone, column 1 its key.
using TIntMatrix = std::vector<TIntArray>;

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

/// Ranking position of the company whose row holds posicion in column 0
/// of a sorted matrix: 1 for the last row (largest key), the row count for
/// the first; -1 when no row holds it.
int posicionEnRanking(int posicion, const TIntMatrix& matriz);

/// The rank of each key (1 for the largest), the rows of bankrupt companies
/// left out first: quebradas[j] removes row j (it may be shorter than the
/// keys: the rows beyond it stay). A removed row ranks -1.
std::vector<int> posicionesEnRanking(const std::vector<int32_t>& claves, const std::vector<bool>& quebradas);
