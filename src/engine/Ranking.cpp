#include "engine/Ranking.h"

#include <stdexcept>
#include <string>
#include <utility>

void BorrarFila(TIntMatrix& matriz, int fila) {
    if (matriz.empty()) throw std::logic_error("BorrarFila: la matriz no tiene filas");
    if (fila < 0 || static_cast<std::size_t>(fila) >= matriz.size())
        throw std::logic_error("BorrarFila: la fila " + std::to_string(fila) + " no existe");
    matriz.erase(matriz.begin() + fila);
}

namespace {

void ordenar(TIntMatrix& m, int desde, int hasta) {
    int i = desde;
    int j = hasta;
    const int32_t pivote = m[static_cast<std::size_t>((desde + hasta) / 2)][1];
    do {
        while (m[static_cast<std::size_t>(i)][1] < pivote) ++i;
        while (m[static_cast<std::size_t>(j)][1] > pivote) --j;
        if (i <= j) {
            std::swap(m[static_cast<std::size_t>(i)][0], m[static_cast<std::size_t>(j)][0]);
            std::swap(m[static_cast<std::size_t>(i)][1], m[static_cast<std::size_t>(j)][1]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (desde < j) ordenar(m, desde, j);
    if (i < hasta) ordenar(m, i, hasta);
}

}  // namespace

void OrdenarMatriz(TIntMatrix& matriz, int desde, int hasta) {
    if (desde >= hasta) return;
    if (desde < 0 || static_cast<std::size_t>(hasta) >= matriz.size())
        throw std::logic_error("OrdenarMatriz: filas " + std::to_string(desde) + ".." + std::to_string(hasta) +
                               " fuera de la matriz");
    for (int r = desde; r <= hasta; ++r)
        if (matriz[static_cast<std::size_t>(r)].size() < 2)
            throw std::logic_error("OrdenarMatriz: la fila " + std::to_string(r) + " no tiene dos columnas");
    ordenar(matriz, desde, hasta);
}

int posicionEnRanking(int posicion, const TIntMatrix& matriz) {
    for (std::size_t k = 0; k < matriz.size(); ++k)
        if (!matriz[k].empty() && matriz[k][0] == posicion) return static_cast<int>(matriz.size() - k);
    return -1;
}

std::vector<int> posicionesEnRanking(const std::vector<int32_t>& claves, const std::vector<bool>& quebradas) {
    TIntMatrix matriz;
    for (std::size_t k = 0; k < claves.size(); ++k) matriz.push_back({static_cast<int32_t>(k), claves[k]});
    int borradas = 0;
    for (std::size_t j = 0; j < quebradas.size(); ++j) {
        if (!quebradas[j]) continue;
        BorrarFila(matriz, static_cast<int>(j) - borradas);
        ++borradas;
    }
    if (matriz.size() > 1) OrdenarMatriz(matriz, 0, static_cast<int>(matriz.size()) - 1);
    std::vector<int> posiciones(claves.size(), -1);
    for (const auto& fila : matriz)
        posiciones[static_cast<std::size_t>(fila[0])] = posicionEnRanking(fila[0], matriz);
    return posiciones;
}
