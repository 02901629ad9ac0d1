// The portal's tests run the server in this process, on its own threads;
// the PDF hand-outs draw with Qt Gui, offscreen, so a QGuiApplication exists.

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacion(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
