// The zone's ranking from numbers: the rows of bankrupt companies leave
// before the sort, and the sort's order of ties decides their ranks.

#include "engine/Ranking.h"

#include <gtest/gtest.h>

TEST(PosicionesEnRanking, QuebradasFueraYEmpatesEnElOrdenDelQuicksort) {
    struct Caso {
        std::vector<int32_t> claves;
        std::vector<bool> quebradas;
        std::vector<int> posiciones;
    };
    const Caso casos[] = {
        {{}, {}, {}},
        {{500, 900, 700}, {}, {3, 1, 2}},
        {{500, 900, 700}, {false, true, false}, {2, -1, 1}},
        // Only the first rows are checked for bankruptcy; the later ones stay.
        {{700, 900, 500, 100}, {true}, {-1, 1, 2, 3}},
        {{-5000}, {true}, {-1}},
        // The industry report's case: keys 700, 500, 700, -1200 once two left.
        {{700, 900, 500, 800, 700, -1200}, {false, true, false, true, false, false}, {2, -1, 3, -1, 1, 4}},
        {{0, 0, 100}, {false, false, false}, {2, 3, 1}},
    };
    for (const Caso& c : casos) EXPECT_EQ(posicionesEnRanking(c.claves, c.quebradas), c.posiciones);
}
