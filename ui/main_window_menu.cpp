// Main window: the view's popup menu, the four view commands and the statistics labels.
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>

#include <array>

#include "core/view_text.h"
#include "ui/guarded.h"
#include "ui/main_window.h"
#include "ui/text_bridge.h"
#include "ui/titled_menu.h"

namespace quillex {

void TfmMain::BuildMenu() {
    Menu_RichEdit_Text = new TitledMenu(this);
    N0_Menu = Menu_RichEdit_Text->addMenu(QString());
    N0 = N0_Menu->menuAction();
    static constexpr std::array<const char*, 5> kLimitCaptions = {
        "Первые 100 строк", "Первые 200 строк", "Первые 500 строк", "Первые 1000 строк",
        "Весь файл (!)"};
    for (int limit = 0; limit < static_cast<int>(kLimitCaptions.size()); ++limit) {
        N0_Items[limit] = N0_Menu->addAction(QString::fromUtf8(kLimitCaptions[limit]));
        connect(N0_Items[limit], &QAction::triggered, this,
                Guarded(report_, [this, limit] { N0_Click(limit); }));
    }
    N1 = Menu_RichEdit_Text->addAction(QString());
    N2 = Menu_RichEdit_Text->addAction(QString());
    N3 = Menu_RichEdit_Text->addAction(QString());
    N4 = Menu_RichEdit_Text->addAction(QString());
    connect(N1, &QAction::triggered, this, Guarded(report_, this, &TfmMain::N1Click));
    connect(N2, &QAction::triggered, this, Guarded(report_, this, &TfmMain::N2Click));
    connect(N3, &QAction::triggered, this, Guarded(report_, this, &TfmMain::N3Click));
    connect(N4, &QAction::triggered, this, Guarded(report_, this, &TfmMain::N4Click));
    connect(Menu_RichEdit_Text, &QMenu::aboutToShow, this,
            Guarded(report_, this, &TfmMain::Menu_RichEdit_TextPopup));
    connect(RichEdit_Text, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        Menu_RichEdit_Text->popup(RichEdit_Text->viewport()->mapToGlobal(at));
    });
}

void TfmMain::Menu_RichEdit_TextPopup() {
    // The same fixed captions in both interface languages, set anew at every opening.
    const bool hasText = !RichEdit_Text->document()->isEmpty();
    Menu_RichEdit_Text->SetStripTitle(hasText ? QStringLiteral("Quillex") : QStringLiteral("*"));
    auto set = [](QAction* item, bool visible, const char* caption) {
        item->setVisible(visible);
        item->setText(visible ? QString::fromUtf8(caption) : QString());
    };
    set(N0, hasText, "Отобразить");
    set(N1, true, hasText ? "Выделить красным кириллицу" : "Загрузьте файл для обработки");
    set(N2, hasText, "Переместить курсор в конец текста");
    set(N3, hasText, "Выделить и скопировать весь текст");
    set(N4, hasText, "Очистить RichEdit");
}

void TfmMain::N1Click() {
    if (!RichEdit_Text->document()->isEmpty()) {
        Btn_18Click();
    } else {
        Btn_Load_FileClick();
    }
}

void TfmMain::N2Click() {
    if (!RichEdit_Text->document()->isEmpty()) {
        Btn_44Click();
    }
}

void TfmMain::N3Click() {
    if (!RichEdit_Text->document()->isEmpty()) {
        Btn_20Click();
    }
}

void TfmMain::N4Click() {
    if (!RichEdit_Text->document()->isEmpty()) {
        Btn_19Click();
    }
}

void TfmMain::Btn_18Click() {
    const std::string bytes = EncodeFromView(RichEdit_Text->toPlainText());
    QTextCharFormat black;
    black.setForeground(QColor(0, 0, 0));
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    // Colouring is not a change of the text: the statistics stay as they are.
    batchingView_ = true;
    QTextCursor cursor(RichEdit_Text->document());
    cursor.beginEditBlock();
    for (const ColourRun& run : CyrillicRuns(bytes)) {
        cursor.setPosition(static_cast<int>(run.start));
        cursor.setPosition(static_cast<int>(run.start + run.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(run.red ? red : black);
    }
    cursor.endEditBlock();
    batchingView_ = false;
}

void TfmMain::Btn_44Click() {
    QScrollBar* bar = RichEdit_Text->verticalScrollBar();
    bar->setValue(bar->maximum());
    RichEdit_Text->setFocus();
    QTextCursor cursor(RichEdit_Text->document());
    cursor.setPosition(static_cast<int>(CaretEndPosition(U16View(RichEdit_Text->toPlainText()))));
    RichEdit_Text->setTextCursor(cursor);
}

void TfmMain::Btn_20Click() {
    RichEdit_Text->setFocus();
    RichEdit_Text->selectAll();
    RichEdit_Text->copy();
}

void TfmMain::Btn_19Click() {
    RichEdit_Text->clear();
    Btn_44Click();
}

void TfmMain::UpdateStatistics() {
    const quillex::CaptionTable& table = Captions();
    const ViewCounts counts = CountViewText(U16View(RichEdit_Text->toPlainText()));
    Lbl_1->setText(FromUtf8(LabelWithNumber(table.Txt_Lines, counts.lines)));
    Lbl_2->setText(FromUtf8(LabelWithNumber(table.Txt_Characters, counts.characters)));
    Lbl_3->setText(
        FromUtf8(LabelWithNumber(table.Txt_Max_Chars, LongestLineLength(DocumentLines))));
}

}  // namespace quillex
