// The language push, the four switches and the language labels' colours, in the real window.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "ui/image_button.h"

#include <functional>
#include <ostream>

#include "ui/main_layout.h"
#include "ui/panels/function_panels.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// One pushed text: where it is read from and what it holds in English and in Russian.
struct Pushed {
    const char* place;
    std::function<QString(const MainWindow&)> read;
    const char* english;
    const char* russian;
};

const std::vector<Pushed>& PushList() {
    static const std::vector<Pushed> list = {
        {"Sb_Help hint",
         [](const MainWindow& w) { return Child<QToolButton>(w, "Sb_Help")->toolTip(); },
         "Show a help file", "Показать файл помощи"},
        {"Sb_Internet hint",
         [](const MainWindow& w) { return Child<QToolButton>(w, "Sb_Internet")->toolTip(); },
         "Go to our website", "Перейти на наш сайт"},
        {"Sb_Min hint",
         [](const MainWindow& w) { return Child<QToolButton>(w, "Sb_Min")->toolTip(); },
         "Minimize the program to Tray", "Свернуть программу в Tray"},
        {"Sb_Close hint",
         [](const MainWindow& w) { return Child<ImageButton>(w, "Sb_Close")->toolTip(); }, "Exit",
         "Выйти из программы"},
        {"Cb_Min_FormShow hint",
         [](const MainWindow& w) { return Child<QToolButton>(w, "Cb_Min_FormShow")->toolTip(); },
         "Auto minimize on startup", "Автоминимизация программы при запуске"},
        {"Lbl_Min_FormShow",
         [](const MainWindow& w) { return Child<QLabel>(w, "Lbl_Min_FormShow")->text(); },
         "Minimize", "Минимизация"},
        {"Lbl_Min_FormShow hint",
         [](const MainWindow& w) { return Child<QLabel>(w, "Lbl_Min_FormShow")->toolTip(); },
         "Auto minimize on startup", "Автоминимизация программы при запуске"},
        {"Cb_HintShow hint",
         [](const MainWindow& w) { return Child<QToolButton>(w, "Cb_HintShow")->toolTip(); },
         "Show hints", "Показывать всплывающие подсказки"},
        {"Lbl_HintShow",
         [](const MainWindow& w) { return Child<QLabel>(w, "Lbl_HintShow")->text(); }, "Hints",
         "Подсказки"},
        {"Lbl_HintShow hint",
         [](const MainWindow& w) { return Child<QLabel>(w, "Lbl_HintShow")->toolTip(); },
         "Show hints", "Показывать всплывающие подсказки"},
        {"Edit_Lang", [](const MainWindow& w) { return Child<QLineEdit>(w, "Edit_Lang")->text(); },
         "English", "Русский"},
        {"TrayMenu_3", [](const MainWindow& w) { return Child<QAction>(w, "TrayMenu_3")->text(); },
         "Go to our website", "Перейти на наш сайт"},
        {"TrayMenu_3 hint",
         [](const MainWindow& w) { return Child<QAction>(w, "TrayMenu_3")->toolTip(); },
         "Go to our website", "Перейти на наш сайт"},
        {"TrayMenu_4", [](const MainWindow& w) { return Child<QAction>(w, "TrayMenu_4")->text(); },
         "Exit", "Выйти из программы"},
        {"TrayMenu_4 hint",
         [](const MainWindow& w) { return Child<QAction>(w, "TrayMenu_4")->toolTip(); }, "Exit",
         "Выйти из программы"},
        {"Lbl_Work", [](const MainWindow& w) { return Child<QLabel>(w, "Lbl_Work")->text(); },
         "Lines processed: ", "Обработано строк: "},
        {"Lbl_Load_File",
         [](const MainWindow& w) { return Child<QLabel>(w, "Lbl_Load_File")->text(); },
         "Load file:", "Загрузить файл:"},
        {"Lbl_Save_File",
         [](const MainWindow& w) { return Child<QLabel>(w, "Lbl_Save_File")->text(); },
         "Save file:", "Сохранить файл:"},
        {"Lbl_Select", [](const MainWindow& w) { return Child<QLabel>(w, "Lbl_Select")->text(); },
         "Select function:", "Выбрать функцию:"},
        {"Btn_Load_File caption",
         [](const MainWindow& w) { return Child<ImageButton>(w, "Btn_Load_File")->Caption(); },
         "Open", "Открыть"},
        {"Btn_Save_File caption",
         [](const MainWindow& w) { return Child<ImageButton>(w, "Btn_Save_File")->Caption(); },
         "Save", "Сохранить"},
        {"Btn_Cancel",
         [](const MainWindow& w) { return Child<QPushButton>(w, "Btn_Cancel")->text(); }, "Cancel",
         "Отмена"},
    };
    return list;
}

