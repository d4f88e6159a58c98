#pragma once

#include <QApplication>

#include <memory>

#include "ui/error_report.h"

namespace quillex {

// The application object. Its name is the application's title, taken from the program file.
// It holds the general error report, by which the handlers show a failure they do not catch
// themselves (see Guarded): no exception may pass through Qt's event dispatch.
class ReportingApplication : public QApplication {
    Q_OBJECT

  public:
    ReportingApplication(int& argc, char** argv);
    ~ReportingApplication() override;

    // The report in force: a message box titled with the application's title unless
    // replaced (tests replace it with a fake).
    ErrorReport& Report() { return *report_; }
    void SetReport(ErrorReport& report) { report_ = &report; }

  private:
    std::unique_ptr<ErrorReport> ownReport_;
    ErrorReport* report_ = nullptr;
};

}  // namespace quillex
