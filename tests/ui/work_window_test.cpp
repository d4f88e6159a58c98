// Loading, saving and the line functions as work the window hands to its worker: a cancel at
// any point leaves no trace, the commands that would change the document wait meanwhile, and
// closing stops the work first. Inline work, stopped from its reports; one real worker last.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <filesystem>

#include "core/temp_dir.h"
#include "tests/ui/panel_fixture.h"
#include "ui/image_button.h"
#include "ui/text_bridge.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

std::size_t FilesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// More lines than one stride of reports, with empty lines, repeats and ".ru" lines, so that
// every function has something to do.
LineList ManyLines() {
    LineList lines;
    for (int i = 0; i < 5000; ++i) {
        lines.push_back(i % 3 == 0 ? "" : "line " + std::to_string(i % 4000) + ".ru");
    }
    return lines;
}

TEST_F(PanelsTest, ACancelAtAnyReportLeavesNoTrace) {
    const LineList lines = ManyLines();
    // An in-place rewrite, a removal, and two round trips (the second keeps fewer lines).
    for (int function : {0, 4, 5, 9}) {
        SCOPED_TRACE(function);
        SetLines(lines);
        WriteBytes(LoadFilePath(), "old\r\n");
        int reports = 0;
        host_.work.SetInlineWatch([&] { ++reports; });
        Start(function);
        ASSERT_GE(reports, 3);
        for (int at = 1; at <= reports; ++at) {
            SCOPED_TRACE(at);
            SetLines(lines);
            WriteBytes(LoadFilePath(), "old\r\n");
            host_.events.clear();
            int seen = 0;
            host_.work.SetInlineWatch([&] {
                if (++seen == at) {
                    host_.work.Cancel();
                }
            });
            Start(function);
            EXPECT_EQ(Lines(), lines);
            EXPECT_EQ(host_.events, Events{});
            EXPECT_EQ(ReadBytes(LoadFilePath()), "old\r\n");
            EXPECT_EQ(FilesIn(dir_.path()), 1u);  // no temporary file left beside it
            EXPECT_TRUE(c().startButtons[function]->isVisible());
        }
    }
}

class WindowWorkTest : public ActiveWindowTest {
  protected:
    // Cancels the work at its first report, after `look` has looked at the window.
    void CancelAtFirstReport(std::function<void()> look = {}) {
        mainWindow.Work().SetInlineWatch([this, look, done = false]() mutable {
            if (!done) {
                done = true;
                if (look) {
                    look();
                }
                mainWindow.Work().Cancel();
            }
        });
    }
};

