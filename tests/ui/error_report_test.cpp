#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include <stdexcept>

#include "core/line_operations.h"
#include "tests/ui/panel_fixture.h"
#include "ui/reporting_application.h"

namespace quillex::testing {
namespace {

class Thrower : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            throw std::runtime_error("Something went wrong");
        }
        return QObject::event(event);
    }
};

class ReportingApplicationTest : public ::testing::Test {
  protected:
    ReportingApplicationTest() : app_(*static_cast<ReportingApplication*>(qApp)) {
        previous_ = &app_.Report();
        app_.SetReport(report_);
    }
    ~ReportingApplicationTest() override { app_.SetReport(*previous_); }

    ReportingApplication& app_;
    ErrorReport* previous_;
    FakeReport report_;
};

TEST_F(ReportingApplicationTest, AnErrorEscapingAnEventHandlerIsReportedAndTheLoopGoesOn) {
    Thrower thrower;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &event));
    EXPECT_EQ(report_.shown, std::vector<QString>{QStringLiteral("Something went wrong.")});

    // Later events are delivered as usual.
    QEvent harmless(static_cast<QEvent::Type>(QEvent::User + 1));
    QCoreApplication::sendEvent(&thrower, &harmless);
    EXPECT_EQ(report_.shown.size(), 1u);
}

TEST(ErrorReportText, AddsAFullStopAndDecodesAConversionMessageFromTheCodePage) {
    EXPECT_EQ(ErrorReportText(std::runtime_error("Disk full")), QStringLiteral("Disk full."));
    EXPECT_EQ(ErrorReportText(ConversionError("'\xE6' is not a valid integer value")),
              QString::fromUtf8("'ж' is not a valid integer value."));
}

}  // namespace
}  // namespace quillex::testing
