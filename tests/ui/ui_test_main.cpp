#include <QApplication>

#include <gtest/gtest.h>

#include <cstring>

#include "ui/skin.h"

// Listing the tests (which the build does to register them, without the offscreen platform)
// must not need a display; running them creates the application.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            return RUN_ALL_TESTS();
        }
    }
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication app(argc, argv);
    quillex::InitSkinResources();
    return RUN_ALL_TESTS();
}
