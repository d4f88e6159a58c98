#include "ui/main_window.h"

namespace quillex {

TfmMain::TfmMain(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
    setFixedSize(kWidth, kHeight);
}

}  // namespace quillex
