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

void TfmMain::BuildUndo() {
    N5 = Menu_RichEdit_Text->addAction(QString());
    N6 = Menu_RichEdit_Text->addAction(QString());
    N5_Separator = Menu_RichEdit_Text->addSeparator();
    connect(N5, &QAction::triggered, this, Guarded(report_, this, &TfmMain::N5Click));
    connect(N6, &QAction::triggered, this, Guarded(report_, this, &TfmMain::N6Click));
    // The keys work on the window, not through the menu's items, which the menu hides while
    // the view is empty; the items only show them (and take them while the menu is open).
    const auto shortcut = [this](const QKeySequence& keys, void (TfmMain::*handler)()) {
        auto* key = new QShortcut(keys, this);
        connect(key, &QShortcut::activated, this, Guarded(report_, this, handler));
    };
    const QKeySequence undo(Qt::CTRL | Qt::Key_Z);
    const QKeySequence redo(Qt::CTRL | Qt::Key_Y);
    const QKeySequence redoToo(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    shortcut(undo, &TfmMain::N5Click);
    shortcut(redo, &TfmMain::N6Click);
    shortcut(redoToo, &TfmMain::N6Click);
    N5->setShortcut(undo);
    N6->setShortcuts({redo, redoToo});
    for (QAction* item : {N5, N6}) {
        item->setShortcutContext(Qt::WidgetShortcut);
    }
}

void TfmMain::RecordChange(UndoStep step) {
    history_.Record(std::move(step), DocumentLines);
}

void TfmMain::N5Click() {
    try {
        history_.Undo([this](UndoStep& step) { ExchangeStep(step, true); });
    } catch (const ExchangeFailed&) {
    }
}

void TfmMain::N6Click() {
    try {
        history_.Redo([this](UndoStep& step) { ExchangeStep(step, false); });
    } catch (const ExchangeFailed&) {
    }
}

void TfmMain::ExchangeStep(UndoStep& step, bool undoing) {
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
        std::swap(DocumentLines, *step.document);
    }
    if (step.loaded) {
        // The field names the file whose lines are held again, and a save over a file loaded
        // only up to a NUL byte asks again.
        LoadedFile shown{Edit_Load_File->text().toStdString(), CutLoadOffset()};
        Edit_Load_File->setText(FromUtf8(step.loaded->field));
        Edit_Load_File->setToolTip(Edit_Load_File->text());
        LoadReport report;
        report.nulOffset = step.loaded->nulOffset;
        NoteCutLoad(report);
        *step.loaded = std::move(shown);
    }
    std::swap(processed_, step.processed);
    if (processed_) {
        ShowProgress(*processed_);
    } else {
        Lbl_Work->setText(FromUtf8(Captions().Txt_Lines_Processed));
    }
    if (step.viewEmptied && !undoing) {
        EmptyView();
    } else {
        RefreshView();
    }
}

bool TfmMain::MayExchangeLoadFile(const FileBackup& backup) {
    if (!ChangedOnDisk(backup)) {
        return true;
    }
    return dialogs_.Ask(QStringLiteral("The file ") + FromUtf8(PathText(backup.original)) +
                        QStringLiteral(" has been changed since Quillex wrote it. Write over it "
                                       "anyway?"));
}

}  // namespace quillex
