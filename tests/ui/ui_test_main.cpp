#include <gtest/gtest.h>

#include <QtGlobal>

#include "ui/reporting_application.h"
#include "ui/skin.h"

// The widget tests need an application object, but listing the tests (which the build does to
// register them, without a display) must not create one.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    quillex::ReportingApplication app(argc, argv);
    quillex::InitSkinResources();
    return RUN_ALL_TESTS();
}
