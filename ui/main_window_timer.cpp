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

bool MainWindow::Hover(const QWidget& control, QPoint cursor) const {
    const QRect window = geometry();
    return HoverTest(isVisible(), {window.x(), window.y()},
                     {control.x(), control.y(), control.width(), control.height()},
                     {cursor.x(), cursor.y()});
}

void MainWindow::ColourLanguageLabel(QLabel& label, int language, bool hovered) {
    const QColor colour = ToQColor(LanguageLabelColour(language, LanguageIndex(), hovered));
    if (label.palette().color(QPalette::WindowText) == colour) {
        return;
    }
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

void MainWindow::OnWorkTimer() {
    if (autoMinimise_.Tick(isActiveWindow(), settings_.Min_FormShow)) {
        Minimise();
    }
    const QPoint cursor = cursor_.Position();
    closeButton_->SetImageIndex(ButtonImageIndex(0, Hover(*closeButton_, cursor)));
    openButton_->SetImageIndex(ButtonImageIndex(2, Hover(*openButton_, cursor)));
    saveButton_->SetImageIndex(ButtonImageIndex(4, Hover(*saveButton_, cursor)));
    ColourLanguageLabel(*englishLabel_, kLanguageEnglish, Hover(*englishLabel_, cursor));
    ColourLanguageLabel(*russianLabel_, kLanguageRussian, Hover(*russianLabel_, cursor));
}

}  // namespace quillex
