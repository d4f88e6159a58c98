#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/shell_target.h"
#include "platform/cursor.h"
#include "platform/qsettings_store.h"
#include "platform/shell.h"
#include "platform/stop_signals.h"
#include "platform/tray.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/reporting_application.h"
#include "ui/skin.h"
#include "ui/splash_window.h"
#include "ui/text_bridge.h"

namespace {

// Without a display Qt aborts with a long message; say plainly what is missing instead.
bool HasDisplay() {
#if defined(Q_OS_LINUX)
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
           std::getenv("QT_QPA_PLATFORM") != nullptr;
#else
    return true;
#endif
}

// Hints: a flat pale-yellow box with a dark blue border.
constexpr const char* kHintStyle =
    "QToolTip { background-color: rgb(255, 255, 202); color: black;"
    " border: 1px solid rgb(16, 80, 141); font-family: 'MS Sans Serif', sans-serif;"
    " font-size: 8pt; }";

// On a screen too small for the window at its scale (200 % on 1280 x 1024) the program takes
// a smaller scale, so that the whole window fits. Qt reads the scale only as an application
// starts: a first, bare one measures the screen.
void FitScaleToScreen(int argc, char** argv) {
    double scale = 1.0;
    {
        // On copies of the arguments: an application takes out the ones meant for Qt, which
        // the real one must see too.
        std::vector<char*> arguments(argv, argv + argc);
        arguments.push_back(nullptr);
        QGuiApplication probe(argc, arguments.data());
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            scale = quillex::MainWindow::ScaleToFit(*screen);
        }
    }
    if (scale < 1.0) {
        bool given = false;
        const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&given);
        qputenv("QT_SCALE_FACTOR",
                QByteArray::number((given && factor > 0 ? factor : 1.0) * scale));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!HasDisplay()) {
        std::fputs(
            "Quillex needs a graphical display; without one, run it as: xvfb-run -a "
            "./build/app/Quillex\n",
            stderr);
        return 1;
    }
    FitScaleToScreen(argc, argv);
    // An error that a handler does not catch itself is reported there and the program goes on.
    quillex::ReportingApplication app(argc, argv);
    quillex::InitSkinResources();
    // The title of the taskbar entry and of every message box.
    const QString title = QApplication::applicationName();
    QApplication::setWindowIcon(quillex::WindowIcon());
    app.setStyleSheet(QString::fromLatin1(kHintStyle));

    quillex::QtDialogs dialogs(title);
    quillex::SystemCursor cursor;
    quillex::QSettingsStore settings;
    quillex::DesktopShell shell;
    // Created in this order and destroyed in the reverse one, which writes the settings.
    quillex::MainWindow mainWindow({.dialogs = dialogs,
                                    .cursor = cursor,
                                    .report = app.Report(),
                                    .settings = settings,
                                    .shell = shell,
                                    .trayAvailable = &quillex::TrayIcon::IsAvailable,
                                    .helpFolder = quillex::HelpFolder(
                                        quillex::ToPath(QCoreApplication::applicationDirPath()))});
    quillex::SplashWindow splash(settings);
    quillex::HelpWindow help;
    mainWindow.Attach(splash, help);
    dialogs.SetParent(&mainWindow);
    mainWindow.setWindowTitle(title);
    // The program ends when the main window closes, whether shown or in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&mainWindow, &quillex::MainWindow::Closed, &app, &QCoreApplication::quit);
    // A logout or `kill` ends the program as Exit does, so that nothing is left behind.
    quillex::StopSignals stopSignals;
    QObject::connect(&stopSignals, &quillex::StopSignals::Received, &mainWindow,
                     &quillex::MainWindow::CloseWindow);
    // Shown first: the splash runs, and only then the file named on the command line loads.
    mainWindow.show();
    mainWindow.LoadStartFile(QCoreApplication::arguments());
    return app.exec();
}
