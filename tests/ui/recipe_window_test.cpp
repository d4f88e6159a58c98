// Recipes in the window: the steps saved from the window replay in quillex-batch to the same
// bytes, a recipe applied to the document is one change, and a recipe over files leaves the
// document alone and the output folder as it was when cancelled.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "core/encoding.h"
#include "core/temp_dir.h"
#include "ui/text_bridge.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

// What the user does in the window for one case.
using UserSteps = std::function<void(MainWindow& window, FakeDialogs& dialogs)>;

struct RecipeCase {
    const char* name;
    UserSteps steps;
};

void Click(MainWindow& window, int function) {
    QComboBox* chooser = window.Panels().Controls().chooser;
    chooser->setCurrentIndex(function);
    QTest::mouseClick(window.Panels().Controls().startButtons[function], Qt::LeftButton);
}

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

const RecipeCase kCases[] = {
    {"trim, remove a Cyrillic word, add a left text",
     [](MainWindow& w, FakeDialogs&) {
         const PanelControls& c = w.Panels().Controls();
         c.trimSide->setCurrentIndex(2);
         Click(w, 10);
         c.removeWord->setText(Utf8("при"));
         Click(w, 11);
         c.leftText->setCurrentText(Utf8("« "));
         c.addLeft->setChecked(true);
         Click(w, 3);
     }},
    {"an undone step is left out; Cyrillic characters and a condition text",
     [](MainWindow& w, FakeDialogs&) {
         const PanelControls& c = w.Panels().Controls();
         c.cutCount->setCurrentText(QStringLiteral("2"));
         Click(w, 0);
         w.Undo();
         c.replacedChar->setCurrentText(Utf8("а"));
         c.replacementChar->setCurrentText(Utf8("ё"));
         Click(w, 1);
         c.condition->setCurrentIndex(9);
         c.conditionText->setText(Utf8("Ёж"));
         Click(w, 4);
     }},
    {"dedupe's round trip, then a removal of numbers",
     [](MainWindow& w, FakeDialogs& dialogs) {
         dialogs.openAnswers.push_back(w.LoadFileText());  // the written file, loaded again
         Click(w, 5);
         w.Panels().Controls().charClass->setCurrentIndex(1);
         Click(w, 6);
     }},
};

const char kText[] =
    "  Привет, мир 1  \r\nпри этом\r\nЁжик в тумане 22\r\nпривет, мир 1\r\nабв 3\r\n"
    "  Привет, мир 1  \r\nlast line";

class RecipeWindowTest : public ActiveWindowTest {
  protected:
    // Loads `bytes` as a file and waits for nothing: the work runs at once.
    QString Load(const char* name, const std::string& bytes) {
        const QString file = Write(name, bytes);
        mainWindow.LoadFile(file);
        return file;
    }
};

TEST_F(RecipeWindowTest, StepsSavedAsARecipeReplayInTheBatchRunnerToTheSameBytes) {
    for (const Encoding encoding : {Encoding::Windows1251, Encoding::Utf8}) {
        const std::string bytes = encoding == Encoding::Utf8
                                      ? std::string(kText)
                                      : EncodeCp1251(QString::fromUtf8(kText).toStdU16String());
        for (const RecipeCase& test : kCases) {
            SCOPED_TRACE(std::string(EncodingName(encoding)) + ": " + test.name);
            WriteBytes(dir_ / "original.txt", bytes);
            Load("input.txt", bytes);
            ASSERT_EQ(mainWindow.Document().GetEncoding(), encoding);
            test.steps(mainWindow, dialogs);

            const std::filesystem::path recipe = dir_ / "steps.recipe";
            dialogs.saveAnswers.push_back(QString::fromStdString(recipe.string()));
            mainWindow.SaveStepsAsRecipe();
            const std::filesystem::path saved = dir_ / "window.txt";
            dialogs.saveAnswers.push_back(QString::fromStdString(saved.string()));
            mainWindow.SaveDocument();
            ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'\n').toStdString();

            const std::filesystem::path replayed = dir_ / "batch.txt";
            QProcess batch;
            batch.setStandardOutputFile(QProcess::nullDevice());
            batch.start(QStringLiteral(QUILLEX_BATCH),
                        {QStringLiteral("--recipe"), QString::fromStdString(recipe.string()),
                         QStringLiteral("--encoding"), QStringLiteral("auto"),
                         QString::fromStdString((dir_ / "original.txt").string()),
                         QString::fromStdString(replayed.string())});
            ASSERT_TRUE(batch.waitForFinished());
            ASSERT_EQ(batch.exitCode(), 0) << ReadBytes(recipe);
            EXPECT_EQ(ReadBytes(replayed), ReadBytes(saved)) << ReadBytes(recipe);
        }
    }
}

