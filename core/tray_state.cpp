#include "core/tray_state.h"

namespace quillex {

TrayStep TrayState::Minimize(bool trayAvailable) {
    if (place_ == TrayPlace::InTray) {
        return TrayStep::None;
    }
    if (!trayAvailable) {
        return TrayStep::MinimizeNormally;
    }
    place_ = TrayPlace::InTray;
    return TrayStep::HideToTray;
}

TrayStep TrayState::Restore() {
    if (place_ == TrayPlace::Shown) {
        return TrayStep::None;
    }
    place_ = TrayPlace::Shown;
    return TrayStep::RestoreFromTray;
}

}  // namespace quillex
