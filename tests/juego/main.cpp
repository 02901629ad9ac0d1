// The game core's tests take the number format of their environment, as the
// programs do at start: ctest runs them under C and under a decimal comma.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
