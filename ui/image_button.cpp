#include "ui/image_button.h"

#include <QFont>
#include <QPainter>

namespace quillex {

ImageButton::ImageButton(QList<QPixmap> pictures, int index, QWidget* parent)
    : QAbstractButton(parent), pictures_(std::move(pictures)), index_(index) {
    setFocusPolicy(Qt::NoFocus);
}

void ImageButton::SetImageIndex(int index) {
    if (index == index_) {
        return;
    }
    index_ = index;
    ++changes_;
    update();
}

void ImageButton::SetCaption(const QString& caption, const QRect& area) {
    caption_ = caption;
    captionArea_ = area;
    update();
}

QSize ImageButton::sizeHint() const {
    return (index_ >= 0 && index_ < pictures_.size())
               ? pictures_[index_].deviceIndependentSize().toSize()
               : QSize();
}

void ImageButton::paintEvent(QPaintEvent*) {
    if (index_ < 0 || index_ >= pictures_.size()) {
        return;
    }
    QPainter painter(this);
    // A pressed button sinks by one pixel.
    const QPoint offset = isDown() ? QPoint(1, 1) : QPoint();
    painter.drawPixmap(offset, pictures_[index_]);
    if (!caption_.isEmpty()) {
        QFont font(QStringLiteral("Verdana"));
        font.setStyleHint(QFont::SansSerif);
        font.setBold(true);
        font.setPixelSize(15);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(captionArea_.translated(offset), Qt::AlignCenter, caption_);
    }
}

}  // namespace quillex
