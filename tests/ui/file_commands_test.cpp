#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include <cstdint>
#include <filesystem>
#include <functional>

#include "core/temp_dir.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

class FileCommandsTest : public MainWindowTest {
  protected:
    ~FileCommandsTest() override { QDir::setCurrent(startFolder_); }

    QString Write(const char* name, std::string_view bytes) {
        WriteBytes(dir_ / name, bytes);
        return Path(name);
    }
    QString Path(const char* name) const { return QString::fromStdString((dir_ / name).string()); }
    QString Folder() const { return QString::fromStdString(dir_.path().string()); }

    void Load(const std::optional<QString>& answer) {
        dialogs.openAnswers.push_back(answer);
        mainWindow.ChooseAndLoadFile();
    }

    TempDir dir_;

  private:
    QString startFolder_ = QDir::currentPath();
};

TEST_F(FileCommandsTest, ConfirmedLoadFillsFieldHintDocumentAndView) {
    const QString path = Write("a.txt", "one\r\n\xCF\xF0\xE8\nthree");
    const QString before = QDir::currentPath();
    Load(path);
    ASSERT_EQ(dialogs.openFolders, QStringList{before});
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Load_File")->text(), path);
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Load_File")->toolTip(), path);
    EXPECT_EQ(mainWindow.LoadFileText(), path);
    EXPECT_EQ(mainWindow.Document().Count(), 3u);
    EXPECT_EQ(ViewText(), QString::fromUtf8("one\nПри\nthree\n"));
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "Lines: 3");
    EXPECT_TRUE(dialogs.messages.isEmpty());
    // The next dialog starts in the chosen file's folder.
    EXPECT_EQ(QDir(QDir::currentPath()).canonicalPath(), QDir(Folder()).canonicalPath());
}

TEST_F(FileCommandsTest, CancelledLoadKeepsEverythingAndRebuildsTheView) {
    const QString path = Write("a.txt", "x\ny\n");
    Load(path);
    mainWindow.EmptyView();  // the view emptied by hand
    ASSERT_TRUE(ViewText().isEmpty());
    Load(std::nullopt);
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Load_File")->text(), path);
    EXPECT_EQ(mainWindow.Document().Count(), 2u);
    EXPECT_EQ(ViewText(), "x\ny\n");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(FileCommandsTest, FailedLoadReportsThePathThenNamesTheLoadedFileAgain) {
    const QString good = Write("good.txt", "kept\n");
    Load(good);
    const QString missing = Path("missing.txt");
    Load(missing);
    EXPECT_EQ(dialogs.messages, QStringList{"File: " + missing + " error!"});
    // The field names the file whose lines are held, so nothing overwrites the wrong file.
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Load_File")->text(), good);
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Load_File")->toolTip(), good);
    ASSERT_EQ(mainWindow.Document().Count(), 1u);
    EXPECT_EQ(mainWindow.Document().Get(0), "kept");
    EXPECT_EQ(ViewText(), "kept\n");
}

TEST_F(FileCommandsTest, FailedFirstLoadLeavesTheFieldEmpty) {
    Child<QLineEdit>(mainWindow, "Edit_Load_File")->setText(QString());
    Load(Path("nowhere/missing.txt"));
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(Child<QLineEdit>(mainWindow, "Edit_Load_File")->text().isEmpty());
    EXPECT_TRUE(Child<QLineEdit>(mainWindow, "Edit_Load_File")->toolTip().isEmpty());
    EXPECT_EQ(mainWindow.Document().Count(), 0u);
}

// The text ends at the first NUL byte, and the user is told where; writing the document back
// over that file, by the save button or a round-trip function, asks first.
TEST_F(FileCommandsTest, BinaryFileLoadsUpToItsFirstZeroByteAndSaysSo) {
    const std::string bytes(
        "\x7F"
        "ELF\r\n\x01\0B\r\n",
        10);
    const QString path = Write("bin.dat", bytes);
    Load(path);
    ASSERT_EQ(mainWindow.Document().Count(), 2u);
    EXPECT_EQ(mainWindow.Document().Get(1), "\x01");
    const QString notice = "'" + path +
                           "': the text ends at byte 7, where the file holds a NUL byte; the rest "
                           "of the file was not loaded";
    EXPECT_EQ(dialogs.messages, QStringList{notice + "."});

    dialogs.saveAnswers = {path, path, Path("other.txt")};
    dialogs.askAnswers = {false, true};
    mainWindow.SaveDocument();  // declined: the file keeps its rest
    EXPECT_EQ(ReadBytes(dir_ / "bin.dat"), bytes);
    mainWindow.SaveDocument();
    EXPECT_EQ(ReadBytes(dir_ / "bin.dat"),
              "\x7F"
              "ELF\r\n\x01\r\n");
    mainWindow.SaveDocument();  // another file is not asked about
    ASSERT_EQ(dialogs.questions.size(), 2);
    EXPECT_TRUE(dialogs.questions[0].startsWith(notice + ". "))
        << dialogs.questions[0].toStdString();

    // A round-trip function asks too, and a No leaves the file and the document alone.
    Write("bin.dat", bytes);
    Load(path);
    dialogs.askAnswers = {false};
    mainWindow.Panels().Controls().startButtons[5]->click();
    EXPECT_EQ(ReadBytes(dir_ / "bin.dat"), bytes);
    EXPECT_EQ(dialogs.questions.size(), 3);
    EXPECT_EQ(mainWindow.Document().Count(), 2u);
}

// A UTF-16 file is refused rather than loaded as a line of garbage, and the message says why.
TEST_F(FileCommandsTest, Utf16FileFailsToLoad) {
    const QString path = Write("wide.txt", std::string("\xFF\xFE"
                                                       "A\0\r\0\n\0",
                                                       8));
    Load(path);
    EXPECT_EQ(dialogs.messages,
              QStringList{"File: " + path +
                          " error!\nThe file is UTF-16 text (it begins with a byte-order mark); "
                          "only single-byte text is loaded."});
    EXPECT_EQ(mainWindow.Document().Count(), 0u);
}

TEST_F(FileCommandsTest, LoadingKeepsTheDisplayLimit) {
    mainWindow.SetDisplayLimit(1);
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "l\n";
    }
    Load(Write("many.txt", text));
    EXPECT_EQ(mainWindow.DisplayLimit(), 1);
    EXPECT_EQ(ViewLines(), 200);
}

