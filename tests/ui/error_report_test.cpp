#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include <stdexcept>

#include "core/line_operations.h"
#include "tests/ui/panel_fixture.h"
#include "ui/guarded.h"

namespace quillex::testing {
namespace {

// A failure that a slot does not catch is reported at the slot's boundary, before it could
// reach Qt's event dispatch, and the event loop goes on.
TEST(Guarded, AFailureIsReportedAtTheHandlersBoundaryAndTheLoopGoesOn) {
    FakeReport report;
    int runs = 0;
    QTimer::singleShot(0, Guarded(report, [&] {
                           ++runs;
                           throw std::runtime_error("Something went wrong");
                       }));
    QTimer::singleShot(0, Guarded(report, [&] {
                           ++runs;
                           throw 42;
                       }));
    QTimer::singleShot(0, Guarded(report, [&] { ++runs; }));
    for (int i = 0; i < 100 && runs < 3; ++i) {
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(report.shown, (std::vector<QString>{QStringLiteral("Something went wrong."),
                                                  QStringLiteral("Unknown error.")}));
}

TEST(ErrorReportText, AddsAFullStopAndDecodesAConversionMessageFromTheCodePage) {
    EXPECT_EQ(ErrorReportText(std::runtime_error("Disk full")), QStringLiteral("Disk full."));
    EXPECT_EQ(ErrorReportText(ConversionError("'\xE6' is not a valid integer value")),
              QString::fromUtf8("'ж' is not a valid integer value."));
}

}  // namespace
}  // namespace quillex::testing
