#pragma once

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace quillex {

// Lets the window manager move a borderless window as if its title bar had been grabbed,
// when the left button is among the pressed ones. Returns whether a move started.
inline bool StartWindowMove(QWidget& window, const QMouseEvent& press) {
    if (!(press.buttons() & Qt::LeftButton)) {
        return false;
    }
    QWindow* handle = window.window()->windowHandle();
    return handle != nullptr && handle->startSystemMove();
}

}  // namespace quillex
