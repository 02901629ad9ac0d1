// Ranking positions: 1 for the highest accumulated profit.

#include "reports/Reportes_UD.h"

#include <gtest/gtest.h>

namespace {

/// Sorts the companies' keys as the industry report does and returns each
/// company's position, in company order.
std::vector<int> posiciones(const std::vector<int32_t>& claves) {
    TIntMatrix m;
    for (std::size_t k = 0; k < claves.size(); ++k) m.push_back({static_cast<int32_t>(k), claves[k]});
    if (m.size() > 1) OrdenarMatriz(m, 0, static_cast<int>(m.size()) - 1);
    std::vector<int> resultado;
    for (std::size_t k = 0; k < claves.size(); ++k)
        resultado.push_back(TReporte().PosicionRanking(static_cast<int>(k), m));
    return resultado;
}

}  // namespace

TEST(PosicionRanking, MayorUtilidadPrimero) {
    EXPECT_EQ(posiciones({500, 900, 700}), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(posiciones({-300, -100, -200, 0}), (std::vector<int>{4, 2, 3, 1}));
}

TEST(PosicionRanking, UnaSolaEmpresaEsPrimera) { EXPECT_EQ(posiciones({-5000}), (std::vector<int>{1})); }

TEST(PosicionRanking, EmpatesTomanPosicionesDistintas) {
    // Two equal keys change places in the sort: the first company ranks first.
    EXPECT_EQ(posiciones({5, 5}), (std::vector<int>{1, 2}));
    EXPECT_EQ(posiciones({7, 7, 7}), (std::vector<int>{1, 2, 3}));
    // Sorted: 4 (100), 1 (500), 3, 0, 2 (700 each).
    EXPECT_EQ(posiciones({700, 500, 700, 700, 100}), (std::vector<int>{2, 4, 1, 3, 5}));
}

TEST(PosicionRanking, EmpresaSinFilaNoTienePosicion) {
    const TIntMatrix m = {{0, 10}, {2, 30}};  // company 1 was left out
    EXPECT_EQ(TReporte().PosicionRanking(0, m), 2);
    EXPECT_EQ(TReporte().PosicionRanking(2, m), 1);
    EXPECT_EQ(TReporte().PosicionRanking(1, m), -1);
    EXPECT_EQ(TReporte().PosicionRanking(0, TIntMatrix{}), -1);
}
