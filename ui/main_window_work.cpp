// Main window: while a load, a save or a line function works on the worker, the commands that
// would change the document wait, a bar shows how far the work is, and Esc or the Cancel
// control in place of Start stops it.
#include <QKeySequence>
#include <QLineEdit>
#include <QProgressBar>
#include <QShortcut>

#include "ui/image_button.h"
#include "ui/main_layout.h"
#include "ui/main_window.h"

namespace quillex {

void MainWindow::BuildWorkControls() {
    workBar_ = new QProgressBar(this);
    workBar_->setObjectName(QStringLiteral("Progress_Work"));
    workBar_->setGeometry(layout::kProgress_Work);
    workBar_->setRange(0, WorkRunner::kShareRange);
    workBar_->setTextVisible(false);
    // The colours of the fields and the view's scroll bars.
    workBar_->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid #9db4cc; border-radius: 4px; background: #e6ebf0; }"
        "QProgressBar::chunk { border-radius: 3px; background: qlineargradient(x1:0, y1:0,"
        " x2:0, y2:1, stop:0 #5fb0e8, stop:1 #2a8fd6); }"));
    workBar_->hide();
    connect(work_, &WorkRunner::ShareShown, workBar_, &QWidget::setVisible);
    connect(work_, &WorkRunner::ShareChanged, workBar_, &QProgressBar::setValue);
    connect(work_, &WorkRunner::BusyChanged, this, &MainWindow::ShowWorking);

    cancelKey_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    cancelKey_->setEnabled(false);
    connect(cancelKey_, &QShortcut::activated, work_, &WorkRunner::Cancel);
}

void MainWindow::ShowWorking(bool working) {
    openButton_->setEnabled(!working);
    saveButton_->setEnabled(!working);
    // A round trip writes over the file the field names when its result is ready.
    loadFileEdit_->setReadOnly(working);
    cancelKey_->setEnabled(working);
    if (!working && closing_) {
        close();
    }
}

}  // namespace quillex
