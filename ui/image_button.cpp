#include "ui/image_button.h"

#include <QFont>
#include <QKeyEvent>
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
    // A disabled button fades into the skin; a pressed one sinks by one pixel.
    if (!isEnabled()) {
        painter.setOpacity(0.4);
    }
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
    if (hasFocus()) {
        // Inside the pictures' rounded body (1 px in from the left, top and right, 3 px up
        // from the bottom, where its shadow lies), in the white of the captions.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(255, 255, 255, 210), 1.5, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(3.5, 3.5, -3.5, -5.5).translated(offset), 7,
                                7);
    }
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

}  // namespace quillex
