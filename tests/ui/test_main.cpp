#include <gtest/gtest.h>

#include <QtGlobal>

#include <cstring>
#include <memory>

#include "ui/reporting_application.h"

// The widget tests need an application object, but listing the tests (which the build does,
// without a display) must not create one.
int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i) {
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    if (listing) {
        return RUN_ALL_TESTS();
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    quillex::ReportingApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
