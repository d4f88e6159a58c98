#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QSignalSpy>

#include <memory>

#include "core/window_logic.h"
#include "ui/image_button.h"
#include "ui/main_layout.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

class ShownWindowTest : public MainWindowTest {
  protected:
    ShownWindowTest() { mainWindow.show(); }

    // A point relative to the main window, on the screen.
    QPoint At(int x, int y) const { return mainWindow.geometry().topLeft() + QPoint(x, y); }
};

TEST_F(ShownWindowTest, ShowsAtTheTopCentreWithTheLayoutBounds) {
    const int desktop = QGuiApplication::primaryScreen()->virtualGeometry().width();
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    // Never off the screen, at the top centre where the window fits.
    EXPECT_TRUE(free.contains(mainWindow.geometry().topLeft()));
    if (free.width() >= 802 && free.height() >= 612) {
        EXPECT_EQ(mainWindow.geometry().topLeft(), QPoint(CentredLeft(desktop, 802), 10));
    }
    EXPECT_EQ(mainWindow.size(), QSize(802, 602));
    EXPECT_EQ(mainWindow.mask(), layout::WindowRegion());
    EXPECT_FALSE(mainWindow.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(mainWindow.mask().contains(QPoint(4, 1)));
    EXPECT_TRUE(mainWindow.mask().contains(QPoint(5, 1)));
    EXPECT_TRUE(mainWindow.mask().contains(QPoint(1, 5)));
    EXPECT_FALSE(mainWindow.mask().contains(QPoint(801, 100)));
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Sb_Close")->geometry(), layout::kSb_Close);
    EXPECT_EQ(Child<QPlainTextEdit>(mainWindow, "RichEdit_Text")->geometry(),
              layout::kRichEdit_Text);
    EXPECT_EQ(Child<QLabel>(mainWindow, "Image1")->geometry(), layout::kImage1);
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Btn_Load_File")->geometry(), layout::kBtn_Load_File);
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Btn_Save_File")->geometry(), layout::kBtn_Save_File);
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Load_File")->geometry(), layout::kEdit_Load_File);
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Save_File")->geometry(), layout::kEdit_Save_File);
    // The focus sink is parked below the window's bottom edge.
    EXPECT_GT(Child<QLineEdit>(mainWindow, "Edit_Focus")->y(), MainWindow::kHeight);
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "Lines: 0");
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Sb_Close")->toolTip(), "Exit");
}

// The rounded shape and the skin's outline close at the bottom as at the top: the shape lies
// inside the window, and the bottom row of the shape is the outline, darker than the body.
TEST_F(ShownWindowTest, TheShapeAndTheOutlineCloseTheBottomEdge) {
    const QRect shape = layout::WindowRegion().boundingRect();
    EXPECT_TRUE(mainWindow.rect().contains(shape));
    const QImage picture = mainWindow.grab().toImage();
    const int middle = shape.center().x();
    EXPECT_LT(picture.pixelColor(middle, shape.bottom()).lightness() + 40,
              picture.pixelColor(middle, shape.bottom() - 3).lightness());
}

TEST_F(ShownWindowTest, HoverSwitchesPicturesOnlyInsideTheStrictBounds) {
    const QRect load = layout::kBtn_Load_File;
    struct Case {
        QPoint at;
        int load;
    };
    const Case cases[] = {
        {At(load.left(), load.top() + 10), 2},       // left-most column
        {At(load.left() + 1, load.top() + 10), 3},   // one pixel inside
        {At(load.left() + 10, load.top()), 2},       // top-most row
        {At(load.left() + 10, load.top() + 1), 3},   // one pixel inside
        {At(load.right(), load.bottom()), 3},        // right-most column, bottom row
        {At(load.right() + 1, load.top() + 10), 2},  // just outside
    };
    for (const Case& c : cases) {
        cursor.at = c.at;
        mainWindow.OnWorkTimer();
        EXPECT_EQ(Child<ImageButton>(mainWindow, "Btn_Load_File")->ImageIndex(), c.load)
            << c.at.x() << "," << c.at.y();
        EXPECT_EQ(Child<ImageButton>(mainWindow, "Btn_Save_File")->ImageIndex(), 4);
        EXPECT_EQ(Child<ImageButton>(mainWindow, "Sb_Close")->ImageIndex(), 0);
    }
    cursor.at = At(layout::kSb_Close.center().x(), layout::kSb_Close.center().y());
    mainWindow.OnWorkTimer();
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Sb_Close")->ImageIndex(), 1);
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Btn_Load_File")->ImageIndex(), 2);
    cursor.at = At(layout::kBtn_Save_File.center().x(), layout::kBtn_Save_File.center().y());
    mainWindow.OnWorkTimer();
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Btn_Save_File")->ImageIndex(), 5);
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Sb_Close")->ImageIndex(), 0);
}

TEST_F(ShownWindowTest, UnchangedIndexIsNotSwitchedAgain) {
    cursor.at = At(layout::kBtn_Load_File.center().x(), layout::kBtn_Load_File.center().y());
    mainWindow.OnWorkTimer();
    const int changes = Child<ImageButton>(mainWindow, "Btn_Load_File")->PictureChanges();
    const int closeChanges = Child<ImageButton>(mainWindow, "Sb_Close")->PictureChanges();
    for (int i = 0; i < 5; ++i) {
        mainWindow.OnWorkTimer();
    }
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Btn_Load_File")->PictureChanges(), changes);
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Sb_Close")->PictureChanges(), closeChanges);
}

