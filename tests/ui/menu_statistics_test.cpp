#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTextBlock>
#include <QTextCursor>

#include "core/display_limit.h"
#include "ui/titled_menu.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

struct Item {
    QString caption;
    bool visible;
};

class PopupTest : public MainWindowTest {
  protected:
    std::vector<Item> OpenMenu() {
        mainWindow.PrepareViewMenu();
        std::vector<Item> items;
        for (QAction* item : {Child<QAction>(mainWindow, "N0"), Child<QAction>(mainWindow, "N1"),
                              Child<QAction>(mainWindow, "N2"), Child<QAction>(mainWindow, "N3"),
                              Child<QAction>(mainWindow, "N4")}) {
            items.push_back({item->text(), item->isVisible()});
        }
        return items;
    }
    QColor ColourAt(int position) {
        QTextCursor cursor(Child<QPlainTextEdit>(mainWindow, "RichEdit_Text")->document());
        cursor.setPosition(position + 1);  // the format of the character before the cursor
        return cursor.charFormat().foreground().color();
    }
};

TEST_F(PopupTest, EmptyViewOffersOnlyTheLoadCommand) {
    const std::vector<Item> items = OpenMenu();
    EXPECT_EQ(Child<TitledMenu>(mainWindow, "Menu_RichEdit_Text")->StripTitle(), "*");
    EXPECT_FALSE(items[0].visible);
    EXPECT_TRUE(items[1].visible);
    EXPECT_EQ(items[1].caption, QString::fromUtf8("Загрузьте файл для обработки"));
    for (int i : {0, 2, 3, 4}) {
        EXPECT_FALSE(items[i].visible) << i;
        EXPECT_TRUE(items[i].caption.isEmpty()) << i;
    }
    dialogs.openAnswers.push_back(std::nullopt);
    Child<QAction>(mainWindow, "N1")->trigger();
    EXPECT_EQ(dialogs.openFolders.size(), 1);
}

TEST_F(PopupTest, ViewWithTextOffersEveryCommandInEitherLanguage) {
    SetLines(3);
    mainWindow.RefreshView();
    for (auto language : {&MainWindow::SwitchToEnglish, &MainWindow::SwitchToRussian}) {
        (mainWindow.*language)();
        const std::vector<Item> items = OpenMenu();
        EXPECT_EQ(Child<TitledMenu>(mainWindow, "Menu_RichEdit_Text")->StripTitle(), "Quillex");
        const char* expected[] = {"Отобразить", "Выделить красным кириллицу",
                                  "Переместить курсор в конец текста",
                                  "Выделить и скопировать весь текст", "Очистить RichEdit"};
        for (int i = 0; i < 5; ++i) {
            EXPECT_TRUE(items[i].visible) << i;
            EXPECT_EQ(items[i].caption, QString::fromUtf8(expected[i])) << i;
        }
    }
    const QList<QAction*> limits = Child<QAction>(mainWindow, "N0")->menu()->actions();
    ASSERT_EQ(limits.size(), 5);
    EXPECT_EQ(limits[0]->text(), QString::fromUtf8("Первые 100 строк"));
    EXPECT_EQ(limits[4]->text(), QString::fromUtf8("Весь файл (!)"));
    // The empty shape returns once the view is emptied, although the document still holds text.
    Child<QAction>(mainWindow, "N4")->trigger();
    EXPECT_FALSE(OpenMenu()[2].visible);
    EXPECT_EQ(Child<TitledMenu>(mainWindow, "Menu_RichEdit_Text")->StripTitle(), "*");
}

TEST_F(PopupTest, HighlightColoursOnlyA0ToFFRed) {
    // A b c space Г д е space ё ж
    mainWindow.Document().Add("Abc \xC3\xE4\xE5 \xB8\xE6");
    mainWindow.RefreshView();
    mainWindow.PrepareViewMenu();
    Child<QAction>(mainWindow, "N1")->trigger();
    const QColor red(255, 0, 0);
    const QColor black(0, 0, 0);
    const bool reds[] = {false, false, false, false, true, true, true, false, false, true};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(ColourAt(i), reds[i] ? red : black) << "position " << i;
    }
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "Lines: 1");
    // The next rebuild removes the colours.
    mainWindow.RefreshView();
    EXPECT_NE(ColourAt(4), red);
}