constexpr const char* kEnglishNames[] = {
    "Remove a few letters at the beginning of lines",
    "Replace letters in lines",
    "Remove line ends",
    "Add text to lines",
    "Remove lines on the condition",
    "Remove duplicate lines",
    "Remove all the specified characters",
    "Remove line foldings",
    "Remove all the lines before the specified one",
    "Process the lines containing text",
    "Remove excess spaces",
    "Remove all lines beginning with the word",
    "Sort lines",
    "Reverse the order of lines",
    "Shuffle lines",
    "Remove duplicates by a mode",
};
constexpr const char* kRussianNames[] = {
    "Удалить несколько символов в начале строк",
    "Заменить символы в строках",
    "Удалить концы строк",
    "Добавить к строкам текст",
    "Удалить строки по условию",
    "Удалить дубли строк",
    "Удалить все указанные символы",
    "Удалить переносы строк",
    "Удалить все строки до заданной",
    "Обработать строки содержащие текст",
    "Удалить лишние пробелы",
    "Удалить все строки начинающиеся со слова",
    "Сортировать строки",
    "Обратить порядок строк",
    "Перемешать строки",
    "Удалить дубли по режиму",
};

class LanguageTest : public MainWindowTest {
  protected:
    QComboBox& Chooser() { return *mainWindow.Panels().Controls().chooser; }
    QStringList ChooserItems() {
        QStringList items;
        for (int i = 0; i < Chooser().count(); ++i) {
            items << Chooser().itemText(i);
        }
        return items;
    }
    static QStringList Names(const char* const (&names)[kFunctionCount]) {
        QStringList list;
        for (const char* name : names) {
            list << U(name);
        }
        return list;
    }
    void ExpectPushed(bool russian) {
        for (const Pushed& p : PushList()) {
            EXPECT_EQ(p.read(mainWindow), U(russian ? p.russian : p.english)) << p.place;
        }
        EXPECT_EQ(ChooserItems(), Names(russian ? kRussianNames : kEnglishNames));
        // Qt's own texts, as its dialogs and message boxes show them.
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                  U(russian ? "Отмена" : "Cancel"));
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"),
                  U(russian ? "&Имя файла:" : "File &name:"));
    }
};

TEST_F(LanguageTest, EveryPushedTextFollowsTheLanguageBothWays) {
    ExpectPushed(false);
    mainWindow.SwitchToRussian();
    EXPECT_EQ(mainWindow.LanguageIndex(), 1);
    ExpectPushed(true);
    mainWindow.SwitchToEnglish();
    EXPECT_EQ(mainWindow.LanguageIndex(), 0);
    ExpectPushed(false);
}

TEST_F(LanguageTest, TheLabelsSwitchWhenClicked) {
    mainWindow.show();
    QTest::mouseClick(Child<QLabel>(mainWindow, "Lbl_Lang1"), Qt::LeftButton);
    EXPECT_EQ(splash.LanguageIndex(), 1);
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Select")->text(), U("Выбрать функцию:"));
    QTest::mouseClick(Child<QLabel>(mainWindow, "Lbl_Lang0"), Qt::LeftButton);
    EXPECT_EQ(splash.LanguageIndex(), 0);
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Select")->text(), U("Select function:"));
}

TEST_F(LanguageTest, TheArrowsToggleAndAnyStrayIndexBecomesEnglish) {
    struct Case {
        void (MainWindow::*toggle)();
        std::int32_t before;
        std::int32_t after;
    };
    const Case cases[] = {
        {&MainWindow::ToggleLanguage, 0, 1},  {&MainWindow::ToggleLanguage, 1, 0},
        {&MainWindow::ToggleLanguage, 0, 1},  {&MainWindow::ToggleLanguage, 1, 0},
        {&MainWindow::ToggleLanguage, 7, 0},  {&MainWindow::ToggleLanguage, 2, 0},
        {&MainWindow::ToggleLanguage, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.before << " -> " << c.after);
        mainWindow.SetLanguageIndex(c.before);
        (mainWindow.*c.toggle)();
        EXPECT_EQ(mainWindow.LanguageIndex(), c.after);
        ExpectPushed(c.after == 1);
    }
    // The parked arrow buttons are bound to the same switches.
    mainWindow.SetLanguageIndex(0);
    Child<QToolButton>(mainWindow, "Sb_Lang_Up")->click();
    EXPECT_EQ(mainWindow.LanguageIndex(), 1);
    Child<QToolButton>(mainWindow, "Sb_Lang_Down")->click();
    EXPECT_EQ(mainWindow.LanguageIndex(), 0);
}

