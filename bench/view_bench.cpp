// What a view rebuild costs over a large document: the core part (cutting the shown lines at
// the view's capacity, the longest line of the whole document) and, with the GUI, the whole
// RefreshView and the Cyrillic highlight of a full view.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/display_limit.h"
#include "core/view_text.h"

namespace {

// ~50 bytes a line, a fifth of them Cyrillic letters.
std::vector<std::string> MakeLines(std::size_t count) {
    std::vector<std::string> lines(count);
    for (std::size_t i = 0; i < count; ++i) {
        lines[i] = "line " + std::to_string(i) + " text \xCF\xF0\xE8\xE2\xE5\xF2 and more words";
    }
    return lines;
}

void BM_ComposeWholeFile(benchmark::State& state) {
    const quillex::DocumentLines lines(MakeLines(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        quillex::ViewText view = quillex::ComposeViewText(
            lines, quillex::LinesToShow(quillex::kDisplayLimitAll, lines.Count()));
        benchmark::DoNotOptimize(view);
    }
}
BENCHMARK(BM_ComposeWholeFile)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);

void BM_LongestLine(benchmark::State& state) {
    const quillex::DocumentLines lines(MakeLines(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(quillex::LongestLineLength(lines));
    }
}
BENCHMARK(BM_LongestLine)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
