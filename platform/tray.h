#pragma once

#include <QObject>
#include <QPixmap>

#include "core/tray_state.h"

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace quillex {

// The main window's tray icon: a 32 x 32 picture of its own (not the window's icon) with the hint
// "Quillex", absent from the tray until shown. The menu is the caller's (its items' captions follow
// the language), and is popped up by hand at the cursor rather than handed to the platform, so that
// it keeps the look it draws itself.
class TrayIcon : public QObject {
    Q_OBJECT

  public:
    static constexpr int kIconSize = 32;
    static constexpr const char* kToolTip = "Quillex";

    explicit TrayIcon(const QPixmap& picture, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Whether the desktop has a tray at all; without one a hidden window could not come back.
    static bool IsAvailable();

    // Not owned; nullptr for no menu.
    void SetMenu(QMenu* menu);
    QMenu* Menu() const { return menu_; }

    void Show();
    void Hide();
    bool IsShown() const;

  signals:
    // A double-click with the left button.
    void doubleClicked();
    // A single left click. Tray hosts that speak the StatusNotifierItem protocol send no
    // double-click, only this.
    void clicked();

  private:
    void PopUpMenu();

    QSystemTrayIcon* icon_;  // owned as a child
    QMenu* menu_ = nullptr;
};

// Carries out one step of TrayState on the main window and its tray icon, in the order the
// step names: to the tray the icon appears before the window goes; back from it the window
// returns (its show sequence runs) before the icon goes.
void ApplyTrayStep(TrayStep step, QWidget& window, TrayIcon& icon);

}  // namespace quillex