TEST_F(LanguageTest, EverySwitchRendersTheStatisticsAgain) {
    SetLines(3);
    mainWindow.RefreshView();
    const std::vector<std::pair<void (MainWindow::*)(), const char*>> switches = {
        {&MainWindow::SwitchToRussian, "Строк: 3"}, {&MainWindow::SwitchToEnglish, "Lines: 3"},
        {&MainWindow::SwitchToEnglish, "Lines: 3"},  // the language in force: rendered anyway
        {&MainWindow::ToggleLanguage, "Строк: 3"},  {&MainWindow::ToggleLanguage, "Lines: 3"},
    };
    for (const auto& [click, lines] : switches) {
        Child<QLabel>(mainWindow, "Lbl_1")->setText(QStringLiteral("stale"));
        (mainWindow.*click)();
        EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), U(lines));
    }
}

TEST_F(LanguageTest, ProgressLabelLosesItsNumberOnEverySwitch) {
    mainWindow.ShowProgress(120);
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Work")->text(), U("Lines processed: 120"));
    mainWindow.SwitchToRussian();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Work")->text(), U("Обработано строк: "));
    mainWindow.ShowProgress(7);
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Work")->text(), U("Обработано строк: 7"));
    mainWindow.SwitchToEnglish();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Work")->text(), U("Lines processed: "));
    // The same language again still drops the number.
    mainWindow.ShowProgress(3);
    mainWindow.SwitchToEnglish();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Work")->text(), U("Lines processed: "));
}

TEST_F(LanguageTest, ChooserEntriesAreReplacedInPlaceAndTheShownPanelStays) {
    mainWindow.show();
    Pick(5);
    ASSERT_EQ(VisiblePanels(), std::vector<int>{5});
    mainWindow.SwitchToRussian();
    EXPECT_EQ(VisiblePanels(), std::vector<int>{5});
    EXPECT_EQ(Chooser().count(), kFunctionCount);
    EXPECT_EQ(Chooser().currentIndex(), 5);
    EXPECT_EQ(Chooser().currentText(), U("Удалить дубли строк"));
    EXPECT_EQ(ChooserItems(), Names(kRussianNames));
}

TEST_F(LanguageTest, WithoutAProgressNumberTheStatisticsStayWithTheLanguage) {
    mainWindow.SwitchToRussian();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_2")->text(), U("Символов: 0"));
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_3")->text(), U("Max. символов в строке: 0"));
}

// An index that selects no language leaves the table, and so every pushed text, as it was.
TEST_F(LanguageTest, AStrayIndexAfterALanguageKeepsItsTexts) {
    mainWindow.SwitchToRussian();
    mainWindow.SetLanguageIndex(2);
    mainWindow.ApplyLanguage();
    ExpectPushed(true);
}

// A stored language index of 2 selects no language: every pushed text is empty, the chooser
// still works by index, and a click repairs it.
TEST(StrayLanguage, FromTheStoreLeavesEveryTextEmptyUntilAClick) {
    FakeServices services;
    services.settings.values["Languare"] = 2;
    MainWindow mainWindow(services.Services());
    SplashWindow splash(services.settings);
    HelpWindow help;
    mainWindow.Attach(splash, help);
    mainWindow.SetSplashShown(true);
    mainWindow.show();
    EXPECT_EQ(splash.LanguageIndex(), 2);
    for (const Pushed& p : PushList()) {
        EXPECT_TRUE(p.read(mainWindow).isEmpty()) << p.place;
    }
    QComboBox& chooser = *mainWindow.Panels().Controls().chooser;
    ASSERT_EQ(chooser.count(), kFunctionCount);
    for (int i = 0; i < chooser.count(); ++i) {
        EXPECT_TRUE(chooser.itemText(i).isEmpty()) << i;
    }
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(),
              QStringLiteral("0"));  // the prefix is empty too

    // Picking the fourth (empty) entry still shows function 3's panel.
    QTest::keyClick(&chooser, Qt::Key_Home);
    for (int k = 0; k < 3; ++k) {
        QTest::keyClick(&chooser, Qt::Key_Down);
    }
    for (int k = 0; k < kFunctionCount; ++k) {
        EXPECT_EQ(mainWindow.Panels().Controls().panels[k]->isVisible(), k == 3) << k;
    }

    mainWindow.SwitchToRussian();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Select")->text(), U("Выбрать функцию:"));
    EXPECT_EQ(chooser.itemText(3), U("Добавить к строкам текст"));
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), U("Строк: 0"));
}

// The colour table of the two language labels, for each index, with and without the cursor.
struct ColourCase {
    std::int32_t index;
    int hovered;  // -1 none, 0 "Engl", 1 "Russ"
    QRgb engl;
    QRgb russ;
};

void PrintTo(const ColourCase& c, std::ostream* out) {
    *out << "index " << c.index << ", cursor over "
         << (c.hovered < 0    ? "neither"
             : c.hovered == 0 ? "Engl"
                              : "Russ");
}

