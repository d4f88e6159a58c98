// Main window: undo and redo of the document's changes and of the load file's round trips.
#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

#include <utility>

#include "core/file_format.h"
#include "core/input_check.h"
#include "ui/dialogs.h"
#include "ui/guarded.h"
#include "ui/main_window.h"
#include "ui/text_bridge.h"
#include "ui/titled_menu.h"

namespace quillex {

namespace {

// The load file's part of a step could not be exchanged: the step stays where it was.
struct ExchangeFailed {};

}  // namespace

void MainWindow::BuildUndo() {
    undoItem_ = viewMenu_->addAction(QString());
    redoItem_ = viewMenu_->addAction(QString());
    undoSeparator_ = viewMenu_->addSeparator();
    connect(undoItem_, &QAction::triggered, this, Guarded(report_, this, &MainWindow::Undo));
    connect(redoItem_, &QAction::triggered, this, Guarded(report_, this, &MainWindow::Redo));
    // The keys work on the window, not through the menu's items, which the menu hides while
    // the view is empty; the items only show them (and take them while the menu is open).
    const auto shortcut = [this](const QKeySequence& keys, void (MainWindow::*handler)()) {
        auto* key = new QShortcut(keys, this);
        connect(key, &QShortcut::activated, this, Guarded(report_, this, handler));
    };
    const QKeySequence undo(Qt::CTRL | Qt::Key_Z);
    const QKeySequence redo(Qt::CTRL | Qt::Key_Y);
    const QKeySequence redoToo(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    shortcut(undo, &MainWindow::Undo);
    shortcut(redo, &MainWindow::Redo);
    shortcut(redoToo, &MainWindow::Redo);
    undoItem_->setShortcut(undo);
    redoItem_->setShortcuts({redo, redoToo});
    for (QAction* item : {undoItem_, redoItem_}) {
        item->setShortcutContext(Qt::WidgetShortcut);
    }
}

void MainWindow::RecordChange(UndoStep step, std::vector<StepWordList> applied) {
    open_.Record(std::move(step), std::move(applied));
}

void MainWindow::Undo() {
    StepThroughHistory(true);
}

void MainWindow::Redo() {
    StepThroughHistory(false);
}

void MainWindow::StepThroughHistory(bool undoing) {
    if (work_->Busy()) {
        return;
    }
    const UndoHistory::Exchange exchange = [this, undoing](UndoStep& step) {
        ExchangeStep(step, undoing);
    };
    try {
        if (undoing) {
            open_.Undo(exchange);
        } else {
            open_.Redo(exchange);
        }
    } catch (const ExchangeFailed&) {
    }
}

void MainWindow::ExchangeStep(UndoStep& step, bool undoing) {
    // The file first: when it cannot be written, nothing else changes either.
    if (step.file) {
        if (!MayExchangeLoadFile(*step.file)) {
            RemoveBackup(*step.file);  // the user keeps the file as it is now
            step.file.reset();
        } else {
            try {
                ExchangeWithBackup(*step.file);
            } catch (const FileError&) {
                ShowFileError(FromUtf8(PathText(step.file->original)));
                throw ExchangeFailed{};
            }
        }
    }
    if (step.document) {
        std::swap(open_.Lines(), *step.document);
    }
    if (step.loaded) {
        // The field names the file whose lines are held again, and a save over a file loaded
        // only up to a NUL byte asks again.
        LoadedFile shown{loadFileEdit_->text().toStdString(), CutLoadOffset()};
        loadFileEdit_->setText(FromUtf8(step.loaded->field));
        loadFileEdit_->setToolTip(loadFileEdit_->text());
        LoadReport report;
        report.nulOffset = step.loaded->nulOffset;
        NoteCutLoad(report);
        *step.loaded = std::move(shown);
    }
    std::swap(processed_, step.processed);
    RestoreProcessedLabel();
    if (step.viewEmptied && !undoing) {
        ClearView();
    } else {
        RefreshView();
    }
}

bool MainWindow::MayExchangeLoadFile(const FileBackup& backup) {
    if (!ChangedOnDisk(backup)) {
        return true;
    }
    return dialogs_.Ask(
        FromUtf8(Captions().Txt_Changed_On_Disk).arg(FromUtf8(PathText(backup.original))));
}

}  // namespace quillex
