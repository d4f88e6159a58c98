#pragma once

#include <QString>

#include <vector>

#include "ui/error_report.h"

namespace quillex::testing {

// The general error report, recording what it would show.
class FakeReport : public ErrorReport {
  public:
    std::vector<QString> shown;
    void ShowError(const QString& text) override { shown.push_back(text); }
};

}  // namespace quillex::testing
