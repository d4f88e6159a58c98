#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "ui/main_window.h"

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

}  // namespace

int main(int argc, char* argv[]) {
    if (!HasDisplay()) {
        std::fputs(
            "Quillex needs a graphical display; without one, run it as: xvfb-run -a "
            "./build/app/Quillex\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    quillex::TfmMain fmMain;
    fmMain.show();
    return app.exec();
}
