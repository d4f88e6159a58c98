// Main window: while a load, a save or a line function works on the worker, the commands that
// would change the document wait, a bar shows how far the work is, and Esc or the Cancel
// control in place of Start stops it.
#include <QKeySequence>
#include <QLineEdit>
#include <QProgressBar>
#include <QShortcut>

#include <functional>

#include "ui/dialogs.h"
#include "ui/image_button.h"
#include "ui/main_layout.h"
#include "ui/main_window.h"
#include "ui/panels/function_panels.h"

namespace quillex {

namespace {

// Dialogs that call `pause(true)` before one comes up and `pause(false)` once it is gone.
class PausingDialogs final : public Dialogs {
  public:
    PausingDialogs(Dialogs& dialogs, std::function<void(bool)> pause)
        : dialogs_(dialogs), pause_(std::move(pause)) {}

    std::optional<QString> OpenFile(const QString& folder, const QStringList& filters) override {
        const Paused paused(*this);
        return dialogs_.OpenFile(folder, filters);
    }
    std::optional<QString> SaveFile(const QString& folder, const QStringList& filters) override {
        const Paused paused(*this);
        return dialogs_.SaveFile(folder, filters);
    }
    QStringList OpenFiles(const QString& folder, const QStringList& filters) override {
        const Paused paused(*this);
        return dialogs_.OpenFiles(folder, filters);
    }
    std::optional<QString> ChooseFolder(const QString& folder) override {
        const Paused paused(*this);
        return dialogs_.ChooseFolder(folder);
    }
    void Message(const QString& text) override {
        const Paused paused(*this);
        dialogs_.Message(text);
    }
    bool Ask(const QString& text) override {
        const Paused paused(*this);
        return dialogs_.Ask(text);
    }

  private:
    struct Paused {
        explicit Paused(PausingDialogs& d) : dialogs(d) { dialogs.pause_(true); }
        ~Paused() { dialogs.pause_(false); }
        PausingDialogs& dialogs;
    };

    Dialogs& dialogs_;
    std::function<void(bool)> pause_;
};

}  // namespace

std::unique_ptr<Dialogs> MainWindow::IdleWhileAsking(Dialogs& dialogs) {
    return std::make_unique<PausingDialogs>(dialogs, [this](bool up) {
        if (up == asking_ || !work_->Busy()) {
            return;
        }
        asking_ = up;
        ShowWorkIndicators(!up);
    });
}

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
    connect(work_, &WorkRunner::ShareShown, this, &MainWindow::ShowShare);
    connect(work_, &WorkRunner::ShareChanged, workBar_, &QProgressBar::setValue);
    connect(work_, &WorkRunner::BusyChanged, this, &MainWindow::ShowWorking);

    cancelKey_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    cancelKey_->setEnabled(false);
    connect(cancelKey_, &QShortcut::activated, work_, &WorkRunner::Cancel);
}

void MainWindow::ShowShare(bool shown) {
    shareShown_ = shown;
    workBar_->setVisible(shown && !asking_);
}

void MainWindow::ShowWorkIndicators(bool working) {
    openButton_->setEnabled(!working);
    saveButton_->setEnabled(!working);
    panels_->ShowWorking(working);
    workBar_->setVisible(working && shareShown_);
}

void MainWindow::ShowWorking(bool working) {
    asking_ = false;
    shareShown_ = shareShown_ && working;
    ShowWorkIndicators(working);
    // A round trip writes over the file the field names when its result is ready.
    loadFileEdit_->setReadOnly(working);
    cancelKey_->setEnabled(working);
    if (!working && closing_) {
        close();
    }
}

}  // namespace quillex
