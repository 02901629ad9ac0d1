#include "reports/Utils.h"

#include <stdexcept>
#include <utility>

std::string Rellenar(const std::string& texto, int ancho, const std::string& relleno, const std::string& lado) {
    const long long faltan = static_cast<long long>(ancho) - static_cast<long long>(texto.size());
    if (faltan <= 0) return texto;
    std::string copias;
    for (long long k = 0; k < faltan; ++k) copias += relleno;
    if (lado == "D" || lado == "d") return texto + copias;
    return copias + texto;
}

std::string ElegirTexto(bool condicion, const std::string& primero, const std::string& segundo) {
    return condicion ? primero : segundo;
}

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
