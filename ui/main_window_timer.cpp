// Main window: the 100 ms work timer.
#include <QLabel>
#include <QPalette>

#include "platform/cursor.h"
#include "ui/image_button.h"
#include "ui/main_window.h"

namespace quillex {

namespace {

QColor ToQColor(LabelColour colour) {
    switch (colour) {
        case LabelColour::Black:
            return QColor(0, 0, 0);
        case LabelColour::Green:
            return QColor(0, 128, 0);
        case LabelColour::Grey:
            break;
    }
    return QColor(128, 128, 128);
}

}  // namespace

bool TfmMain::Hover(const QWidget& control, QPoint cursor) const {
    const QRect window = geometry();
    return HoverTest(isVisible(), {window.x(), window.y()},
                     {control.x(), control.y(), control.width(), control.height()},
                     {cursor.x(), cursor.y()});
}

void TfmMain::ColourLanguageLabel(QLabel& label, int language, bool hovered) {
    const QColor colour = ToQColor(LanguageLabelColour(language, LanguageIndex(), hovered));
    if (label.palette().color(QPalette::WindowText) == colour) {
        return;
    }
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

void TfmMain::Timer_WorkTimer() {
    if (AutoMinimize.Tick(isActiveWindow(), Settings.Min_FormShow)) {
        Sb_MinClick();
    }
    const QPoint cursor = cursor_.Position();
    Sb_Close->SetImageIndex(ButtonImageIndex(0, Hover(*Sb_Close, cursor)));
    Btn_Load_File->SetImageIndex(ButtonImageIndex(2, Hover(*Btn_Load_File, cursor)));
    Btn_Save_File->SetImageIndex(ButtonImageIndex(4, Hover(*Btn_Save_File, cursor)));
    ColourLanguageLabel(*Lbl_Lang0, kLanguageEnglish, Hover(*Lbl_Lang0, cursor));
    ColourLanguageLabel(*Lbl_Lang1, kLanguageRussian, Hover(*Lbl_Lang1, cursor));
}

}  // namespace quillex