TEST_F(FileCommandsTest, ConfirmedSaveWritesTheTextFormAndTouchesNothingElse) {
    Load(Write("in.txt", "a\nb"));
    const QString labels = Child<QLabel>(mainWindow, "Lbl_1")->text() +
                           Child<QLabel>(mainWindow, "Lbl_2")->text() +
                           Child<QLabel>(mainWindow, "Lbl_3")->text();
    const QString target = Path("out.txt");
    dialogs.saveAnswers.push_back(target);
    mainWindow.SaveDocument();
    EXPECT_EQ(dialogs.saveFolders, QStringList{QCoreApplication::applicationDirPath()});
    EXPECT_EQ(ReadBytes(dir_ / "out.txt"), "a\r\nb\r\n");
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Save_File")->text(), target);
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Save_File")->toolTip(), target);
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Load_File")->text(), Path("in.txt"));
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text() +
                  Child<QLabel>(mainWindow, "Lbl_2")->text() +
                  Child<QLabel>(mainWindow, "Lbl_3")->text(),
              labels);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(FileCommandsTest, EmptyDocumentSavesAsZeroBytes) {
    dialogs.saveAnswers.push_back(Path("empty.txt"));
    mainWindow.SaveDocument();
    EXPECT_EQ(ReadBytes(dir_ / "empty.txt"), "");
}

TEST_F(FileCommandsTest, FailedSaveReportsTheSaveField) {
    mainWindow.Document().Add("x");
    const QString target = Path("no/such/folder/out.txt");
    dialogs.saveAnswers.push_back(target);
    mainWindow.SaveDocument();
    EXPECT_EQ(dialogs.messages, QStringList{"File: " + target + " error!"});
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Save_File")->text(), target);
}

