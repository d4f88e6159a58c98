#pragma once

#include <QString>

#include <exception>

class QWidget;

namespace quillex {

// The application's general error report: a failure that no handler of its own catches.
class ErrorReport {
  public:
    virtual ~ErrorReport() = default;

    // Shows `text` as it stands; callers add the full stop.
    virtual void ShowError(const QString& text) = 0;
};

// The report text of an uncaught failure: its message with a full stop added. A conversion
// message quotes the document's own bytes and so is decoded from the code page; every other
// message is UTF-8.
QString ErrorReportText(const std::exception& error);

// The report as the user sees it: a message box with an error icon and an OK button, titled
// with the application's title.
class MessageBoxErrorReport : public ErrorReport {
  public:
    explicit MessageBoxErrorReport(QString title, QWidget* parent = nullptr)
        : title_(std::move(title)), parent_(parent) {}

    void ShowError(const QString& text) override;

  private:
    QString title_;
    QWidget* parent_;
};

}  // namespace quillex
