#include "ui/titled_menu.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "core/window_logic.h"

namespace quillex {

namespace {

constexpr int kTitleMargin = 6;  // between the title and either end of the strip

QFont StripFont() {
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(12);
    font.setBold(true);
    return font;
}

}  // namespace

TitledMenu::TitledMenu(QWidget* parent) : QMenu(parent) {
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(12);
    setFont(font);
    // The items are laid out to the right of the strip.
    setContentsMargins(kStripWidth, 0, 0, 0);
}

void TitledMenu::SetStripTitle(const QString& title) {
    title_ = title;
    update();
}

QSize TitledMenu::sizeHint() const {
    QSize size = QMenu::sizeHint();
    const int titleLength = QFontMetrics(StripFont()).horizontalAdvance(title_);
    size.setHeight(std::max(size.height(), titleLength + 2 * kTitleMargin));
    return size;
}

void TitledMenu::paintEvent(QPaintEvent* event) {
    QMenu::paintEvent(event);
    QPainter painter(this);
    const int height = this->height();
    constexpr Rgb kBottom{2, 61, 125};
    constexpr Rgb kTop{55, 190, 255};
    for (int step = 0; step < kGradientSteps; ++step) {
        // Band 0 at the bottom; the bands share the height without gaps.
        const int bottom = height - height * step / kGradientSteps;
        const int top = height - height * (step + 1) / kGradientSteps;
        const Rgb colour = GradientStep(kBottom, kTop, step, kGradientSteps);
        painter.fillRect(0, top, kStripWidth, bottom - top, QColor(colour.r, colour.g, colour.b));
    }
    painter.setFont(StripFont());
    painter.setPen(QColor(215, 237, 255));
    painter.setRenderHint(QPainter::TextAntialiasing);
    // Turned to read upwards; after the turn x runs up the strip from its bottom.
    painter.translate(0, height);
    painter.rotate(-90);
    painter.drawText(QRect(kTitleMargin, 0, height - 2 * kTitleMargin, kStripWidth),
                     Qt::AlignLeft | Qt::AlignVCenter, title_);
}

}  // namespace quillex