TEST_F(FileCommandsTest, CancelledSaveChangesNothing) {
    dialogs.saveAnswers.push_back(std::nullopt);
    mainWindow.SaveDocument();
    EXPECT_TRUE(Child<QLineEdit>(mainWindow, "Edit_Save_File")->text().isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(FileCommandsTest, RunHostLoadCommandIsTheLoadButton) {
    const QString path = Write("r.txt", "r\n");
    dialogs.openAnswers.push_back(path);
    static_cast<RunHost&>(mainWindow).RunLoadCommand();
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Load_File")->text(), path);
    EXPECT_EQ(ViewText(), "r\n");
    static_cast<RunHost&>(mainWindow).ShowRunError();
    EXPECT_EQ(dialogs.messages, QStringList{"File: " + path + " error!"});
}

// The command line's file loads as the load button's choice would; a relative name is taken
// from the folder the program started in.
TEST_F(FileCommandsTest, StartFileLoadsLikeTheLoadButtonAndReportsTheSameWay) {
    const QString good = Write("start.txt", "first\r\nsecond\r\n");
    QDir::setCurrent(Folder());
    mainWindow.LoadStartFile({"Quillex", "start.txt"});
    EXPECT_EQ(QFileInfo(Child<QLineEdit>(mainWindow, "Edit_Load_File")->text()).canonicalFilePath(),
              QFileInfo(good).canonicalFilePath());
    EXPECT_EQ(ViewText(), "first\nsecond\n");
    EXPECT_TRUE(dialogs.messages.isEmpty());

    const QString missing = Path("missing.txt");
    mainWindow.LoadStartFile({"Quillex", missing});
    EXPECT_EQ(dialogs.messages, QStringList{"File: " + missing + " error!"});
    EXPECT_EQ(mainWindow.Document().Count(), 2u);

    mainWindow.LoadStartFile({"Quillex"});  // nothing named: no load, no dialog
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.openFolders.isEmpty());
}

TEST_F(FileCommandsTest, DroppedFileLoadsAndOtherDropsAreRefused) {
    const QString path = Write("dropped.txt", "d\n");
    struct Case {
        const char* name;
        QList<QUrl> urls;
        bool taken;
    };
    for (const Case& c : {Case{"web address", {QUrl("https://example.org/a.txt")}, false},
                          Case{"local file", {QUrl::fromLocalFile(path)}, true}}) {
        QMimeData data;
        data.setUrls(c.urls);
        QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&mainWindow, &enter);
        EXPECT_EQ(enter.isAccepted(), c.taken) << c.name;
        QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&mainWindow, &drop);
        EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Load_File")->text() == path, c.taken)
            << c.name;
    }
    EXPECT_EQ(ViewText(), "d\n");
    EXPECT_TRUE(dialogs.openFolders.isEmpty());
}

// Every way in (the load button, the command line, a drop) refuses a file larger than the
// window may hold before reading a byte of it, and points to what can clean it.
TEST_F(FileCommandsTest, AFileLargerThanTheWindowMayHoldIsRefusedUnread) {
    const QString good = Write("good.txt", "kept\n");
    Load(good);
    const QString big = Write("big.txt", "");
    std::filesystem::resize_file(dir_ / "big.txt", std::uintmax_t{3} << 29);  // sparse, 1.5 GiB
    mainWindow.SetLoadBound(std::uint64_t{100} << 20);
    const QString english = "File: " + big +
                            " error!\nThe file is 1.5 GB, more than the 100 MB of memory the "
                            "window may use. Clean it with quillex-batch, or with \"Apply recipe "
                            "to files…\" in the view's menu.";
    const std::function<void()> ways[] = {
        [&] { Load(big); },
        [&] {
            mainWindow.LoadStartFile({"Quillex", big});
        },
        [&] {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(big)});
            QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QCoreApplication::sendEvent(&mainWindow, &enter);
            QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
            QCoreApplication::sendEvent(&mainWindow, &drop);
        },
    };
    for (std::size_t k = 0; k < std::size(ways); ++k) {
        dialogs.messages.clear();
        ways[k]();
        EXPECT_EQ(dialogs.messages, QStringList{english}) << "way " << k;
        EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Load_File")->text(), good);
        ASSERT_EQ(mainWindow.Document().Count(), 1u);
        EXPECT_EQ(mainWindow.Document().Get(0), "kept");
    }
    EXPECT_EQ(mainWindow.History().UndoCount(), 1u);  // the first load only

    mainWindow.SetLanguageIndex(kLanguageRussian);
    mainWindow.ApplyLanguage();
    mainWindow.SetLoadBound(std::uint64_t{1} << 30);
    dialogs.messages.clear();
    Load(big);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].endsWith(QString::fromUtf8(
        "Файл занимает 1,5 ГБ, а окно может занять не больше 1,0 ГБ памяти. Обработайте его "
        "программой quillex-batch или пунктом «Применить рецепт к файлам…» в меню окна "
        "просмотра.")))
        << dialogs.messages[0].toStdString();
    EXPECT_EQ(mainWindow.Document().Count(), 1u);
}

TEST_F(FileCommandsTest, DialogsOfferEveryFileInTheInterfaceLanguage) {
    for (const auto& [language, all] : {std::pair{kLanguageEnglish, "All files (*)"},
                                        std::pair{kLanguageRussian, "Все файлы (*)"}}) {
        mainWindow.SetLanguageIndex(language);
        mainWindow.ApplyLanguage();
        Load(std::nullopt);
        EXPECT_EQ(dialogs.lastFilters,
                  (QStringList{"txt (*.txt)", "ini (*.ini)", QString::fromUtf8(all)}));
    }
}

}  // namespace
}  // namespace quillex::testing
