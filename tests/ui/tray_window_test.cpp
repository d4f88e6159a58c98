// The tray, the deferred auto-minimise and the shell commands, through the main window.
#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QToolButton>

#include "platform/tray.h"
#include "ui/image_button.h"
#include "ui/panels/function_panels.h"
#include "ui/titled_menu.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

class TrayTest : public MainWindowTest {
  protected:
    TrayTest() { mainWindow.show(); }

    bool IconShown() const { return Child<TrayIcon>(mainWindow, "Tray")->IsShown(); }
    QSystemTrayIcon& PlatformIcon() {
        return *Child<TrayIcon>(mainWindow, "Tray")->findChild<QSystemTrayIcon*>();
    }
    void Activate() {
        mainWindow.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    }
};

TEST_F(TrayTest, TheIconIsInactiveUntilTheFirstMinimise) {
    EXPECT_FALSE(IconShown());
    EXPECT_EQ(PlatformIcon().toolTip(), QStringLiteral("Quillex"));
    EXPECT_EQ(PlatformIcon().icon().availableSizes(), QList<QSize>{QSize(32, 32)});
}

TEST_F(TrayTest, MinimiseHidesTheWindowBehindTheIconAndDoubleClickBringsItBack) {
    // Function 5's panel and a progress number, at another place on the screen.
    QComboBox& chooser = *mainWindow.Panels().Controls().chooser;
    Pick(5);
    ASSERT_EQ(VisiblePanels(), std::vector<int>{5});
    mainWindow.ShowProgress(42);
    mainWindow.move(300, 300);

    mainWindow.Minimise();
    EXPECT_TRUE(mainWindow.InTray());
    EXPECT_TRUE(IconShown());
    EXPECT_FALSE(mainWindow.isVisible());

    emit PlatformIcon().activated(QSystemTrayIcon::DoubleClick);
    EXPECT_FALSE(mainWindow.InTray());
    EXPECT_FALSE(IconShown());
    EXPECT_TRUE(mainWindow.isVisible());
    // The show sequence ran again, without the splash.
    EXPECT_EQ(mainWindow.y(), 10);
    EXPECT_EQ(VisiblePanels(), std::vector<int>{0});
    EXPECT_EQ(chooser.currentIndex(), 5);
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Work")->text(), QStringLiteral("Lines processed: "));
    EXPECT_EQ(splash.Schedule().tick(), 0);

    // And again, through the parked button.
    Child<QToolButton>(mainWindow, "Sb_Min")->click();
    EXPECT_TRUE(IconShown());
    EXPECT_FALSE(mainWindow.isVisible());
    mainWindow.RestoreFromTray();
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST_F(TrayTest, WithoutATrayMinimiseKeepsTheWindowReachable) {
    trayAvailable = false;
    mainWindow.Minimise();
    EXPECT_FALSE(mainWindow.InTray());
    EXPECT_FALSE(IconShown());
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(mainWindow.isMinimized());
}

TEST_F(TrayTest, TheMenuCarriesTheTitleStripAndItsTwoItems) {
    ASSERT_EQ(Child<TrayIcon>(mainWindow, "Tray")->Menu(),
              Child<TitledMenu>(mainWindow, "Menu_Tray"));
    EXPECT_EQ(Child<TitledMenu>(mainWindow, "Menu_Tray")->StripTitle(), QStringLiteral("Quillex"));
    EXPECT_EQ(Child<TitledMenu>(mainWindow, "Menu_Tray")->actions(),
              (QList<QAction*>{Child<QAction>(mainWindow, "TrayMenu_3"),
                               Child<QAction>(mainWindow, "TrayMenu_4")}));
    EXPECT_TRUE(Child<TitledMenu>(mainWindow, "Menu_Tray")->toolTipsVisible());
    // Two items are not enough height for the title: the menu grows to show all of it.
    QFont strip(QStringLiteral("Verdana"));
    strip.setPixelSize(12);
    strip.setBold(true);
    EXPECT_GT(Child<TitledMenu>(mainWindow, "Menu_Tray")->sizeHint().height(),
              QFontMetrics(strip).horizontalAdvance(QStringLiteral("Quillex")));
    mainWindow.SwitchToRussian();
    EXPECT_EQ(Child<QAction>(mainWindow, "TrayMenu_3")->text(),
              QString::fromUtf8("Перейти на наш сайт"));
    EXPECT_EQ(Child<QAction>(mainWindow, "TrayMenu_4")->text(),
              QString::fromUtf8("Выйти из программы"));
}

TEST_F(TrayTest, TheWebsiteItemOpensTheWebPageOfTheLanguage) {
    mainWindow.Minimise();
    Child<QAction>(mainWindow, "TrayMenu_3")->trigger();
    mainWindow.SwitchToRussian();
    Child<QAction>(mainWindow, "TrayMenu_3")->trigger();
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(shell.opened[0], *WebPageTarget(0));
    EXPECT_EQ(shell.opened[1], *WebPageTarget(1));
    EXPECT_TRUE(mainWindow.InTray());  // the window stays where it was
}

TEST_F(TrayTest, TheExitItemClosesTheWindowFromTheTray) {
    QSignalSpy closed(&mainWindow, &MainWindow::Closed);
    mainWindow.Minimise();
    Child<QAction>(mainWindow, "TrayMenu_4")->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_TRUE(settings.writes.empty());  // the settings wait for the destruction
}

TEST_F(TrayTest, TheCloseButtonClosesTheShownWindow) {
    QSignalSpy closed(&mainWindow, &MainWindow::Closed);
    Child<ImageButton>(mainWindow, "Sb_Close")->click();
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(TrayTest, AutoMinimiseWaitsForTheActiveWindowAndHappensOncePerRun) {
    mainWindow.ToggleMinimiseAtStart();  // on: the store held nothing
    mainWindow.hide();
    mainWindow.OnWorkTimer();  // not active (the splash would be up): nothing yet
    EXPECT_FALSE(mainWindow.InTray());
    EXPECT_TRUE(mainWindow.AutoMinimisePending());

    mainWindow.show();
    Activate();
    mainWindow.OnWorkTimer();
    EXPECT_TRUE(mainWindow.InTray());
    EXPECT_TRUE(IconShown());
    EXPECT_FALSE(mainWindow.isVisible());

    mainWindow.RestoreFromTray();
    Activate();
    for (int tick = 0; tick < 3; ++tick) {
        mainWindow.OnWorkTimer();
    }
    EXPECT_FALSE(mainWindow.InTray());
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST_F(TrayTest, WithTheSettingOffTheFirstActiveTickDecidesAndALaterChangeWaits) {
    Activate();
    mainWindow.OnWorkTimer();
    EXPECT_FALSE(mainWindow.AutoMinimisePending());
    mainWindow.ToggleMinimiseAtStart();
    mainWindow.OnWorkTimer();
    EXPECT_FALSE(mainWindow.InTray());
    EXPECT_TRUE(mainWindow.isVisible());
}

// The shell sees the exact target and show command; an index that selects no language opens
// nothing.
TEST_F(MainWindowTest, HelpAndWebPageGoToTheShellByLanguage) {
    struct Case {
        std::int32_t index;
        std::vector<ShellTarget> expected;
    };
    using Kind = ShellTarget::Kind;
    const Case cases[] = {
        {0,
         {{Kind::Document, "Help_e.txt", ShowCommand::Restore},
          {Kind::WebAddress, "https://quillex.example.org/en/", ShowCommand::ShowNormal}}},
        {1,
         {{Kind::Document, "Help_r.txt", ShowCommand::Restore},
          {Kind::WebAddress, "https://quillex.example.org/ru/", ShowCommand::ShowNormal}}},
        {2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        shell.opened.clear();
        mainWindow.SetLanguageIndex(c.index);
        Child<QToolButton>(mainWindow, "Sb_Help")->click();
        Child<QToolButton>(mainWindow, "Sb_Internet")->click();
        EXPECT_EQ(shell.opened, c.expected);
    }
}

// The window's panels report an error they do not catch through the window's general report.
TEST_F(MainWindowTest, APanelsUncaughtErrorReachesTheGeneralReport) {
    mainWindow.show();
    mainWindow.Panels().Controls().dropCount->setText(QStringLiteral("99999999999"));
    mainWindow.Panels().Controls().startButtons[8]->click();
    ASSERT_EQ(report.shown.size(), 1u);
    EXPECT_TRUE(report.shown[0].endsWith(QLatin1Char('.'))) << report.shown[0].toStdString();
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

}  // namespace
}  // namespace quillex::testing
