#pragma once

#include <QMenu>
#include <QString>

namespace quillex {

// A popup menu in Verdana 12 px with a vertical title strip along its left edge: a 64-step gradient
// from RGB(2, 61, 125) at the bottom to RGB(55, 190, 255) at the top, carrying the title turned by
// 90 degrees in Verdana bold 12 px, RGB(215, 237, 255), aligned to the strip's bottom.
class TitledMenu : public QMenu {
    Q_OBJECT

  public:
    static constexpr int kStripWidth = 22;
    static constexpr int kGradientSteps = 64;

    explicit TitledMenu(QWidget* parent = nullptr);

    void SetStripTitle(const QString& title);
    const QString& StripTitle() const noexcept { return title_; }

    // Tall enough for the whole title along the strip, however few the items.
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString title_;
};

}  // namespace quillex
