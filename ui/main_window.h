#pragma once

#include <QWidget>

namespace quillex {

// The main window: borderless, 806 x 580.
class TfmMain : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 806;
    static constexpr int kHeight = 580;

    explicit TfmMain(QWidget* parent = nullptr);
};

}  // namespace quillex