constexpr QRgb kBlack = 0xff000000;
// Every message and question the window composes speaks the language in force.
class MessageLanguageTest : public ActiveWindowTest,
                            public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(MessageLanguageTest, MessagesComeFromTheTableOfTheLanguageInForce) {
    mainWindow.SetLanguageIndex(GetParam());
    mainWindow.ApplyLanguage();
    CaptionTable table;
    FillCaptionTable(GetParam(), table);
    auto text = [](const std::string& entry) { return QString::fromStdString(entry); };

    // A directory is refused with its reason.
    const QString folder = QString::fromStdString(dir_.path().string());
    dialogs.openAnswers = {folder};
    mainWindow.ChooseAndLoadFile();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.back(),
              text(table.Txt_File_Error).arg(folder) + u'\n' +
                  text(table.Txt_Not_Regular_File).arg(text(table.Txt_Kind_Directory)));

    // The NUL notice and the question before a save over that file.
    const QString cut = Write("cut.txt", std::string("a\r\n\0rest", 8));
    dialogs.openAnswers = {cut};
    mainWindow.ChooseAndLoadFile();
    const QString notice = text(table.Txt_Nul_Notice).arg(cut, QStringLiteral("3"));
    EXPECT_EQ(dialogs.messages.back(), notice);
    dialogs.saveAnswers = {cut};
    dialogs.askAnswers = {false};
    mainWindow.SaveDocument();
    EXPECT_EQ(dialogs.questions.back(), notice + u' ' + text(table.Txt_Nul_Write_Anyway));

    // The question before an undo writes over a load file changed on disk.
    const QString doc = Write("doc.txt", "a\r\nA\r\n");
    dialogs.openAnswers = {doc, std::nullopt};
    mainWindow.ChooseAndLoadFile();
    mainWindow.Panels().Controls().startButtons[5]->click();
    WriteBytes(dir_ / "doc.txt", "changed\r\n");
    dialogs.askAnswers = {false};
    mainWindow.Undo();
    EXPECT_EQ(dialogs.questions.back(), text(table.Txt_Changed_On_Disk).arg(doc));

    // The run error and a panel's text the encoding cannot hold.
    static_cast<RunHost&>(mainWindow).ShowRunError();
    EXPECT_EQ(dialogs.messages.back(), text(table.Txt_File_Error).arg(doc));
    mainWindow.Panels().Controls().replacementChar->setEditText(U("日"));
    mainWindow.Panels().Controls().startButtons[1]->click();
    EXPECT_EQ(dialogs.messages.back(),
              text(table.Txt_Cannot_Hold)
                  .arg(text(table.Txt_Field_Replacement), QStringLiteral("Windows-1251")));
    EXPECT_TRUE(report.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, MessageLanguageTest,
                         ::testing::Values(kLanguageEnglish, kLanguageRussian));

TEST(MessageTexts, TheEnglishRefusalOfADirectorySaysWhy) {
    CaptionTable english;
    FillCaptionTable(kLanguageEnglish, english);
    EXPECT_EQ(QString::fromStdString(english.Txt_Not_Regular_File)
                  .arg(QString::fromStdString(english.Txt_Kind_Directory)),
              "The file is a directory, not a regular file; only regular files are loaded.");
}

constexpr QRgb kGreen = 0xff008000;
constexpr QRgb kGrey = 0xff808080;

class LanguageColourTest : public MainWindowTest,
                           public ::testing::WithParamInterface<ColourCase> {};

TEST_P(LanguageColourTest, EveryTickColoursBothLabels) {
    const ColourCase c = GetParam();
    mainWindow.show();
    mainWindow.SetLanguageIndex(c.index);
    if (c.hovered >= 0) {
        const QRect label = c.hovered == 0 ? layout::kLbl_Lang0 : layout::kLbl_Lang1;
        cursor.at = mainWindow.geometry().topLeft() + label.center();
    }
    mainWindow.OnWorkTimer();
    auto colour = [](const QLabel* l) { return l->palette().color(QPalette::WindowText).rgba(); };
    EXPECT_EQ(colour(Child<QLabel>(mainWindow, "Lbl_Lang0")), c.engl);
    EXPECT_EQ(colour(Child<QLabel>(mainWindow, "Lbl_Lang1")), c.russ);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LanguageColourTest,
    ::testing::Values(ColourCase{0, -1, kGreen, kGrey}, ColourCase{0, 0, kGreen, kGrey},
                      ColourCase{0, 1, kGreen, kBlack}, ColourCase{1, -1, kGrey, kGreen},
                      ColourCase{1, 0, kBlack, kGreen}, ColourCase{1, 1, kGrey, kGreen},
                      ColourCase{2, -1, kGrey, kGrey}, ColourCase{2, 0, kGreen, kGrey},
                      ColourCase{2, 1, kGrey, kGreen}));

}  // namespace
}  // namespace quillex::testing