TEST_F(WindowWorkTest, ACancelledLoadOrSaveChangesNothing) {
    SetLines(3);
    const QString folder = QDir::currentPath();
    CancelAtFirstReport();
    dialogs.openAnswers.push_back(Write("other.txt", "a\r\nb\r\n"));
    mainWindow.ChooseAndLoadFile();
    EXPECT_EQ(mainWindow.Document().Count(), 3u);
    EXPECT_EQ(mainWindow.LoadFileText(), "");
    EXPECT_EQ(QDir::currentPath(), folder);
    EXPECT_FALSE(mainWindow.History().CanUndo());

    const QString target = Write("target.txt", "old\r\n");
    CancelAtFirstReport();
    dialogs.saveAnswers.push_back(target);
    mainWindow.SaveDocument();
    EXPECT_EQ(ReadBytes(ToPath(target)), "old\r\n");
    EXPECT_EQ(FilesIn(dir_.path()), 2u);  // no temporary file beside the target
    EXPECT_EQ(Child<QLineEdit>(mainWindow, "Edit_Save_File")->text(), "");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(WindowWorkTest, WhileWorkRunsTheDocumentWaitsAndEscCancels) {
    SetLines(5);
    const QString label = Child<QLabel>(mainWindow, "Lbl_Work")->text();
    const QImage openLook = Child<ImageButton>(mainWindow, "Btn_Load_File")->grab().toImage();
    bool looked = false;
    mainWindow.Work().SetInlineWatch([&] {
        if (looked) {
            return;
        }
        looked = true;
        EXPECT_FALSE(Child<ImageButton>(mainWindow, "Btn_Load_File")->isEnabled());
        EXPECT_FALSE(Child<ImageButton>(mainWindow, "Btn_Save_File")->isEnabled());
        // And look it.
        EXPECT_NE(Child<ImageButton>(mainWindow, "Btn_Load_File")->grab().toImage(), openLook);
        EXPECT_FALSE(Child<QComboBox>(mainWindow, "ComboBox_Select")->isEnabled());
        EXPECT_TRUE(Child<QLineEdit>(mainWindow, "Edit_Load_File")->isReadOnly());
        EXPECT_FALSE(Child<QPushButton>(mainWindow, "Btn_0")->isVisible());
        EXPECT_TRUE(Child<QPushButton>(mainWindow, "Btn_Cancel")->isVisible());
        mainWindow.PrepareViewMenu();
        for (const char* item : {"N4", "N5", "N6"}) {
            EXPECT_FALSE(Child<QAction>(mainWindow, item)->isEnabled()) << item;
        }
        // Work that cannot start now does nothing.
        mainWindow.ChooseAndLoadFile();
        mainWindow.Undo();
        QTest::keyClick(&mainWindow, Qt::Key_Escape);
    });
    Pick(0);
    QTest::mouseClick(Child<QPushButton>(mainWindow, "Btn_0"), Qt::LeftButton);
    ASSERT_TRUE(looked);
    EXPECT_EQ(mainWindow.Document().Get(0), "line 0");
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_Work")->text(), label);
    EXPECT_TRUE(Child<ImageButton>(mainWindow, "Btn_Load_File")->isEnabled());
    EXPECT_TRUE(Child<QComboBox>(mainWindow, "ComboBox_Select")->isEnabled());
    EXPECT_FALSE(Child<QLineEdit>(mainWindow, "Edit_Load_File")->isReadOnly());
    EXPECT_TRUE(Child<QPushButton>(mainWindow, "Btn_0")->isVisible());
    EXPECT_FALSE(Child<QPushButton>(mainWindow, "Btn_Cancel")->isVisible());
}

// The message at the end of a piece of work tells of work that is over: behind it the window
// shows no bar, no Cancel and no greyed controls, and the bar's delay running out meanwhile
// does not bring the bar up.
TEST_F(WindowWorkTest, BehindTheMessageOfAFinishedRunTheWindowIsIdle) {
    int looked = 0;
    dialogs.onMessage = [&] {
        ++looked;
        EXPECT_TRUE(mainWindow.Work().Busy());  // still inside the piece's end
        emit mainWindow.Work().ShareShown(true);
        EXPECT_FALSE(Child<QProgressBar>(mainWindow, "Progress_Work")->isVisible());
        EXPECT_FALSE(Child<QPushButton>(mainWindow, "Btn_Cancel")->isVisible());
        EXPECT_TRUE(Child<QPushButton>(mainWindow, "Btn_0")->isVisible());
        EXPECT_TRUE(Child<QComboBox>(mainWindow, "ComboBox_Select")->isEnabled());
        EXPECT_TRUE(Child<ImageButton>(mainWindow, "Btn_Load_File")->isEnabled());
        emit mainWindow.Work().ShareShown(false);
    };
    dialogs.openAnswers.push_back(QString::fromStdString((dir_ / "missing.txt").string()));
    mainWindow.ChooseAndLoadFile();  // fails: the message comes from the load's end
    SetLines(2);
    Child<QLineEdit>(mainWindow, "Edit_Load_File")->setText(QStringLiteral("no/such/dir/x.txt"));
    mainWindow.Panels().Controls().startButtons[5]->click();  // the round trip's write fails
    EXPECT_EQ(looked, 2);
    EXPECT_FALSE(Child<QProgressBar>(mainWindow, "Progress_Work")->isVisible());
}

TEST_F(WindowWorkTest, ClosingDuringWorkStopsItAndThenCloses) {
    SetLines(2);
    const QString target = Write("target.txt", "old\r\n");
    QSignalSpy closed(&mainWindow, &MainWindow::Closed);
    CancelAtFirstReport([&] {
        mainWindow.close();
        EXPECT_EQ(closed.count(), 0);  // not before the work has stopped
    });
    dialogs.saveAnswers.push_back(target);
    mainWindow.SaveDocument();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(ReadBytes(ToPath(target)), "old\r\n");
    EXPECT_EQ(FilesIn(dir_.path()), 1u);
}

// The same window with a real worker: a run, then a round trip whose load dialog opens on the
// window's thread once the result is written.
class RealWorkerTest : public ::testing::Test, protected FakeServices {
  protected:
    RealWorkerTest() {
        window_.Attach(splash_, help_);
        window_.SetSplashShown(true);
        window_.ApplyLanguage();
    }
    MainWindowServices WorkerServices() {
        MainWindowServices services = Services();
        services.work = WorkRunner::Where::Worker;
        return services;
    }
    bool WaitUntilIdle() {
        QSignalSpy changes(&window_.Work(), &WorkRunner::BusyChanged);
        while (window_.Work().Busy()) {
            if (!changes.wait(30000)) {
                return false;
            }
        }
        return true;
    }

    TempDir dir_;
    MainWindow window_{WorkerServices()};
    SplashWindow splash_{settings};
    HelpWindow help_;
};

TEST_F(RealWorkerTest, RunsAndRoundTripsEndOnTheWindowsThread) {
    const auto loadFile = dir_ / "load.txt";
    WriteBytes(loadFile, "b\r\na\r\nB\r\n");
    dialogs.openAnswers.push_back(QString::fromStdString(loadFile.string()));
    window_.ChooseAndLoadFile();
    ASSERT_TRUE(WaitUntilIdle());
    ASSERT_EQ(window_.Document().Count(), 3u);

    window_.Panels().Controls().startButtons[0]->click();  // cut one character
    EXPECT_TRUE(window_.Work().Busy());
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(window_.Document().ToLines(), Lines({"", "", ""}));
    EXPECT_EQ(Child<QLabel>(window_, "Lbl_Work")->text(), "Lines processed: 3");

    window_.Undo();
    dialogs.openAnswers.push_back(std::nullopt);
    window_.Panels().Controls().startButtons[5]->click();  // dedupe
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(ReadBytes(loadFile), "b\r\na\r\n");
    ASSERT_EQ(dialogs.openThreads.size(), 2);  // the load dialog came up after the write
    EXPECT_EQ(dialogs.openThreads.back(), QThread::currentThread());
    EXPECT_EQ(window_.Document().Count(), 3u);
}

}  // namespace
}  // namespace quillex::testing
