#include "ui/image_button.h"

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

QSize ImageButton::sizeHint() const {
    return (index_ >= 0 && index_ < pictures_.size()) ? pictures_[index_].size() : QSize();
}

void ImageButton::paintEvent(QPaintEvent*) {
    if (index_ < 0 || index_ >= pictures_.size()) {
        return;
    }
    QPainter painter(this);
    // A pressed button sinks by one pixel.
    const QPoint offset = isDown() ? QPoint(1, 1) : QPoint();
    painter.drawPixmap(offset, pictures_[index_]);
}

}  // namespace quillex
