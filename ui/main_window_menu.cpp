// Main window: the view's popup menu, the four view commands and the statistics labels.
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>

#include <array>
#include <utility>

#include "core/view_text.h"
#include "ui/guarded.h"
#include "ui/main_window.h"
#include "ui/text_bridge.h"
#include "ui/titled_menu.h"

namespace quillex {

void MainWindow::BuildMenu() {
    viewMenu_ = new TitledMenu(this);
    BuildUndo();
    displayLimitMenu_ = viewMenu_->addMenu(QString());
    displayLimitItem_ = displayLimitMenu_->menuAction();
    static constexpr std::array<const char*, 5> kLimitCaptions = {
        "Первые 100 строк", "Первые 200 строк", "Первые 500 строк", "Первые 1000 строк",
        "Весь файл (!)"};
    for (int limit = 0; limit < static_cast<int>(kLimitCaptions.size()); ++limit) {
        displayLimitItems_[limit] =
            displayLimitMenu_->addAction(QString::fromUtf8(kLimitCaptions[limit]));
        connect(displayLimitItems_[limit], &QAction::triggered, this,
                Guarded(report_, [this, limit] { SetDisplayLimit(limit); }));
    }
    highlightItem_ = viewMenu_->addAction(QString());
    caretToEndItem_ = viewMenu_->addAction(QString());
    copyAllItem_ = viewMenu_->addAction(QString());
    emptyViewItem_ = viewMenu_->addAction(QString());
    BuildEncodingMenu();
    BuildRecipeMenu();
    connect(highlightItem_, &QAction::triggered, this,
            Guarded(report_, this, &MainWindow::OnHighlightItem));
    connect(caretToEndItem_, &QAction::triggered, this,
            Guarded(report_, this, &MainWindow::OnCaretToEndItem));
    connect(copyAllItem_, &QAction::triggered, this,
            Guarded(report_, this, &MainWindow::OnCopyAllItem));
    connect(emptyViewItem_, &QAction::triggered, this,
            Guarded(report_, this, &MainWindow::OnEmptyViewItem));
    connect(viewMenu_, &QMenu::aboutToShow, this,
            Guarded(report_, this, &MainWindow::PrepareViewMenu));
    connect(view_, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { viewMenu_->popup(view_->viewport()->mapToGlobal(at)); });
}

void MainWindow::PrepareViewMenu() {
    // The same fixed captions in both interface languages, set anew at every opening.
    const bool hasText = !view_->document()->isEmpty();
    viewMenu_->SetStripTitle(hasText ? QStringLiteral("Quillex") : QStringLiteral("*"));
    auto set = [](QAction* item, bool visible, const char* caption) {
        item->setVisible(visible);
        item->setText(visible ? QString::fromUtf8(caption) : QString());
    };
    set(displayLimitItem_, hasText, "Отобразить");
    set(highlightItem_, true,
        hasText ? "Выделить красным кириллицу" : "Загрузьте файл для обработки");
    set(caretToEndItem_, hasText, "Переместить курсор в конец текста");
    set(copyAllItem_, hasText, "Выделить и скопировать весь текст");
    set(emptyViewItem_, hasText, "Очистить RichEdit");
    PrepareEncodingMenu(hasText);
    PrepareRecipeMenu(hasText);
    // Undo and redo in the language in force, greyed when there is nothing; hidden with the
    // other items while the view is empty.
    const quillex::CaptionTable& table = Captions();
    undoItem_->setVisible(hasText);
    redoItem_->setVisible(hasText);
    undoSeparator_->setVisible(hasText);
    undoItem_->setText(FromUtf8(table.Txt_Undo));
    redoItem_->setText(FromUtf8(table.Txt_Redo));
    // While work runs nothing may change the document or the history under it.
    const bool idle = !work_->Busy();
    undoItem_->setEnabled(idle && open_.History().CanUndo());
    redoItem_->setEnabled(idle && open_.History().CanRedo());
    emptyViewItem_->setEnabled(idle);
    highlightItem_->setEnabled(idle || hasText);  // with an empty view it opens a file
}

void MainWindow::OnHighlightItem() {
    if (!view_->document()->isEmpty()) {
        HighlightCyrillic();
    } else {
        ChooseAndLoadFile();
    }
}

void MainWindow::OnCaretToEndItem() {
    if (!view_->document()->isEmpty()) {
        MoveCaretToEnd();
    }
}

void MainWindow::OnCopyAllItem() {
    if (!view_->document()->isEmpty()) {
        CopyAll();
    }
}

void MainWindow::OnEmptyViewItem() {
    if (!view_->document()->isEmpty()) {
        EmptyView();
    }
}

void MainWindow::HighlightCyrillic() {
    const QString text = view_->toPlainText();
    QTextCharFormat black;
    black.setForeground(QColor(0, 0, 0));
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    // Colouring is not a change of the text: the statistics stay as they are.
    batchingView_ = true;
    QTextCursor cursor(view_->document());
    cursor.beginEditBlock();
    for (const ColourRun& run : CyrillicRuns(U16View(text))) {
        cursor.setPosition(static_cast<int>(run.start));
        cursor.setPosition(static_cast<int>(run.start + run.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(run.red ? red : black);
    }
    cursor.endEditBlock();
    batchingView_ = false;
}

void MainWindow::MoveCaretToEnd() {
    QScrollBar* bar = view_->verticalScrollBar();
    bar->setValue(bar->maximum());
    view_->setFocus();
    QTextCursor cursor(view_->document());
    cursor.setPosition(static_cast<int>(CaretEndPosition(U16View(view_->toPlainText()))));
    view_->setTextCursor(cursor);
}

void MainWindow::CopyAll() {
    view_->setFocus();
    view_->selectAll();
    view_->copy();
}

void MainWindow::EmptyView() {
    if (work_->Busy()) {
        return;
    }
    ClearView();
    UndoStep step;
    step.viewEmptied = true;
    step.processed = processed_;
    RecordChange(std::move(step), {});
}

void MainWindow::ClearView() {
    view_->clear();
    MoveCaretToEnd();
}

void MainWindow::UpdateStatistics() {
    const quillex::CaptionTable& table = Captions();
    const ViewCounts counts = CountViewText(U16View(view_->toPlainText()));
    viewLinesLabel_->setText(FromUtf8(LabelWithNumber(table.Txt_Lines, counts.lines)));
    viewCharsLabel_->setText(FromUtf8(LabelWithNumber(table.Txt_Characters, counts.characters)));
    encodingLabel_->setText(FromUtf8(std::string(EncodingName(open_.Lines().GetEncoding()))));
    longestLineLabel_->setText(
        FromUtf8(LabelWithNumber(table.Txt_Max_Chars, LongestLineLength(open_.Lines()))));
}

}  // namespace quillex
