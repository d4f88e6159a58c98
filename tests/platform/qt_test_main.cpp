#include <QApplication>

#include <gtest/gtest.h>

// Widgets, tray icons and QDesktopServices need an application object. The tests never need a
// display: without a platform chosen they run offscreen, test discovery at build time included.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
