#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/document_lines.h"
#include "tests/core/temp_dir.h"
#include "tests/ui/fake_report.h"
#include "ui/panels/function_panels.h"
#include "ui/run_host.h"
#include "ui/work_runner.h"

namespace quillex::testing {

// Records what a run asks of the main window, in order: "progress N", "run error",
// "refresh", "load", "message TEXT"; its messages are English.
class FakeHost : public RunHost {
  public:
    explicit FakeHost(ErrorReport& report) : work(WorkRunner::Where::Inline, report) {
        FillCaptionTable(kLanguageEnglish, captions);
    }

    WorkRunner work;
    DocumentLines document;
    CaptionTable captions;
    QString loadFileText;
    std::vector<std::string> events;
    // What the user does in the load dialog; by default cancels it.
    std::function<void()> onLoadCommand;

    DocumentLines& Document() override { return document; }
    WorkRunner& Work() override { return work; }
    QString LoadFileText() const override { return loadFileText; }
    void ShowProgress(std::size_t n) override { events.push_back("progress " + std::to_string(n)); }
    void ShowRunError() override { events.push_back("run error"); }
    const CaptionTable& Captions() const override { return captions; }
    void ShowMessage(const QString& text) override {
        events.push_back("message " + text.toStdString());
    }
    void RefreshView() override { events.push_back("refresh"); }
    void RunLoadCommand() override {
        events.push_back("load");
        if (onLoadCommand) {
            onLoadCommand();
        }
    }
};

using Events = std::vector<std::string>;
using LineList = std::vector<std::string>;

// A window holding the chooser and the panels, shown off screen, over a fake host whose load
// file lies in a fresh folder.
class PanelsTest : public ::testing::Test {
  protected:
    PanelsTest();

    const PanelControls& c() const { return panels_->Controls(); }
    std::filesystem::path LoadFilePath() const { return dir_ / "load.txt"; }

    void SetLines(LineList lines) { host_.document = DocumentLines(std::move(lines)); }
    LineList Lines() const { return host_.document.ToLines(); }

    // Picks entry `function` in the chooser with the keyboard, as a user would.
    void Pick(int function);
    // Picks the function and clicks its Start button with the mouse.
    void Start(int function);
    // The user confirms the load dialog with the file just written.
    void ConfirmLoadDialog();
    // The panels the user can see.
    std::vector<int> VisiblePanels() const;

    TempDir dir_;
    FakeReport report_;
    FakeHost host_{report_};
    QWidget window_;
    FunctionPanels* panels_;  // owned by window_
};

}  // namespace quillex::testing
