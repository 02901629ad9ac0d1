// The small helpers of the industry report: padding, choosing, the matrix.

#include "reports/Utils.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(Rellenar, RellenaSinCortarNunca) {
    EXPECT_EQ(Rellenar("-", 2, " ", "I"), " -");
    EXPECT_EQ(Rellenar("-", 2, " ", "D"), "- ");
    EXPECT_EQ(Rellenar("ab", 5, "*", "d"), "ab***");
    EXPECT_EQ(Rellenar("ab", 5, "*", "x"), "***ab");  // any side but D/d fills in front
    EXPECT_EQ(Rellenar("", 18, " ", "I"), std::string(18, ' '));
    EXPECT_EQ(Rellenar("123456789012", 10, " ", "I"), "123456789012");
    EXPECT_EQ(Rellenar("abc", 3, " ", "D"), "abc");
    EXPECT_EQ(Rellenar("abc", -4, " ", "D"), "abc");
    // The fill text is added once per missing character, whatever its length.
    EXPECT_EQ(Rellenar("x", 3, "ab", "D"), "xabab");
}

TEST(BorrarFila, SubeLasFilasSiguientes) {
    TIntMatrix m = {{0, 10}, {1, 20}, {2, 30}, {3, 40}};
    BorrarFila(m, 1);
    EXPECT_EQ(m, (TIntMatrix{{0, 10}, {2, 30}, {3, 40}}));
    BorrarFila(m, 2);
    EXPECT_EQ(m, (TIntMatrix{{0, 10}, {2, 30}}));
    BorrarFila(m, 0);
    EXPECT_EQ(m, (TIntMatrix{{2, 30}}));
    BorrarFila(m, 0);
    EXPECT_TRUE(m.empty());
}

TEST(BorrarFila, FilaInexistenteEsUnErrorDeProgramacion) {
    TIntMatrix vacia;
    EXPECT_THROW(BorrarFila(vacia, 0), std::logic_error);
    TIntMatrix m = {{0, 10}, {1, 20}};
    EXPECT_THROW(BorrarFila(m, 2), std::logic_error);
    EXPECT_THROW(BorrarFila(m, -1), std::logic_error);
    EXPECT_EQ(m, (TIntMatrix{{0, 10}, {1, 20}}));  // untouched
}

TEST(OrdenarMatriz, AscendentePorLaColumnaUno) {
    TIntMatrix m = {{0, 50}, {1, -7}, {2, 300}, {3, 0}, {4, 12}, {5, -7000}, {6, 99}};
    OrdenarMatriz(m, 0, 6);
    EXPECT_EQ(m, (TIntMatrix{{5, -7000}, {1, -7}, {3, 0}, {4, 12}, {0, 50}, {6, 99}, {2, 300}}));
}

TEST(OrdenarMatriz, SoloElTramoPedido) {
    TIntMatrix m = {{0, 9}, {1, 3}, {2, 2}, {3, 1}, {4, 0}};
    OrdenarMatriz(m, 1, 3);
    EXPECT_EQ(m, (TIntMatrix{{0, 9}, {3, 1}, {2, 2}, {1, 3}, {4, 0}}));
}

TEST(OrdenarMatriz, UnaFilaOYaOrdenadaNoCambia) {
    TIntMatrix una = {{0, 5}};
    OrdenarMatriz(una, 0, 0);
    EXPECT_EQ(una, (TIntMatrix{{0, 5}}));
    TIntMatrix ordenada = {{0, 1}, {1, 2}, {2, 3}, {3, 4}};
    OrdenarMatriz(ordenada, 0, 3);
    EXPECT_EQ(ordenada, (TIntMatrix{{0, 1}, {1, 2}, {2, 3}, {3, 4}}));
}

TEST(OrdenarMatriz, ClavesIgualesQuedanEnElOrdenDelQuicksort) {
    // Pivot is the middle row; equal keys are swapped on the way, so the
    // sort is not stable and the ranking depends on exactly this order.
    TIntMatrix dos = {{0, 5}, {1, 5}};
    OrdenarMatriz(dos, 0, 1);
    EXPECT_EQ(dos, (TIntMatrix{{1, 5}, {0, 5}}));

    TIntMatrix tres = {{0, 7}, {1, 7}, {2, 7}};
    OrdenarMatriz(tres, 0, 2);
    EXPECT_EQ(tres, (TIntMatrix{{2, 7}, {1, 7}, {0, 7}}));

    // Pivot 700 (row 2): rows 0 and 4 change places, then rows 2 and 3;
    // then rows 0..2 are sorted, and rows 3..4 swap their equal keys again.
    TIntMatrix mezcla = {{0, 700}, {1, 500}, {2, 700}, {3, 700}, {4, 100}};
    OrdenarMatriz(mezcla, 0, 4);
    EXPECT_EQ(mezcla, (TIntMatrix{{4, 100}, {1, 500}, {3, 700}, {0, 700}, {2, 700}}));
}

TEST(OrdenarMatriz, TramoFueraDeLaMatrizEsUnErrorDeProgramacion) {
    TIntMatrix m = {{0, 2}, {1, 1}};
    EXPECT_THROW(OrdenarMatriz(m, 0, 2), std::logic_error);
    EXPECT_THROW(OrdenarMatriz(m, -1, 1), std::logic_error);
    TIntMatrix corta = {{0, 2}, {1}};
    EXPECT_THROW(OrdenarMatriz(corta, 0, 1), std::logic_error);
    TIntMatrix vacia;
    OrdenarMatriz(vacia, 0, -1);  // nothing to sort
    EXPECT_TRUE(vacia.empty());
}
