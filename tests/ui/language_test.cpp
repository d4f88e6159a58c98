// The language push, the four switches and the language labels' colours, in the real window.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
    std::function<QString(const TfmMain&)> read;
    const char* english;
    const char* russian;
};

const std::vector<Pushed>& PushList() {
    static const std::vector<Pushed> list = {
        {"Sb_Help hint", [](const TfmMain& w) { return w.Sb_Help->toolTip(); }, "Show a help file",
         "Показать файл помощи"},
        {"Sb_Internet hint", [](const TfmMain& w) { return w.Sb_Internet->toolTip(); },
         "Go to our website", "Перейти на наш сайт"},
        {"Sb_Min hint", [](const TfmMain& w) { return w.Sb_Min->toolTip(); },
         "Minimize the program to Tray", "Свернуть программу в Tray"},
        {"Sb_Close hint", [](const TfmMain& w) { return w.Sb_Close->toolTip(); }, "Exit",
         "Выйти из программы"},
        {"Cb_Min_FormShow hint", [](const TfmMain& w) { return w.Cb_Min_FormShow->toolTip(); },
         "Auto minimize on startup", "Автоминимизация программы при запуске"},
        {"Lbl_Min_FormShow", [](const TfmMain& w) { return w.Lbl_Min_FormShow->text(); },
         "Minimize", "Минимизация"},
        {"Lbl_Min_FormShow hint", [](const TfmMain& w) { return w.Lbl_Min_FormShow->toolTip(); },
         "Auto minimize on startup", "Автоминимизация программы при запуске"},
        {"Cb_HintShow hint", [](const TfmMain& w) { return w.Cb_HintShow->toolTip(); },
         "Show hints", "Показывать всплывающие подсказки"},
        {"Lbl_HintShow", [](const TfmMain& w) { return w.Lbl_HintShow->text(); }, "Hints",
         "Подсказки"},
        {"Lbl_HintShow hint", [](const TfmMain& w) { return w.Lbl_HintShow->toolTip(); },
         "Show hints", "Показывать всплывающие подсказки"},
        {"Edit_Lang", [](const TfmMain& w) { return w.Edit_Lang->text(); }, "English", "Русский"},
        {"TrayMenu_3", [](const TfmMain& w) { return w.TrayMenu_3->text(); }, "Go to our website",
         "Перейти на наш сайт"},
        {"TrayMenu_3 hint", [](const TfmMain& w) { return w.TrayMenu_3->toolTip(); },
         "Go to our website", "Перейти на наш сайт"},
        {"TrayMenu_4", [](const TfmMain& w) { return w.TrayMenu_4->text(); }, "Exit",
         "Выйти из программы"},
        {"TrayMenu_4 hint", [](const TfmMain& w) { return w.TrayMenu_4->toolTip(); }, "Exit",
         "Выйти из программы"},
        {"Lbl_Work", [](const TfmMain& w) { return w.Lbl_Work->text(); },
         "Lines processed: ", "Обработано строк: "},
        {"Lbl_Load_File", [](const TfmMain& w) { return w.Lbl_Load_File->text(); },
         "Load file:", "Загрузить файл:"},
        {"Lbl_Save_File", [](const TfmMain& w) { return w.Lbl_Save_File->text(); },
         "Save file:", "Сохранить файл:"},
        {"Lbl_Select", [](const TfmMain& w) { return w.Lbl_Select->text(); },
         "Select function:", "Выбрать функцию:"},
        {"Btn_Load_File caption", [](const TfmMain& w) { return w.Btn_Load_File->Caption(); },
         "Open", "Открыть"},
        {"Btn_Save_File caption", [](const TfmMain& w) { return w.Btn_Save_File->Caption(); },
         "Save", "Сохранить"},
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
};

class LanguageTest : public MainWindowTest {
  protected:
    QComboBox& Chooser() { return *fmMain.Panels().Controls().ComboBox_Select; }
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
            EXPECT_EQ(p.read(fmMain), U(russian ? p.russian : p.english)) << p.place;
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
    fmMain.Lbl_Lang1Click();
    EXPECT_EQ(fmMain.LanguageIndex(), 1);
    ExpectPushed(true);
    fmMain.Lbl_Lang0Click();
    EXPECT_EQ(fmMain.LanguageIndex(), 0);
    ExpectPushed(false);
}

TEST_F(LanguageTest, TheLabelsSwitchWhenClicked) {
    fmMain.show();
    QTest::mouseClick(fmMain.Lbl_Lang1, Qt::LeftButton);
    EXPECT_EQ(fmLogo.LanguageIndex, 1);
    EXPECT_EQ(fmMain.Lbl_Select->text(), U("Выбрать функцию:"));
    QTest::mouseClick(fmMain.Lbl_Lang0, Qt::LeftButton);
    EXPECT_EQ(fmLogo.LanguageIndex, 0);
    EXPECT_EQ(fmMain.Lbl_Select->text(), U("Select function:"));
}

TEST_F(LanguageTest, TheArrowsToggleAndAnyStrayIndexBecomesEnglish) {
    struct Case {
        void (TfmMain::*toggle)();
        std::int32_t before;
        std::int32_t after;
    };
    const Case cases[] = {
        {&TfmMain::Sb_Lang_UpClick, 0, 1},   {&TfmMain::Sb_Lang_UpClick, 1, 0},
        {&TfmMain::Sb_Lang_DownClick, 0, 1}, {&TfmMain::Sb_Lang_DownClick, 1, 0},
        {&TfmMain::Sb_Lang_UpClick, 7, 0},   {&TfmMain::Sb_Lang_DownClick, 2, 0},
        {&TfmMain::Sb_Lang_UpClick, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.before << " -> " << c.after);
        fmMain.SetLanguageIndex(c.before);
        (fmMain.*c.toggle)();
        EXPECT_EQ(fmMain.LanguageIndex(), c.after);
        ExpectPushed(c.after == 1);
    }
    // The parked arrow buttons are bound to the same switches.
    fmMain.SetLanguageIndex(0);
    fmMain.Sb_Lang_Up->click();
    EXPECT_EQ(fmMain.LanguageIndex(), 1);
    fmMain.Sb_Lang_Down->click();
    EXPECT_EQ(fmMain.LanguageIndex(), 0);
}

TEST_F(LanguageTest, EverySwitchRendersTheStatisticsAgain) {
    SetLines(3);
    fmMain.RefreshView();
    const std::vector<std::pair<void (TfmMain::*)(), const char*>> switches = {
        {&TfmMain::Lbl_Lang1Click, "Строк: 3"},  {&TfmMain::Lbl_Lang0Click, "Lines: 3"},
        {&TfmMain::Lbl_Lang0Click, "Lines: 3"},  // the language in force: rendered anyway
        {&TfmMain::Sb_Lang_UpClick, "Строк: 3"}, {&TfmMain::Sb_Lang_DownClick, "Lines: 3"},
    };
    for (const auto& [click, lines] : switches) {
        fmMain.Lbl_1->setText(QStringLiteral("stale"));
        (fmMain.*click)();
        EXPECT_EQ(fmMain.Lbl_1->text(), U(lines));
    }
}

TEST_F(LanguageTest, ProgressLabelLosesItsNumberOnEverySwitch) {
    fmMain.ShowProgress(120);
    EXPECT_EQ(fmMain.Lbl_Work->text(), U("Lines processed: 120"));
    fmMain.Lbl_Lang1Click();
    EXPECT_EQ(fmMain.Lbl_Work->text(), U("Обработано строк: "));
    fmMain.ShowProgress(7);
    EXPECT_EQ(fmMain.Lbl_Work->text(), U("Обработано строк: 7"));
    fmMain.Lbl_Lang0Click();
    EXPECT_EQ(fmMain.Lbl_Work->text(), U("Lines processed: "));
    // The same language again still drops the number.
    fmMain.ShowProgress(3);
    fmMain.Lbl_Lang0Click();
    EXPECT_EQ(fmMain.Lbl_Work->text(), U("Lines processed: "));
}

TEST_F(LanguageTest, ChooserEntriesAreReplacedInPlaceAndTheShownPanelStays) {
    fmMain.show();
    Pick(5);
    ASSERT_EQ(VisiblePanels(), std::vector<int>{5});
    fmMain.Lbl_Lang1Click();
    EXPECT_EQ(VisiblePanels(), std::vector<int>{5});
    EXPECT_EQ(Chooser().count(), kFunctionCount);
    EXPECT_EQ(Chooser().currentIndex(), 5);
    EXPECT_EQ(Chooser().currentText(), U("Удалить дубли строк"));
    EXPECT_EQ(ChooserItems(), Names(kRussianNames));
}

TEST_F(LanguageTest, WithoutAProgressNumberTheStatisticsStayWithTheLanguage) {
    fmMain.Lbl_Lang1Click();
    EXPECT_EQ(fmMain.Lbl_2->text(), U("Символов: 0"));
    EXPECT_EQ(fmMain.Lbl_3->text(), U("Max. символов в строке: 0"));
}

// An index that selects no language leaves the table, and so every pushed text, as it was.
TEST_F(LanguageTest, AStrayIndexAfterALanguageKeepsItsTexts) {
    fmMain.Lbl_Lang1Click();
    fmMain.SetLanguageIndex(2);
    fmMain.ApplyLanguage();
    ExpectPushed(true);
}

// A stored language index of 2 selects no language: every pushed text is empty, the chooser
// still works by index, and a click repairs it.
TEST(StrayLanguage, FromTheStoreLeavesEveryTextEmptyUntilAClick) {
    FakeServices services;
    services.settings.values["Languare"] = 2;
    TfmMain fmMain(services.Services());
    TfmLogo fmLogo(services.settings);
    TfmHelp fmHelp;
    fmMain.Attach(fmLogo, fmHelp);
    fmMain.LogoShown = true;
    fmMain.show();
    EXPECT_EQ(fmLogo.LanguageIndex, 2);
    for (const Pushed& p : PushList()) {
        EXPECT_TRUE(p.read(fmMain).isEmpty()) << p.place;
    }
    QComboBox& chooser = *fmMain.Panels().Controls().ComboBox_Select;
    ASSERT_EQ(chooser.count(), kFunctionCount);
    for (int i = 0; i < chooser.count(); ++i) {
        EXPECT_TRUE(chooser.itemText(i).isEmpty()) << i;
    }
    EXPECT_EQ(fmMain.Lbl_1->text(), QStringLiteral("0"));  // the prefix is empty too

    // Picking the fourth (empty) entry still shows function 3's panel.
    QTest::keyClick(&chooser, Qt::Key_Home);
    for (int k = 0; k < 3; ++k) {
        QTest::keyClick(&chooser, Qt::Key_Down);
    }
    for (int k = 0; k < kFunctionCount; ++k) {
        EXPECT_EQ(fmMain.Panels().Controls().Gb[k]->isVisible(), k == 3) << k;
    }

    fmMain.Lbl_Lang1Click();
    EXPECT_EQ(fmMain.Lbl_Select->text(), U("Выбрать функцию:"));
    EXPECT_EQ(chooser.itemText(3), U("Добавить к строкам текст"));
    EXPECT_EQ(fmMain.Lbl_1->text(), U("Строк: 0"));
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
constexpr QRgb kGreen = 0xff008000;
constexpr QRgb kGrey = 0xff808080;

class LanguageColourTest : public MainWindowTest,
                           public ::testing::WithParamInterface<ColourCase> {};

TEST_P(LanguageColourTest, EveryTickColoursBothLabels) {
    const ColourCase c = GetParam();
    fmMain.show();
    fmMain.SetLanguageIndex(c.index);
    if (c.hovered >= 0) {
        const QRect label = c.hovered == 0 ? layout::kLbl_Lang0 : layout::kLbl_Lang1;
        cursor.at = fmMain.geometry().topLeft() + label.center();
    }
    fmMain.Timer_WorkTimer();
    auto colour = [](const QLabel* l) { return l->palette().color(QPalette::WindowText).rgba(); };
    EXPECT_EQ(colour(fmMain.Lbl_Lang0), c.engl);
    EXPECT_EQ(colour(fmMain.Lbl_Lang1), c.russ);
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