TEST_F(PopupTest, CaretGoesToTheEndOfTheLastLine) {
    mainWindow.Document().Add("ab");
    mainWindow.Document().Add("cde");
    mainWindow.RefreshView();
    Child<QAction>(mainWindow, "N2")->trigger();
    EXPECT_EQ(Child<QPlainTextEdit>(mainWindow, "RichEdit_Text")->textCursor().position(),
              6);  // after "cde"
    mainWindow.EmptyView();
    EXPECT_EQ(Child<QPlainTextEdit>(mainWindow, "RichEdit_Text")->textCursor().position(), 0);
}

TEST_F(PopupTest, CopyAllPutsTheWholeTextOnTheClipboardAndKeepsItSelected) {
    mainWindow.Document().Add("one");
    mainWindow.Document().Add("\xE4\xE2\xE0");
    mainWindow.RefreshView();
    Child<QAction>(mainWindow, "N3")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("one\nдва\n"));
    EXPECT_EQ(
        Child<QPlainTextEdit>(mainWindow, "RichEdit_Text")->textCursor().selectedText().size(),
        ViewText().size());
}

TEST_F(PopupTest, CommandsDoNothingOnAnEmptyView) {
    Child<QAction>(mainWindow, "N2")->trigger();
    Child<QAction>(mainWindow, "N3")->trigger();
    Child<QAction>(mainWindow, "N4")->trigger();
    EXPECT_TRUE(ViewText().isEmpty());
    EXPECT_TRUE(dialogs.openFolders.isEmpty());
}

TEST_F(MainWindowTest, StatisticsInBothLanguages) {
    mainWindow.Document().Add("ab");
    mainWindow.Document().Add("c");
    mainWindow.Document().Add("");
    mainWindow.SetDisplayLimit(kDisplayLimitAll);
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "Lines: 3");
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_2")->text(), "Characters: 9");
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_3")->text(), "Max. number of characters per line: 2");
    mainWindow.SwitchToRussian();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), QString::fromUtf8("Строк: 3"));
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_2")->text(), QString::fromUtf8("Символов: 9"));
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_3")->text(),
              QString::fromUtf8("Max. символов в строке: 2"));
    mainWindow.ToggleLanguage();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "Lines: 3");
}

TEST_F(MainWindowTest, LongestLineComesFromTheWholeDocument) {
    SetLines(5000);
    mainWindow.Document().Put(4000, std::string(77, 'x'));
    mainWindow.RefreshView();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "Lines: 100");
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_3")->text(), "Max. number of characters per line: 77");
    mainWindow.EmptyView();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "Lines: 0");
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_2")->text(), "Characters: 0");
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_3")->text(), "Max. number of characters per line: 77");
}

TEST_F(MainWindowTest, ProgressAndLanguageSwitchOfTheWorkLabel) {
    mainWindow.ShowProgress(120);
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Work")->text(), "Lines processed: 120");
    mainWindow.SwitchToRussian();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Work")->text(),
              QString::fromUtf8("Обработано строк: "));
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Load_File")->text(),
              QString::fromUtf8("Загрузить файл:"));
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Select")->text(),
              QString::fromUtf8("Выбрать функцию:"));
}

TEST_F(MainWindowTest, NoLanguageLeavesEmptyPrefixesAndAToggleRepairsIt) {
    mainWindow.SetLanguageIndex(7);
    help.Captions() = {};
    mainWindow.ApplyLanguage();
    mainWindow.UpdateStatistics();
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "0");
    mainWindow.ToggleLanguage();
    EXPECT_EQ(mainWindow.LanguageIndex(), 0);
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "Lines: 0");
}

}  // namespace
}  // namespace quillex::testing
