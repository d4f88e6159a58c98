// Main window: the document view and RefreshView.
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "core/display_limit.h"
#include "core/view_text.h"
#include "ui/main_window.h"
#include "ui/text_bridge.h"

namespace quillex {

void MainWindow::RefreshView() {
    const ViewText view = ComposeViewText(
        open_.Lines(), LinesToShow(displayLimit_, open_.Lines().Count()), kViewCapacity);
    // One change for the statistics: they are rendered once below, not per line.
    batchingView_ = true;
    view_->clear();
    QTextCursor cursor(view_->document());
    // Plain text only: nothing in a line is ever taken as markup.
    cursor.insertText(DecodeForView(view.text, open_.Lines().GetEncoding()), QTextCharFormat());
    batchingView_ = false;
    UpdateStatistics();
    if (view.overflow) {
        ShowRunError();
    }
}

void MainWindow::SetDisplayLimit(int displayLimit) {
    displayLimit_ = displayLimit;
    RefreshView();
}

void MainWindow::OnViewTextChanged() {
    if (!batchingView_) {
        UpdateStatistics();
    }
}

}  // namespace quillex