TEST_F(ShownWindowTest, LanguageLabelsAreColouredEveryTick) {
    auto colour = [](const QLabel* label) { return label->palette().color(QPalette::WindowText); };
    const QColor green(0, 128, 0), grey(128, 128, 128), black(0, 0, 0);
    mainWindow.OnWorkTimer();
    EXPECT_EQ(colour(Child<QLabel>(mainWindow, "Lbl_Lang0")), green);
    EXPECT_EQ(colour(Child<QLabel>(mainWindow, "Lbl_Lang1")), grey);
    cursor.at = At(layout::kLbl_Lang1.center().x(), layout::kLbl_Lang1.center().y());
    mainWindow.OnWorkTimer();
    EXPECT_EQ(colour(Child<QLabel>(mainWindow, "Lbl_Lang1")), black);
    mainWindow.SwitchToRussian();
    mainWindow.OnWorkTimer();
    EXPECT_EQ(colour(Child<QLabel>(mainWindow, "Lbl_Lang1")), green);
    EXPECT_EQ(colour(Child<QLabel>(mainWindow, "Lbl_Lang0")), grey);
}

TEST_F(ShownWindowTest, HiddenWindowShowsNormalPictures) {
    cursor.at = At(layout::kBtn_Load_File.center().x(), layout::kBtn_Load_File.center().y());
    mainWindow.OnWorkTimer();
    ASSERT_EQ(Child<ImageButton>(mainWindow, "Btn_Load_File")->ImageIndex(), 3);
    mainWindow.hide();
    mainWindow.OnWorkTimer();
    EXPECT_EQ(Child<ImageButton>(mainWindow, "Btn_Load_File")->ImageIndex(), 2);
}

TEST_F(ShownWindowTest, ShowingAgainRunsTheShowSequenceWithoutTheSplash) {
    mainWindow.ShowProgress(5);
    mainWindow.move(300, 300);
    mainWindow.hide();
    mainWindow.show();
    EXPECT_EQ(mainWindow.y(), 10);
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Work")->text(),
              "Lines processed: ");  // the bare prefix again
    EXPECT_EQ(splash.Schedule().tick(), 0);
}

TEST_F(ShownWindowTest, CloseButtonClosesTheWindow) {
    Child<ImageButton>(mainWindow, "Sb_Close")->click();
    EXPECT_FALSE(mainWindow.isVisible());
}

TEST(Splash, TickScheduleDrivesGaugeAndPictures) {
    MemorySettingsStore store;
    SplashWindow logo(store);
    QSignalSpy closed(&logo, &SplashWindow::Closed);
    logo.PrepareShowing();
    logo.show();
    EXPECT_EQ(logo.size(), QSize(400, 300));
    EXPECT_EQ(logo.y(), 200);
    EXPECT_EQ(Child<QProgressBar>(logo, "Ind_Load")->geometry(), QRect(256, 18, 140, 15));
    EXPECT_FALSE(Child<QLabel>(logo, "Img_Load")->isHidden());
    EXPECT_TRUE(Child<QLabel>(logo, "Img_Done")->isHidden());
    EXPECT_TRUE(logo.TimerActive());
    for (int tick = 1; tick <= 19; ++tick) {
        logo.OnWorkTimer();
    }
    EXPECT_TRUE(Child<QLabel>(logo, "Img_Done")->isHidden());
    logo.OnWorkTimer();  // 20
    EXPECT_TRUE(Child<QLabel>(logo, "Img_Load")->isHidden());
    EXPECT_FALSE(Child<QLabel>(logo, "Img_Done")->isHidden());
    logo.OnWorkTimer();  // 21
    EXPECT_EQ(Child<QProgressBar>(logo, "Ind_Load")->value(), 99);
    for (int tick = 22; tick <= 30; ++tick) {
        logo.OnWorkTimer();
    }
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(Child<QProgressBar>(logo, "Ind_Load")->value(), 99);
    logo.OnWorkTimer();  // 31
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(logo.isVisible());
    EXPECT_FALSE(logo.TimerActive());
}

TEST_F(MainWindowTest, ClosingTheSplashMarksItShown) {
    mainWindow.SetSplashShown(false);
    splash.close();
    EXPECT_TRUE(mainWindow.SplashShown());
}

TEST(Lifecycle, MainWindowOutlivesItsCompanionsSafely) {
    FakeServices services;
    MainWindow mainWindow(services.Services());
    {
        SplashWindow splash(services.settings);
        HelpWindow help;
        mainWindow.Attach(splash, help);
        mainWindow.SwitchToRussian();
        EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), QString::fromUtf8("Строк: 0"));
    }
    // The view still changes while the main window is destroyed last.
    mainWindow.Document().Add("x");
    mainWindow.RefreshView();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "1");
}

// The window's picture list goes before its buttons do; a button must not reach into it.
TEST(Lifecycle, AnImageButtonKeepsItsPicturesWhenTheListIsGone) {
    auto pictures = std::make_unique<QList<QPixmap>>(QList<QPixmap>{QPixmap(10, 12)});
    ImageButton button(*pictures, 0);
    pictures.reset();
    EXPECT_EQ(button.sizeHint(), QSize(10, 12));
    button.grab();  // paints
}

}  // namespace
}  // namespace quillex::testing
