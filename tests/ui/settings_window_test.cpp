// The settings as the windows read and write them, and the application-wide hints.
#include <QHelpEvent>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <memory>

#include "ui/image_button.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

using Calls = std::vector<std::string>;

// The three windows made and destroyed as the program does, over one store that outlives them.
struct Program {
    explicit Program(FakeServices& services)
        : mainWindow(services.Services()), splash(services.settings) {
        mainWindow.Attach(splash, help);
        mainWindow.SetSplashShown(true);
    }
    MainWindow mainWindow;
    SplashWindow splash;
    HelpWindow help;
};

TEST(WindowSettings, ReadOnceAtCreationMainWindowFirst) {
    FakeServices services;
    services.settings.values = {{"Min_FormShow", 5}, {"HintShow", 0}, {"Languare", 1}};
    Program program(services);
    EXPECT_EQ(program.mainWindow.Settings(),
              (MainSettings{.Min_FormShow = true, .HintShow = false}));
    EXPECT_EQ(program.splash.LanguageIndex(), 1);
    EXPECT_EQ(services.settings.calls, (Calls{"open", "exists Min_FormShow", "read Min_FormShow",
                                              "exists HintShow", "read HintShow", "close", "open",
                                              "exists Languare", "read Languare", "close"}));
    // Showing, switching and toggling write nothing while the program runs.
    program.mainWindow.show();
    program.mainWindow.SwitchToEnglish();
    program.mainWindow.ToggleHints();
    program.mainWindow.ToggleMinimiseAtStart();
    program.mainWindow.hide();
    EXPECT_TRUE(services.settings.writes.empty());
}

TEST(WindowSettings, WrittenOnceAtExitInReverseCreationOrder) {
    FakeServices services;
    services.settings.values = {{"Min_FormShow", 5}, {"HintShow", 1}, {"Languare", 0}};
    {
        Program program(services);
        program.mainWindow.SwitchToRussian();
        program.mainWindow.ToggleHints();
        services.settings.calls.clear();
    }
    EXPECT_EQ(services.settings.calls,
              (Calls{"open", "write Languare=1", "close", "open", "write HintShow=0",
                     "write Min_FormShow=1", "close"}));
    EXPECT_EQ(std::get<std::int32_t>(services.settings.values["Min_FormShow"]), 1);  // 5 -> 1
}

TEST(WindowSettings, FirstRunTakesTheDefaultsAndStoresThem) {
    FakeServices services;
    {
        Program program(services);
        EXPECT_EQ(program.mainWindow.Settings(),
                  (MainSettings{.Min_FormShow = false, .HintShow = true}));
        EXPECT_EQ(program.splash.LanguageIndex(), 0);
        EXPECT_TRUE(services.settings.created);
    }
    EXPECT_EQ(services.settings.writes, (Calls{"Languare=0", "HintShow=1", "Min_FormShow=0"}));
}

TEST(WindowSettings, AStrayLanguageIsWrittenBackUnchanged) {
    FakeServices services;
    services.settings.values = {{"Languare", 2}};
    { Program program(services); }
    EXPECT_EQ(services.settings.writes, (Calls{"Languare=2", "HintShow=1", "Min_FormShow=0"}));
}

TEST(WindowSettings, AWronglyTypedHintShowTurnsHintsOffAndIsRewrittenAsZero) {
    FakeServices services;
    services.settings.values = {{"Min_FormShow", 1}, {"HintShow", std::string("yes")}};
    {
        Program program(services);
        EXPECT_EQ(program.mainWindow.Settings(),
                  (MainSettings{.Min_FormShow = true, .HintShow = false}));
    }
    EXPECT_EQ(services.settings.writes, (Calls{"Languare=0", "HintShow=0", "Min_FormShow=1"}));
}

TEST(WindowSettings, TheToggleOperationsFlipOneSettingEach) {
    FakeServices services;
    Program program(services);
    MainWindow& mainWindow = program.mainWindow;
    mainWindow.ToggleMinimiseAtStart();
    EXPECT_EQ(mainWindow.Settings(), (MainSettings{.Min_FormShow = true, .HintShow = true}));
    mainWindow.ToggleHints();
    EXPECT_EQ(mainWindow.Settings(), (MainSettings{.Min_FormShow = true, .HintShow = false}));
    // Bound to the parked toggles and to their labels.
    mainWindow.show();
    Child<QToolButton>(mainWindow, "Cb_HintShow")->click();
    EXPECT_TRUE(mainWindow.Settings().HintShow);
    Child<QToolButton>(mainWindow, "Cb_Min_FormShow")->click();
    EXPECT_FALSE(mainWindow.Settings().Min_FormShow);
    QTest::mouseClick(Child<QLabel>(mainWindow, "Lbl_HintShow"), Qt::LeftButton);
    EXPECT_FALSE(mainWindow.Settings().HintShow);
    QTest::mouseClick(Child<QLabel>(mainWindow, "Lbl_Min_FormShow"), Qt::LeftButton);
    EXPECT_TRUE(mainWindow.Settings().Min_FormShow);
}

// Hints of the whole application follow HintShow: on, a hint request shows the hint; off,
// it is swallowed wherever it comes from.
class HintsTest : public MainWindowTest {
  protected:
    HintsTest() { mainWindow.show(); }
    ~HintsTest() override { QToolTip::hideText(); }

    static bool HintGone() {
        QToolTip::hideText();  // fades out over a moment
        return QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
    }

    bool HintShownFor(QWidget& widget) {
        EXPECT_TRUE(HintGone());
        const QPoint at = widget.rect().center();
        QHelpEvent event(QEvent::ToolTip, at, widget.mapToGlobal(at));
        QCoreApplication::sendEvent(&widget, &event);
        return QToolTip::isVisible() && QToolTip::text() == widget.toolTip();
    }
};

TEST_F(HintsTest, HintShowSwitchesHintsForTheWholeApplication) {
    QWidget other;  // a widget of no window of ours
    other.setToolTip(QStringLiteral("other"));
    other.show();
    ASSERT_TRUE(mainWindow.Settings().HintShow);
    EXPECT_TRUE(HintShownFor(*Child<ImageButton>(mainWindow, "Sb_Close")));
    EXPECT_TRUE(HintShownFor(other));

    mainWindow.ToggleHints();
    EXPECT_FALSE(HintShownFor(*Child<ImageButton>(mainWindow, "Sb_Close")));
    EXPECT_FALSE(HintShownFor(other));

    mainWindow.ToggleHints();
    EXPECT_TRUE(HintShownFor(*Child<ImageButton>(mainWindow, "Sb_Close")));
}

TEST(WindowSettings, StoredHintsOffAreOffOnceTheWindowIsShown) {
    FakeServices services;
    services.settings.values = {{"HintShow", 0}};
    Program program(services);
    program.mainWindow.show();
    QHelpEvent event(QEvent::ToolTip, QPoint(5, 5),
                     Child<ImageButton>(program.mainWindow, "Sb_Close")->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(Child<ImageButton>(program.mainWindow, "Sb_Close"), &event);
    EXPECT_FALSE(QToolTip::isVisible());
}

}  // namespace
}  // namespace quillex::testing
