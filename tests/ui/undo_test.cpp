#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <functional>
#include <memory>

#include "core/temp_dir.h"
#include "ui/titled_menu.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

class UndoTest : public MainWindowTest {
  protected:
    // Keys reach the window's shortcuts only while it is the active window.
    UndoTest() {
        mainWindow.show();
        QApplication::setActiveWindow(&mainWindow);
    }
    ~UndoTest() override { QDir::setCurrent(startFolder_); }

    QString Write(const char* name, std::string_view bytes) {
        WriteBytes(dir_ / name, bytes);
        return QString::fromStdString((dir_ / name).string());
    }
    void Load(const QString& path) {
        dialogs.openAnswers.push_back(path);
        mainWindow.ChooseAndLoadFile();
    }
    // A round-trip function's Start, the load dialog that follows it cancelled.
    void RunRoundTrip(int function) {
        dialogs.openAnswers.push_back(std::nullopt);
        mainWindow.Panels().Controls().startButtons[function]->click();
    }
    void Key(QKeyCombination keys) {
        QTest::keyClick(&mainWindow, keys.key(), keys.keyboardModifiers());
    }
    std::size_t Backups() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(backups.path()), {}));
    }

    // What undo and redo must give back.
    struct State {
        Lines lines;
        QString view;
        QString work;
        QString loadField;
        friend bool operator==(const State&, const State&) = default;
        friend void PrintTo(const State& s, std::ostream* out) {
            *out << s.lines.size() << " lines, view '" << s.view.toStdString() << "', '"
                 << s.work.toStdString() << "', '" << s.loadField.toStdString() << "'";
        }
    };
    State Now() const {
        return {mainWindow.Document().ToLines(), ViewText(),
                Child<QLabel>(mainWindow, "Lbl_Work")->text(),
                Child<QLineEdit>(mainWindow, "Edit_Load_File")->text()};
    }

    TempDir dir_;

  private:
    QString startFolder_ = QDir::currentPath();
};

TEST_F(UndoTest, EveryKindOfChangeIsUndoneAndRedone) {
    struct {
        const char* name;
        std::function<void()> change;
    } const cases[] = {
        {"in place", [this] { mainWindow.Panels().Controls().startButtons[10]->click(); }},
        {"removal", [this] { mainWindow.Panels().Controls().startButtons[4]->click(); }},
        {"clear", [this] { Child<QAction>(mainWindow, "N4")->trigger(); }},
        {"load", [this] { Load(Write("other.txt", "x\r\ny\r\n")); }},
    };
    for (const auto& c : cases) {
        Load(Write("doc.txt", "a  b\r\n\r\n  c\r\n"));
        const State before = Now();
        c.change();
        const State after = Now();
        ASSERT_NE(before, after) << c.name;
        Key(Qt::CTRL | Qt::Key_Z);
        EXPECT_EQ(Now(), before) << c.name;
        Key(Qt::CTRL | Qt::Key_Y);
        EXPECT_EQ(Now(), after) << c.name;
        Key(Qt::CTRL | Qt::Key_Z);
        Key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        EXPECT_EQ(Now(), after) << c.name;
    }
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
}

TEST_F(UndoTest, UndoneLoadOfAFileCutAtANulAsksAgainBeforeASaveOverIt) {
    const QString cut = Write("cut.txt", std::string("a\r\n\0rest", 8));
    Load(cut);
    Load(Write("other.txt", "b\r\n"));
    mainWindow.Undo();
    dialogs.saveAnswers.push_back(cut);
    dialogs.askAnswers.push_back(false);
    mainWindow.SaveDocument();
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(ReadBytes(dir_ / "cut.txt"), std::string("a\r\n\0rest", 8));
}

TEST_F(UndoTest, RunThatChangesNothingAndSavingAreNoChanges) {
    Load(Write("doc.txt", "a\r\nb\r\n"));
    mainWindow.Panels().Controls().startButtons[10]->click();  // nothing to trim
    dialogs.saveAnswers.push_back(QString::fromStdString((dir_ / "out.txt").string()));
    mainWindow.SaveDocument();
    EXPECT_EQ(mainWindow.History().UndoCount(), 1u);  // the load only
}

