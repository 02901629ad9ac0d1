// The documents need a QApplication: created once, offscreen when there is no display.
#include "documentos/Documentos.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    asegurarAplicacionGrafica();
    return RUN_ALL_TESTS();
}
