// How long a Start handler's work takes over a 1,000,000-line document, for every line
// function, run at once on the calling thread (the window runs it on a worker). The round-trip
// functions include writing their result file; the load dialog that follows is the user's
// time, so the fake window skips it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QWidget>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "ui/panels/function_panels.h"
#include "ui/work_runner.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLines = 1'000'000;

class NoReport : public quillex::ErrorReport {
  public:
    void ShowError(const QString&) override {}
};

class BenchHost : public quillex::RunHost {
  public:
    NoReport report;
    quillex::WorkRunner work{quillex::WorkRunner::Where::Inline, report};
    quillex::DocumentLines document;
    quillex::CaptionTable captions;
    QString loadFile;

    quillex::DocumentLines& Document() override { return document; }
    quillex::WorkRunner& Work() override { return work; }
    QString LoadFileText() const override { return loadFile; }
    void ShowProgress(std::size_t) override {}
    void ShowRunError() override {}
    const quillex::CaptionTable& Captions() const override { return captions; }
    void ShowMessage(const QString&) override {}
    void RefreshView() override {}
    void RunLoadCommand() override {}
};

// About 60 bytes a line: words, blanks at both ends of some lines, punctuation, digits,
// file names (some ending in ".ru"), the word "con" now and then, a few repeated lines.
quillex::DocumentLines MakeDocument() {
    std::mt19937 random(7);
    const char* words[] = {
        "alpha",    "beta",    "con", "report", "data", "\xE4\xE0\xED\xED\xFB\xE5",
        "file.txt", "site.ru", "50%", "ok?",    "$5",   "Result:"};
    quillex::Lines lines;
    lines.reserve(kLines);
    for (std::size_t i = 0; i < kLines; ++i) {
        std::string line = (random() % 4 == 0) ? "  " : "";
        const int count = 3 + static_cast<int>(random() % 8);
        for (int w = 0; w < count; ++w) {
            line += words[random() % std::size(words)];
            line += ' ';
        }
        line += std::to_string(random() % (kLines / 2));
        if (random() % 3 == 0) {
            line += ".ru";
        }
        lines.push_back(std::move(line));
    }
    return quillex::DocumentLines(lines);
}

const quillex::DocumentLines& Document() {
    static const quillex::DocumentLines lines = MakeDocument();
    return lines;
}

void BM_StartHandler(benchmark::State& state) {
    const int function = static_cast<int>(state.range(0));
    const fs::path dir = fs::temp_directory_path() / "quillex-panels-bench";
    fs::create_directories(dir);

    BenchHost host;
    host.loadFile = QString::fromStdString((dir / "load.txt").string());
    QWidget window;
    auto* panels = new quillex::FunctionPanels(&window, host, host.report);
    const quillex::PanelControls& c = panels->Controls();
    c.addLeft->setChecked(true);
    c.addRight->setChecked(true);
    c.joinMarker->setChecked(true);

    for (auto _ : state) {
        state.PauseTiming();
        host.document = Document();
        state.ResumeTiming();
        c.startButtons[function]->click();
        benchmark::DoNotOptimize(host.document.Count());
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_StartHandler)
    ->DenseRange(0, 11)
    ->ArgName("function")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