TEST_F(RecipeWindowTest, ARecipeIsOneChangeAndAFailingStepOrACancelChangesNothing) {
    Load("input.txt", "  b  \r\na\r\nb\r\n");
    WriteBytes(dir_ / "good.recipe", "quillex-recipe 1\ntrim --side 2\ndedupe\n");
    dialogs.openAnswers.push_back(QString::fromStdString((dir_ / "good.recipe").string()));
    mainWindow.ApplyRecipe();
    EXPECT_EQ(mainWindow.Document().ToLines(), std::vector<std::string>({"b", "a"}));
    mainWindow.Undo();
    EXPECT_EQ(mainWindow.Document().ToLines(), std::vector<std::string>({"  b  ", "a", "b"}));
    mainWindow.Redo();
    EXPECT_EQ(mainWindow.Open().StepsSinceLoad(),
              (std::vector<StepWordList>{{"trim", "--side", "2"}, {"dedupe"}}));

    // An empty character to find fails at run time, after a step that did change lines.
    WriteBytes(dir_ / "bad.recipe", "trim --side 2\nreplace-char --from \"\"\n");
    dialogs.openAnswers.push_back(QString::fromStdString((dir_ / "bad.recipe").string()));
    mainWindow.ApplyRecipe();
    EXPECT_EQ(mainWindow.Document().ToLines(), std::vector<std::string>({"b", "a"}));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("line 2, replace-char")))
        << dialogs.messages[0].toStdString();

    WriteBytes(dir_ / "unknown.recipe", "trim\nno-such-function\n");
    dialogs.openAnswers.push_back(QString::fromStdString((dir_ / "unknown.recipe").string()));
    mainWindow.ApplyRecipe();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages[1].contains(QStringLiteral("line 2")))
        << dialogs.messages[1].toStdString();

    mainWindow.Work().SetInlineWatch([this] { mainWindow.Work().Cancel(); });
    dialogs.openAnswers.push_back(QString::fromStdString((dir_ / "good.recipe").string()));
    mainWindow.ApplyRecipe();
    EXPECT_EQ(mainWindow.Document().ToLines(), std::vector<std::string>({"b", "a"}));
    EXPECT_EQ(mainWindow.History().UndoCount(), 2u);  // the load and the first recipe
}

TEST_F(RecipeWindowTest, ARecipeOverFilesWritesEachLeavesTheDocumentAndACancelLeavesTheFolder) {
    Load("document.txt", "kept\r\n");
    WriteBytes(dir_ / "r.recipe", "trim --side 2\n");
    std::filesystem::create_directory(dir_ / "out");
    const QString a = Write("a.txt", " a \r\n");
    const QString b = Write("b.txt", " b \r\n");
    const QString folder = QString::fromStdString((dir_ / "out").string());
    const auto ask = [&](QStringList files, QString into) {
        dialogs.openAnswers.push_back(QString::fromStdString((dir_ / "r.recipe").string()));
        dialogs.filesAnswers.push_back(files);
        dialogs.folderAnswers.push_back(into);
        mainWindow.ApplyRecipeToFiles();
    };

    WriteBytes(dir_ / "out" / "a.txt", "old\r\n");
    mainWindow.Work().SetInlineWatch([this] { mainWindow.Work().Cancel(); });
    ask({a, b}, folder);
    mainWindow.Work().SetInlineWatch({});
    EXPECT_EQ(ReadBytes(dir_ / "out" / "a.txt"), "old\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "out"), {}), 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // A file that fails among good ones; the outputs are written and the document kept.
    ask({a, QString::fromStdString((dir_ / "missing.txt").string()), b}, folder);
    EXPECT_EQ(ReadBytes(dir_ / "out" / "a.txt"), "a\r\n");
    EXPECT_EQ(ReadBytes(dir_ / "out" / "b.txt"), "b\r\n");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(QStringLiteral("2 files written")))
        << dialogs.messages[0].toStdString();
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("missing.txt")));
    EXPECT_EQ(mainWindow.Document().ToLines(), std::vector<std::string>({"kept"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "out"), {}), 2);

    // An output that would be one of the inputs refuses the run before anything is written.
    ask({a, QString::fromStdString((dir_ / "out" / "a.txt").string())}, folder);
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages[1].startsWith(QStringLiteral("Nothing was written")))
        << dialogs.messages[1].toStdString();
    EXPECT_EQ(ReadBytes(dir_ / "out" / "a.txt"), "a\r\n");
}

}  // namespace
}  // namespace quillex::testing
