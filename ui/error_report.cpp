#include "ui/error_report.h"

#include <new>

#include <QMessageBox>

#include "core/cp1251.h"
#include "core/line_operations.h"
#include "ui/guarded.h"

namespace quillex {

QString ErrorReportText(const std::exception& error) {
    QString message;
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        message = QStringLiteral("Not enough memory");
    } else if (dynamic_cast<const ConversionError*>(&error) != nullptr) {
        message = QString::fromStdU16String(DecodeCp1251(error.what()));
    } else {
        message = QString::fromUtf8(error.what());
    }
    return message + QLatin1Char('.');
}

void ReportUncaught(ErrorReport& report, const std::exception* error) noexcept {
    try {
        report.ShowError(error != nullptr ? ErrorReportText(*error)
                                          : QStringLiteral("Unknown error."));
    } catch (...) {
        // Nothing is left to tell the user with; the event loop still goes on.
    }
}

void MessageBoxErrorReport::ShowError(const QString& text) {
    QMessageBox::critical(parent_, title_, text, QMessageBox::Ok);
}

}  // namespace quillex
