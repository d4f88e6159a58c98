#include "ui/reporting_application.h"

#include <exception>

#include "core/app_title.h"

namespace quillex {

ReportingApplication::ReportingApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromStdString(
        ApplicationTitle(QCoreApplication::applicationFilePath().toStdString())));
    ownReport_ = std::make_unique<MessageBoxErrorReport>(applicationName());
    report_ = ownReport_.get();
}

ReportingApplication::~ReportingApplication() = default;

bool ReportingApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        report_->ShowError(ErrorReportText(error));
    } catch (...) {
        report_->ShowError(QStringLiteral("Unknown error."));
    }
    return false;
}

}  // namespace quillex
