#pragma once

#include <QCursor>
#include <QPoint>

namespace quillex {

// Where the mouse cursor is, in screen coordinates. The work timer polls it; tests give
// positions of their own.
class CursorSource {
  public:
    virtual ~CursorSource() = default;
    virtual QPoint Position() const = 0;
};

class SystemCursor final : public CursorSource {
  public:
    QPoint Position() const override { return QCursor::pos(); }
};

}  // namespace quillex
