// Main window: the document view and RefreshView.
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "core/display_limit.h"
#include "core/view_text.h"
#include "ui/main_window.h"
#include "ui/text_bridge.h"

namespace quillex {

void TfmMain::RefreshView() {
    const ViewText view = ComposeViewText(
        DocumentLines, LinesToShow(displayLimit_, DocumentLines.Count()), kViewCapacity);
    // One change for the statistics: they are rendered once below, not per line.
    batchingView_ = true;
    RichEdit_Text->clear();
    QTextCursor cursor(RichEdit_Text->document());
    // Plain text only: nothing in a line is ever taken as markup.
    cursor.insertText(DecodeForView(view.text), QTextCharFormat());
    batchingView_ = false;
    UpdateStatistics();
    if (view.overflow) {
        ShowRunError();
    }
}

void TfmMain::N0_Click(int displayLimit) {
    displayLimit_ = displayLimit;
    RefreshView();
}

void TfmMain::RichEdit_TextChange() {
    if (!batchingView_) {
        UpdateStatistics();
    }
}

}  // namespace quillex
