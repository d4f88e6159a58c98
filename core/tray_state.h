#pragma once

namespace quillex {

// Where the main window is for the tray: shown (tray icon inactive) or in the tray (window and
// taskbar entry hidden, tray icon active).
enum class TrayPlace { Shown, InTray };

// What the window has to do for one step.
enum class TrayStep {
    None,
    // Sb_MinClick: show the tray icon, then hide the window with its taskbar entry.
    HideToTray,
    // Sb_MinClick on a desktop without a tray: hiding would lose the window, so minimise it
    // to the taskbar the ordinary way and keep the icon inactive.
    MinimizeNormally,
    // TrayIconDblClick: show the window again (its show sequence runs), then remove the icon.
    RestoreFromTray,
};

class TrayState {
  public:
    TrayPlace place() const { return place_; }

    // Minimise to the tray. Already in the tray: nothing.
    TrayStep Minimize(bool trayAvailable);
    // Back from the tray. Already shown: nothing, since no icon could have been clicked.
    TrayStep Restore();

  private:
    TrayPlace place_ = TrayPlace::Shown;
};

}  // namespace quillex