TEST_F(UndoTest, RoundTripPutsTheLoadFileBackAndWritesItAgain) {
    const std::string old = "a\r\nA\r\nb\r\n";
    const QString path = Write("doc.txt", old);
    Load(path);
    RunRoundTrip(5);
    const std::string result = ReadBytes(dir_ / "doc.txt");
    ASSERT_NE(result, old);
    EXPECT_EQ(Backups(), 1u);
    mainWindow.Undo();
    EXPECT_EQ(ReadBytes(dir_ / "doc.txt"), old);
    mainWindow.Redo();
    EXPECT_EQ(ReadBytes(dir_ / "doc.txt"), result);
    EXPECT_EQ(Backups(), 1u);
    EXPECT_TRUE(dialogs.questions.isEmpty());
}

TEST_F(UndoTest, FileChangedOnDiskIsAskedAboutAndOnNoOnlyTheDocumentReturns) {
    const QString path = Write("doc.txt", "one.txt\r\ntwo.doc\r\nthree.txt\r\n");
    mainWindow.Panels().Controls().extension->setText(".txt");
    for (bool overwrite : {false, true}) {
        Load(path);
        const Lines before = mainWindow.Document().ToLines();
        RunRoundTrip(9);
        WriteBytes(dir_ / "doc.txt", "someone else's bytes\r\n");
        dialogs.askAnswers.push_back(overwrite);
        mainWindow.Undo();
        EXPECT_EQ(mainWindow.Document().ToLines(), before) << overwrite;
        EXPECT_EQ(ReadBytes(dir_ / "doc.txt"),
                  overwrite ? "one.txt\r\ntwo.doc\r\nthree.txt\r\n" : "someone else's bytes\r\n");
        EXPECT_TRUE(dialogs.questions.back().contains(path))
            << dialogs.questions.back().toStdString();
        WriteBytes(dir_ / "doc.txt", "one.txt\r\ntwo.doc\r\nthree.txt\r\n");
    }
    EXPECT_EQ(dialogs.questions.size(), 2);
}

TEST_F(UndoTest, BackupOutlivesACrashAndGoesWithANormalExit) {
    const QString path = Write("doc.txt", "a\r\na\r\n");
    for (bool normalExit : {false, true}) {
        auto window = std::make_unique<MainWindow>(Services());
        dialogs.openAnswers = {path, std::nullopt};
        window->ChooseAndLoadFile();
        window->Panels().Controls().startButtons[5]->click();
        ASSERT_EQ(Backups(), 1u);
        if (normalExit) {
            window->close();
        }
        window.reset();
        EXPECT_EQ(Backups(), normalExit ? 0u : 1u) << normalExit;
        std::filesystem::remove_all(backups.path());
        WriteBytes(dir_ / "doc.txt", "a\r\na\r\n");
    }
}

TEST_F(UndoTest, MenuItemsAreCaptionedInEitherLanguageAndGreyedWhenThereIsNothing) {
    SetLines(2);
    mainWindow.RefreshView();
    mainWindow.SwitchToRussian();
    mainWindow.PrepareViewMenu();
    EXPECT_EQ(Child<QAction>(mainWindow, "N5")->text(), QString::fromUtf8("Отменить"));
    EXPECT_EQ(Child<QAction>(mainWindow, "N6")->text(), QString::fromUtf8("Повторить"));
    EXPECT_FALSE(Child<QAction>(mainWindow, "N5")->isEnabled());
    mainWindow.Panels()
        .Controls()
        .startButtons[3]
        ->click();  // add text: both boxes clear, no change
    Child<QAction>(mainWindow, "N4")->trigger();
    mainWindow.SwitchToEnglish();
    mainWindow.PrepareViewMenu();  // the view is empty: the "*" menu, undo hidden
    EXPECT_FALSE(Child<QAction>(mainWindow, "N5")->isVisible());
    mainWindow.Undo();
    mainWindow.PrepareViewMenu();
    EXPECT_EQ(Child<QAction>(mainWindow, "N5")->text(), "Undo");
    EXPECT_EQ(Child<QAction>(mainWindow, "N6")->text(), "Redo");
    EXPECT_FALSE(Child<QAction>(mainWindow, "N5")->isEnabled());
    EXPECT_TRUE(Child<QAction>(mainWindow, "N6")->isEnabled());
    const QList<QAction*> items = Child<TitledMenu>(mainWindow, "Menu_RichEdit_Text")->actions();
    EXPECT_EQ(items.indexOf(Child<QAction>(mainWindow, "N6")), 1);
}

}  // namespace
}  // namespace quillex::testing
