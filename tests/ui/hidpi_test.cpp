// ctest runs these a second time at QT_SCALE_FACTOR=2: on a 200 % screen the skin must carry
// twice the pixels (drawn sharp, not blown up) while every control keeps its place.
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

#include "ui/image_button.h"
#include "ui/main_layout.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

using HiDpi = MainWindowTest;

TEST_F(HiDpi, SkinButtonsAndSplashAreDrawnAtTheScreenRatio) {
    const qreal ratio = qGuiApp->devicePixelRatio();
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == QStringLiteral("2")) {
        ASSERT_EQ(ratio, 2.0);
    }
    struct Picture {
        const char* name;
        QPixmap pixmap;
        QSize size;
    };
    for (const Picture& p :
         {Picture{"load button", mainWindow.ButtonImages()[2], layout::kBtn_Load_File.size()},
          Picture{"close button", mainWindow.ButtonImages()[0], layout::kSb_Close.size()},
          Picture{"view frame", Child<QLabel>(mainWindow, "Image1")->pixmap(),
                  layout::kImage1.size()},
          Picture{"splash", Child<QLabel>(splash, "Img_Logo")->pixmap(), splash.size()}}) {
        EXPECT_EQ(p.pixmap.devicePixelRatio(), ratio) << p.name;
        EXPECT_EQ(p.pixmap.size(), p.size * ratio) << p.name;
    }
    mainWindow.show();
    EXPECT_EQ(mainWindow.size(), QSize(MainWindow::kWidth, MainWindow::kHeight));
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Btn_Load_File")->geometry(), layout::kBtn_Load_File);
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Btn_Load_File")->sizeHint(),
              layout::kBtn_Load_File.size());
    EXPECT_EQ(mainWindow.grab().size(), QSize(MainWindow::kWidth, MainWindow::kHeight) * ratio);
}

// ctest runs this once more at QT_SCALE_FACTOR=2 on a 1280 x 1024 screen, 640 x 512 in the
// window's pixels: the window is placed with its top-left corner on the screen, and the scale
// the program takes at its start makes the whole window fit.
TEST_F(HiDpi, TheWindowStaysOnTheScreenAndTheScaleFitsIt) {
    mainWindow.show();
    const QScreen& screen = *QGuiApplication::primaryScreen();
    const QRect free = screen.availableGeometry();
    if (qEnvironmentVariable("QT_QPA_PLATFORM").contains(QStringLiteral("1280x1024"))) {
        ASSERT_EQ(screen.size(), QSize(640, 512));
    }
    EXPECT_TRUE(free.contains(mainWindow.geometry().topLeft())) << mainWindow.x();
    const double scale = MainWindow::ScaleToFit(screen);
    if (free.contains(QRect(free.topLeft(), mainWindow.size()))) {
        EXPECT_EQ(scale, 1.0);
    } else {
        EXPECT_LT(scale, 1.0);
        EXPECT_LE(MainWindow::kWidth * scale, free.width());
        EXPECT_LE(MainWindow::kHeight * scale, free.height());
    }
}

}  // namespace
}  // namespace quillex::testing
