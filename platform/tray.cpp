#include "platform/tray.h"

#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace quillex {

TrayIcon::TrayIcon(const QPixmap& picture, QObject* parent)
    : QObject(parent), icon_(new QSystemTrayIcon(this)) {
    icon_->setIcon(
        QIcon(picture.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    icon_->setToolTip(QString::fromLatin1(kToolTip));
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                switch (reason) {
                    case QSystemTrayIcon::DoubleClick:
                        emit doubleClicked();
                        break;
                    case QSystemTrayIcon::Trigger:
                        emit clicked();
                        break;
                    case QSystemTrayIcon::Context:
                        PopUpMenu();
                        break;
                    default:
                        break;
                }
            });
}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::IsAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::SetMenu(QMenu* menu) {
    menu_ = menu;
}

void TrayIcon::Show() {
    icon_->show();
}

void TrayIcon::Hide() {
    icon_->hide();
}

bool TrayIcon::IsShown() const {
    return icon_->isVisible();
}

void TrayIcon::PopUpMenu() {
    if (menu_ == nullptr) {
        return;
    }
    // A popup grabs the pointer, so a click elsewhere closes it even while the window is hidden.
    menu_->popup(QCursor::pos());
}

void ApplyTrayStep(TrayStep step, QWidget& window, TrayIcon& icon) {
    switch (step) {
        case TrayStep::None:
            break;
        case TrayStep::HideToTray:
            icon.Show();
            window.hide();  // a hidden top-level window has no taskbar entry either
            break;
        case TrayStep::MinimizeNormally:
            window.showMinimized();
            break;
        case TrayStep::RestoreFromTray:
            window.show();
            window.raise();
            window.activateWindow();
            icon.Hide();
            break;
    }
}

}  // namespace quillex
