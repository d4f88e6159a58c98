#pragma once

#include <QAbstractButton>
#include <QList>
#include <QPixmap>
#include <QRect>
#include <QString>

namespace quillex {

// A button drawn from one entry of a picture list; the work timer picks the entry. The button
// holds its own copy of the list (the pictures themselves are shared, not copied), so that
// it never reaches into a list destroyed before it. It takes no focus unless its owner gives
// it a focus policy; then it shows the focus by a light ring inside its edge. Disabled, it is
// drawn faded.
class ImageButton : public QAbstractButton {
    Q_OBJECT

  public:
    ImageButton(QList<QPixmap> pictures, int index, QWidget* parent = nullptr);

    // Showing the entry already shown changes nothing and repaints nothing.
    void SetImageIndex(int index);
    int ImageIndex() const noexcept { return index_; }
    // How many times the picture has been switched; lets tests see that no switch happened.
    int PictureChanges() const noexcept { return changes_; }

    // A text drawn over every picture, centred in `area`, so that the pictures need no words
    // of any one language.
    void SetCaption(const QString& caption, const QRect& area);
    QString Caption() const { return caption_; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter and Return press the focused button as Space does.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    const QList<QPixmap> pictures_;
    int index_;
    int changes_ = 0;
    QString caption_;
    QRect captionArea_;
};

}  // namespace quillex
