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
    TrayTest() { fmMain.show(); }

    bool IconShown() const { return fmMain.Tray->IsShown(); }
    QSystemTrayIcon& PlatformIcon() { return *fmMain.Tray->findChild<QSystemTrayIcon*>(); }
    void Activate() {
        fmMain.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&fmMain));
    }
};

TEST_F(TrayTest, TheIconIsInactiveUntilTheFirstMinimise) {
    EXPECT_FALSE(IconShown());
    EXPECT_EQ(PlatformIcon().toolTip(), QStringLiteral("Quillex"));
    EXPECT_EQ(PlatformIcon().icon().availableSizes(), QList<QSize>{QSize(32, 32)});
}

TEST_F(TrayTest, MinimiseHidesTheWindowBehindTheIconAndDoubleClickBringsItBack) {
    // Function 5's panel and a progress number, at another place on the screen.
    QComboBox& chooser = *fmMain.Panels().Controls().ComboBox_Select;
    Pick(5);
    ASSERT_EQ(VisiblePanels(), std::vector<int>{5});
    fmMain.ShowProgress(42);
    fmMain.move(300, 300);

    fmMain.Sb_MinClick();
    EXPECT_TRUE(fmMain.InTray());
    EXPECT_TRUE(IconShown());
    EXPECT_FALSE(fmMain.isVisible());

    emit PlatformIcon().activated(QSystemTrayIcon::DoubleClick);
    EXPECT_FALSE(fmMain.InTray());
    EXPECT_FALSE(IconShown());
    EXPECT_TRUE(fmMain.isVisible());
    // The show sequence ran again, without the splash.
    EXPECT_EQ(fmMain.y(), 10);
    EXPECT_EQ(VisiblePanels(), std::vector<int>{0});
    EXPECT_EQ(chooser.currentIndex(), 5);
    EXPECT_EQ(fmMain.Lbl_Work->text(), QStringLiteral("Lines processed: "));
    EXPECT_EQ(fmLogo.Schedule().tick(), 0);

    // And again, through the parked button.
    fmMain.Sb_Min->click();
    EXPECT_TRUE(IconShown());
    EXPECT_FALSE(fmMain.isVisible());
    fmMain.TrayIconDblClick();
    EXPECT_TRUE(fmMain.isVisible());
}

TEST_F(TrayTest, WithoutATrayMinimiseKeepsTheWindowReachable) {
    trayAvailable = false;
    fmMain.Sb_MinClick();
    EXPECT_FALSE(fmMain.InTray());
    EXPECT_FALSE(IconShown());
    EXPECT_TRUE(fmMain.isVisible());
    EXPECT_TRUE(fmMain.isMinimized());
}

TEST_F(TrayTest, TheMenuCarriesTheTitleStripAndItsTwoItems) {
    ASSERT_EQ(fmMain.Tray->Menu(), fmMain.Menu_Tray);
    EXPECT_EQ(fmMain.Menu_Tray->StripTitle(), QStringLiteral("Quillex"));
    EXPECT_EQ(fmMain.Menu_Tray->actions(), (QList<QAction*>{fmMain.TrayMenu_3, fmMain.TrayMenu_4}));
    EXPECT_TRUE(fmMain.Menu_Tray->toolTipsVisible());
    // Two items are not enough height for the title: the menu grows to show all of it.
    QFont strip(QStringLiteral("Verdana"));
    strip.setPixelSize(12);
    strip.setBold(true);
    EXPECT_GT(fmMain.Menu_Tray->sizeHint().height(),
              QFontMetrics(strip).horizontalAdvance(QStringLiteral("Quillex")));
    fmMain.Lbl_Lang1Click();
    EXPECT_EQ(fmMain.TrayMenu_3->text(), QString::fromUtf8("Перейти на наш сайт"));
    EXPECT_EQ(fmMain.TrayMenu_4->text(), QString::fromUtf8("Выйти из программы"));
}

TEST_F(TrayTest, TheWebsiteItemOpensTheWebPageOfTheLanguage) {
    fmMain.Sb_MinClick();
    fmMain.TrayMenu_3->trigger();
    fmMain.Lbl_Lang1Click();
    fmMain.TrayMenu_3->trigger();
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(shell.opened[0], *WebPageTarget(0));
    EXPECT_EQ(shell.opened[1], *WebPageTarget(1));
    EXPECT_TRUE(fmMain.InTray());  // the window stays where it was
}

TEST_F(TrayTest, TheExitItemClosesTheWindowFromTheTray) {
    QSignalSpy closed(&fmMain, &TfmMain::Closed);
    fmMain.Sb_MinClick();
    fmMain.TrayMenu_4->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(fmMain.isVisible());
    EXPECT_TRUE(settings.writes.empty());  // the settings wait for the destruction
}

TEST_F(TrayTest, TheCloseButtonClosesTheShownWindow) {
    QSignalSpy closed(&fmMain, &TfmMain::Closed);
    fmMain.Sb_Close->click();
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(TrayTest, AutoMinimiseWaitsForTheActiveWindowAndHappensOncePerRun) {
    fmMain.Settings.Min_FormShow = true;
    fmMain.hide();
    fmMain.Timer_WorkTimer();  // not active (the splash would be up): nothing yet
    EXPECT_FALSE(fmMain.InTray());
    EXPECT_TRUE(fmMain.AutoMinimize.pending());

    fmMain.show();
    Activate();
    fmMain.Timer_WorkTimer();
    EXPECT_TRUE(fmMain.InTray());
    EXPECT_TRUE(IconShown());
    EXPECT_FALSE(fmMain.isVisible());

    fmMain.TrayIconDblClick();
    Activate();
    for (int tick = 0; tick < 3; ++tick) {
        fmMain.Timer_WorkTimer();
    }
    EXPECT_FALSE(fmMain.InTray());
    EXPECT_TRUE(fmMain.isVisible());
}

TEST_F(TrayTest, WithTheSettingOffTheFirstActiveTickDecidesAndALaterChangeWaits) {
    Activate();
    fmMain.Timer_WorkTimer();
    EXPECT_FALSE(fmMain.AutoMinimize.pending());
    fmMain.Cb_Min_FormShowClick();
    fmMain.Timer_WorkTimer();
    EXPECT_FALSE(fmMain.InTray());
    EXPECT_TRUE(fmMain.isVisible());
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
        fmMain.SetLanguageIndex(c.index);
        fmMain.Sb_Help->click();
        fmMain.Sb_Internet->click();
        EXPECT_EQ(shell.opened, c.expected);
    }
}

// The window's panels report an error they do not catch through the window's general report.
TEST_F(MainWindowTest, APanelsUncaughtErrorReachesTheGeneralReport) {
    fmMain.show();
    fmMain.Panels().Controls().Edit_8_0->setText(QStringLiteral("99999999999"));
    fmMain.Panels().Controls().Btn[8]->click();
    ASSERT_EQ(report.shown.size(), 1u);
    EXPECT_TRUE(report.shown[0].endsWith(QLatin1Char('.'))) << report.shown[0].toStdString();
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

}  // namespace
}  // namespace quillex::testing
