#include "ui/reporting_application.h"

#include "core/app_title.h"

namespace quillex {

ReportingApplication::ReportingApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromStdString(
        ApplicationTitle(QCoreApplication::applicationFilePath().toStdString())));
    ownReport_ = std::make_unique<MessageBoxErrorReport>(applicationName());
    report_ = ownReport_.get();
}

ReportingApplication::~ReportingApplication() = default;

}  // namespace quillex
