#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/shell_target.h"
#include "platform/cursor.h"
#include "platform/shell.h"
#include "platform/tray.h"
#include "tests/core/memory_settings_store.h"
#include "tests/core/temp_dir.h"
#include "tests/ui/child.h"
#include "tests/ui/fake_report.h"
#include "ui/dialogs.h"
#include "ui/image_button.h"
#include "ui/main_window.h"
#include "ui/panels/function_panels.h"
#include "ui/splash_window.h"
#include "ui/titled_menu.h"

namespace quillex::testing {

// Dialogs that answer from a script and record what they were asked.
class FakeDialogs final : public Dialogs {
  public:
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<QStringList> filesAnswers;
    std::deque<std::optional<QString>> folderAnswers;
    QStringList openFolders;
    QList<QThread*> openThreads;  // the thread each open dialog came up on
    QStringList saveFolders;
    QStringList lastFilters;
    QStringList messages;
    std::deque<bool> askAnswers;
    QStringList questions;
    // Runs while a message is up, to look at the window behind it.
    std::function<void()> onMessage;

    std::optional<QString> OpenFile(const QString& folder, const QStringList& filters) override {
        openFolders << folder;
        openThreads << QThread::currentThread();
        lastFilters = filters;
        return Next(openAnswers);
    }
    std::optional<QString> SaveFile(const QString& folder, const QStringList& filters) override {
        saveFolders << folder;
        lastFilters = filters;
        return Next(saveAnswers);
    }
    QStringList OpenFiles(const QString&, const QStringList& filters) override {
        lastFilters = filters;
        if (filesAnswers.empty()) {
            ADD_FAILURE() << "a dialog was shown that the test did not expect";
            return {};
        }
        QStringList answer = std::move(filesAnswers.front());
        filesAnswers.pop_front();
        return answer;
    }
    std::optional<QString> ChooseFolder(const QString&) override { return Next(folderAnswers); }
    void Message(const QString& text) override {
        messages << text;
        if (onMessage) {
            onMessage();
        }
    }
    bool Ask(const QString& text) override {
        questions << text;
        if (askAnswers.empty()) {
            ADD_FAILURE() << "a question was asked that the test did not expect";
            return false;
        }
        const bool answer = askAnswers.front();
        askAnswers.pop_front();
        return answer;
    }

  private:
    static std::optional<QString> Next(std::deque<std::optional<QString>>& answers) {
        if (answers.empty()) {
            ADD_FAILURE() << "a dialog was shown that the test did not expect";
            return std::nullopt;
        }
        // Taken out as a QString, not as a copy of the optional: GCC 12's optimiser warns
        // (falsely) that a copied empty optional<QString> reads uninitialised members.
        const bool cancelled = !answers.front().has_value();
        QString answer = cancelled ? QString() : std::move(*answers.front());
        answers.pop_front();
        if (cancelled) {
            return std::nullopt;
        }
        return answer;
    }
};

class FakeCursor final : public CursorSource {
  public:
    QPoint at{-1000, -1000};
    QPoint Position() const override { return at; }
};

// Records what it is asked to open, and opens nothing.
class RecordingShell final : public Shell {
  public:
    std::vector<ShellTarget> opened;
    void Open(const ShellTarget& target) override { opened.push_back(target); }
};

// Everything the main window asks of the outside world, as fakes.
struct FakeServices {
    MemorySettingsStore settings;
    FakeDialogs dialogs;
    FakeCursor cursor;
    FakeReport report;
    RecordingShell shell;
    bool trayAvailable = true;
    TempDir backups;  // the load file's kept bytes, instead of the user's cache folder

    MainWindowServices Services() {
        return {.dialogs = dialogs,
                .cursor = cursor,
                .report = report,
                .settings = settings,
                .shell = shell,
                .trayAvailable = [this] { return trayAvailable; },
                .backupFolder = backups.path(),
                .work = WorkRunner::Where::Inline};
    }
};

// The three windows as the program makes them, with fakes for the dialogs, the cursor, the
// settings store and the shell, the splash already done and the language applied.
class MainWindowTest : public ::testing::Test, protected FakeServices {
  protected:
    MainWindowTest() {
        mainWindow.Attach(splash, help);
        mainWindow.SetSplashShown(true);
        mainWindow.ApplyLanguage();
    }

    // A document of `count` lines "line 0", "line 1", ...
    void SetLines(std::size_t count) {
        mainWindow.Document().Clear();
        for (std::size_t i = 0; i < count; ++i) {
            mainWindow.Document().Add("line " + std::to_string(i));
        }
    }

    // Picks a chooser entry with the keyboard, as the user does.
    void Pick(int function) {
        QComboBox* chooser = mainWindow.Panels().Controls().chooser;
        QTest::keyClick(chooser, Qt::Key_Home);
        for (int k = 0; k < function; ++k) {
            QTest::keyClick(chooser, Qt::Key_Down);
        }
    }
    // The parameter panels the user can see.
    std::vector<int> VisiblePanels() {
        std::vector<int> visible;
        for (int k = 0; k < kFunctionCount; ++k) {
            if (mainWindow.Panels().Controls().panels[k]->isVisible()) {
                visible.push_back(k);
            }
        }
        return visible;
    }

    QString ViewText() const {
        return Child<QPlainTextEdit>(mainWindow, "RichEdit_Text")->toPlainText();
    }
    int ViewLines() const {
        const QString text = ViewText();
        return text.isEmpty() ? 0 : static_cast<int>(text.count(u'\n'));
    }

    MainWindow mainWindow{Services()};
    SplashWindow splash{settings};
    HelpWindow help;
};

// The same, shown and active (keys reach the window's shortcuts only then), with a folder for
// files; the working folder, which loading and saving change, is put back afterwards.
class ActiveWindowTest : public MainWindowTest {
  protected:
    ActiveWindowTest() {
        mainWindow.show();
        QApplication::setActiveWindow(&mainWindow);
    }
    ~ActiveWindowTest() override { QDir::setCurrent(startFolder_); }

    QString Write(const char* name, std::string_view bytes) {
        WriteBytes(dir_ / name, bytes);
        return QString::fromStdString((dir_ / name).string());
    }

    TempDir dir_;

  private:
    QString startFolder_ = QDir::currentPath();
};

}  // namespace quillex::testing
