// Main window: settings and hints, the tray, the help file and the web page.
#include <QAction>
#include <QApplication>
#include <QToolTip>

#include "core/shell_target.h"
#include "platform/shell.h"
#include "platform/tray.h"
#include "ui/guarded.h"
#include "ui/main_window.h"
#include "ui/skin.h"
#include "ui/titled_menu.h"

namespace quillex {

void TfmMain::LoadSettings() {
    Settings = LoadMainSettings(store_);
}

void TfmMain::SaveSettings() {
    SaveMainSettings(store_, Settings);
}

void TfmMain::ApplyHintShow() {
    // Hints are switched off by swallowing every tooltip event of the application.
    qApp->removeEventFilter(this);
    if (!Settings.HintShow) {
        qApp->installEventFilter(this);
        QToolTip::hideText();
    }
}

void TfmMain::Cb_HintShowClick() {
    ToggleHintShow(Settings);
    ApplyHintShow();
}

void TfmMain::Cb_Min_FormShowClick() {
    ToggleMin_FormShow(Settings);
}

void TfmMain::BuildTray() {
    Tray = new quillex::TrayIcon(TrayPicture(), this);
    Menu_Tray = new TitledMenu(this);
    Menu_Tray->SetStripTitle(QStringLiteral("Quillex"));
    Menu_Tray->setToolTipsVisible(true);
    TrayMenu_3 = Menu_Tray->addAction(QString());
    TrayMenu_4 = Menu_Tray->addAction(QString());
    connect(TrayMenu_3, &QAction::triggered, this,
            Guarded(report_, this, &TfmMain::TrayMenu_3Click));
    connect(TrayMenu_4, &QAction::triggered, this,
            Guarded(report_, this, &TfmMain::TrayMenu_4Click));
    Tray->SetMenu(Menu_Tray);
    connect(Tray, &TrayIcon::doubleClicked, this,
            Guarded(report_, this, &TfmMain::TrayIconDblClick));
#if !defined(Q_OS_WIN)
    // Tray hosts that speak the StatusNotifierItem protocol report no double-click at all;
    // without this the hidden window could not be brought back there.
    connect(Tray, &TrayIcon::clicked, this, Guarded(report_, this, &TfmMain::TrayIconDblClick));
#endif
}

void TfmMain::Sb_MinClick() {
    ApplyTrayStep(trayState_.Minimize(trayAvailable_ && trayAvailable_()), *this, *Tray);
}

void TfmMain::TrayIconDblClick() {
    ApplyTrayStep(trayState_.Restore(), *this, *Tray);
}

void TfmMain::Sb_InternetClick() {
    if (const std::optional<ShellTarget> target = WebPageTarget(LanguageIndex())) {
        shell_.Open(*target);
    }
}

void TfmMain::Sb_HelpClick() {
    if (const std::optional<ShellTarget> target = HelpFileTarget(LanguageIndex(), helpFolder_)) {
        shell_.Open(*target);
    }
}

}  // namespace quillex
