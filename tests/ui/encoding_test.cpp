// A UTF-8 file in the window: detected on load, shown and counted by code point, highlighted,
// read the other way from the popup menu (a change that can be undone), saved with its mark.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "core/temp_dir.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

class EncodingTest : public MainWindowTest {
  protected:
    void Load(std::string_view bytes) {
        WriteBytes(dir_ / "in.txt", bytes);
        dialogs.openAnswers.push_back(QString::fromStdString((dir_ / "in.txt").string()));
        mainWindow.ChooseAndLoadFile();
    }
    QString Label(const char* name) const { return Child<QLabel>(mainWindow, name)->text(); }
    bool Red(int position) {
        QTextCursor cursor(Child<QPlainTextEdit>(mainWindow, "RichEdit_Text")->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat().foreground().color() == QColor(255, 0, 0);
    }

    TempDir dir_;
};

TEST_F(EncodingTest, DetectedShownCountedAndHighlighted) {
    const struct {
        std::string bytes;
        const char* encoding;
        const char* view;
    } cases[] = {
        {"plain\r\n", "Windows-1251", "plain\n"},
        {"\xCF\xF0\xE8\r\n", "Windows-1251", "При\n"},  // Cyrillic that is not UTF-8
        {"При 😀\r\n", "UTF-8", "При 😀\n"},
    };
    for (const auto& c : cases) {
        Load(c.bytes);
        EXPECT_EQ(Label("Lbl_Encoding"), c.encoding);
        EXPECT_EQ(ViewText(), QString::fromUtf8(c.view));
    }
    // Five characters and a break; the longest line is five characters, not nine bytes.
    EXPECT_EQ(Label("Lbl_2"), "Characters: 7");
    EXPECT_EQ(Label("Lbl_3"), "Max. number of characters per line: 5");
    mainWindow.HighlightCyrillic();
    EXPECT_TRUE(Red(0) && Red(1) && Red(2));
    EXPECT_FALSE(Red(3) || Red(4));

    // A panel's character is a whole character of the document, here of two bytes for one.
    mainWindow.Panels().Controls().replacedChar->setEditText(QString::fromUtf8("р"));
    mainWindow.Panels().Controls().replacementChar->setEditText(QStringLiteral("p"));
    mainWindow.Panels().StartReplaceChar();
    EXPECT_EQ(mainWindow.Document().Get(0), "Пpи 😀");
}

TEST_F(EncodingTest, TheMenuReadsTheBytesTheOtherWayAndUndoReadsThemBack) {
    Load("\xEF\xBB\xBFЖ\r\n");
    EXPECT_EQ(ViewText(), QString::fromUtf8("Ж\n"));
    for (auto language : {&MainWindow::SwitchToEnglish, &MainWindow::SwitchToRussian}) {
        (mainWindow.*language)();
        mainWindow.PrepareViewMenu();
        EXPECT_TRUE(Child<QAction>(mainWindow, "N7")->isVisible());
        EXPECT_TRUE(Child<QAction>(mainWindow, "N7_0")->isChecked());
    }
    EXPECT_EQ(Child<QAction>(mainWindow, "N7")->text(), QString::fromUtf8("Кодировка"));
    mainWindow.SwitchToEnglish();
    mainWindow.PrepareViewMenu();
    EXPECT_EQ(Child<QAction>(mainWindow, "N7")->text(), "Encoding");
    EXPECT_EQ(Child<QAction>(mainWindow, "N7_1")->text(), "Windows-1251");

    Child<QAction>(mainWindow, "N7_1")->trigger();
    EXPECT_EQ(Label("Lbl_Encoding"), "Windows-1251");
    EXPECT_EQ(ViewText(), QString::fromUtf8("п»їР–\n"));  // the mark is the line's again
    mainWindow.Undo();
    EXPECT_EQ(Label("Lbl_Encoding"), "UTF-8");
    EXPECT_EQ(ViewText(), QString::fromUtf8("Ж\n"));

    // Saving keeps the encoding and the mark.
    dialogs.saveAnswers.push_back(QString::fromStdString((dir_ / "out.txt").string()));
    mainWindow.SaveDocument();
    EXPECT_EQ(ReadBytes(dir_ / "out.txt"), "\xEF\xBB\xBFЖ\r\n");
}

}  // namespace
}  // namespace quillex::testing
