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

void MainWindow::LoadSettings() {
    settings_ = LoadMainSettings(store_);
}

void MainWindow::SaveSettings() {
    SaveMainSettings(store_, settings_);
}

void MainWindow::ApplyHintSetting() {
    // Hints are switched off by swallowing every tooltip event of the application.
    qApp->removeEventFilter(this);
    if (!settings_.HintShow) {
        qApp->installEventFilter(this);
        QToolTip::hideText();
    }
}

void MainWindow::ToggleHints() {
    ToggleHintShow(settings_);
    ApplyHintSetting();
}

void MainWindow::ToggleMinimiseAtStart() {
    ToggleMin_FormShow(settings_);
}

void MainWindow::BuildTray() {
    tray_ = new quillex::TrayIcon(TrayPicture(), this);
    trayMenu_ = new TitledMenu(this);
    trayMenu_->SetStripTitle(QStringLiteral("Quillex"));
    trayMenu_->setToolTipsVisible(true);
    trayWebPageItem_ = trayMenu_->addAction(QString());
    trayExitItem_ = trayMenu_->addAction(QString());
    connect(trayWebPageItem_, &QAction::triggered, this,
            Guarded(report_, this, &MainWindow::OpenWebPage));
    connect(trayExitItem_, &QAction::triggered, this,
            Guarded(report_, this, &MainWindow::CloseWindow));
    tray_->SetMenu(trayMenu_);
    connect(tray_, &TrayIcon::doubleClicked, this,
            Guarded(report_, this, &MainWindow::RestoreFromTray));
#if !defined(Q_OS_WIN)
    // Tray hosts that speak the StatusNotifierItem protocol report no double-click at all;
    // without this the hidden window could not be brought back there.
    connect(tray_, &TrayIcon::clicked, this, Guarded(report_, this, &MainWindow::RestoreFromTray));
#endif
}

void MainWindow::Minimise() {
    ApplyTrayStep(trayState_.Minimize(trayAvailable_ && trayAvailable_()), *this, *tray_);
}

void MainWindow::RestoreFromTray() {
    ApplyTrayStep(trayState_.Restore(), *this, *tray_);
}

void MainWindow::OpenWebPage() {
    if (const std::optional<ShellTarget> target = WebPageTarget(LanguageIndex())) {
        shell_.Open(*target);
    }
}

void MainWindow::OpenHelpFile() {
    if (const std::optional<ShellTarget> target = HelpFileTarget(LanguageIndex(), helpFolder_)) {
        shell_.Open(*target);
    }
}

}  // namespace quillex
