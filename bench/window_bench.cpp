// The window side of a view rebuild: RefreshView filling the view to its capacity (one batch,
// statistics once) and the Cyrillic highlight of that full view. Runs on the offscreen
// platform.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "core/display_limit.h"
#include "platform/cursor.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/skin.h"

namespace {

class NoDialogs final : public quillex::Dialogs {
  public:
    std::optional<QString> OpenFile(const QString&) override { return std::nullopt; }
    std::optional<QString> SaveFile(const QString&) override { return std::nullopt; }
    void Message(const QString&) override {}
    void Error(const QString&) override {}
};

struct Window {
    NoDialogs dialogs;
    quillex::SystemCursor cursor;
    quillex::TfmMain fmMain{dialogs, cursor};

    explicit Window(std::size_t lines) {
        for (std::size_t i = 0; i < lines; ++i) {
            fmMain.DocumentLines.Add("line " + std::to_string(i) +
                                     " text \xCF\xF0\xE8\xE2\xE5\xF2 and more words");
        }
    }
};

void BM_RefreshViewToCapacity(benchmark::State& state) {
    Window window(static_cast<std::size_t>(state.range(0)));
    window.fmMain.N0_Click(quillex::kDisplayLimitAll);
    for (auto _ : state) {
        window.fmMain.RefreshView();
    }
}
BENCHMARK(BM_RefreshViewToCapacity)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_RefreshViewFirst100(benchmark::State& state) {
    Window window(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        window.fmMain.RefreshView();
    }
}
BENCHMARK(BM_RefreshViewFirst100)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_HighlightFullView(benchmark::State& state) {
    Window window(5000);
    window.fmMain.N0_Click(quillex::kDisplayLimitAll);
    for (auto _ : state) {
        window.fmMain.Btn_18Click();
    }
}
BENCHMARK(BM_HighlightFullView)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    quillex::InitSkinResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
