// Every line operation over a generated 1,000,000-line document (~87 MB). With --large each
// also runs over 10,000,000 lines, and the ratio of the two times is printed: linear growth
// keeps it near 10. Each size first makes one untimed run (a warm heap) unless --cold is
// given, in which case the first timed run also pays for fresh memory.
//   ops_bench [--large] [--cold] [benchmark options]

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/sample_text.h"
#include "core/line_operations.h"

namespace {

using quillex::DocumentLines;
using quillex::Progress;

constexpr std::size_t kMillion = 1'000'000;

const DocumentLines& Document(std::size_t count) {
    static std::map<std::size_t, DocumentLines> cache;
    auto it = cache.find(count);
    if (it == cache.end()) {
        it = cache.emplace(count, DocumentLines(quillex::bench::SampleLines(count))).first;
    }
    return it->second;
}

// The window keeps only the last number; so does this callback.
struct LastNumber {
    std::size_t value = 0;
    Progress Callback() {
        return [this](std::size_t n) { value = n; };
    }
};

using Op = std::function<void(DocumentLines&, const Progress&)>;

bool cold = false;  // --cold: no untimed run first

void RunOp(benchmark::State& state, const Op& op) {
    const DocumentLines& source = Document(static_cast<std::size_t>(state.range(0)));
    LastNumber last;
    const Progress progress = last.Callback();
    if (!cold) {
        // One untimed run first: the 10M-line case runs a single timed iteration, which would
        // otherwise also pay for the system handing the heap its pages the first time.
        DocumentLines lines = source;
        op(lines, progress);
    }
    for (auto _ : state) {
        state.PauseTiming();
        DocumentLines lines = source;  // each run starts from the same document
        state.ResumeTiming();
        op(lines, progress);
        benchmark::DoNotOptimize(lines.Count());
        state.PauseTiming();
        lines = DocumentLines();  // freeing the copy is not the operation's cost
        state.ResumeTiming();
    }
    state.counters["last"] = static_cast<double>(last.value);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

struct Entry {
    const char* name;
    Op op;
};

std::vector<Entry> Entries() {
    using namespace quillex;
    return {
        {"RemoveLeadingChars",
         [](DocumentLines& l, const Progress& p) { RemoveLeadingChars(l, "5", p); }},
        {"ReplaceChar", [](DocumentLines& l, const Progress& p) { ReplaceChar(l, '?', '.', p); }},
        {"TruncateAtWord",
         [](DocumentLines& l, const Progress& p) { TruncateAtWord(l, "Result:", p); }},
        {"AddTextToLines",
         [](DocumentLines& l, const Progress& p) { AddTextToLines(l, " \"", "\";", p); }},
        {"RemoveLinesByCondition/Below20",
         [](DocumentLines& l, const Progress& p) {
             RemoveLinesByCondition(l, RemovalCondition::LengthBelow20, "", p);
         }},
        {"RemoveLinesByCondition/Text",
         [](DocumentLines& l, const Progress& p) {
             RemoveLinesByCondition(l, RemovalCondition::ContainsText, "falcon", p);
         }},
        {"RemoveDuplicateLines",
         [](DocumentLines& l, const Progress& p) {
             benchmark::DoNotOptimize(RemoveDuplicateLines(l, p));
         }},
        {"RemoveCharClass/Marks",
         [](DocumentLines& l, const Progress& p) { RemoveCharClass(l, CharClass::Marks, p); }},
        {"RemoveLineFolds",
         [](DocumentLines& l, const Progress& p) { RemoveLineFolds(l, false, p); }},
        {"RemoveLineFolds/Marker",
         [](DocumentLines& l, const Progress& p) { RemoveLineFolds(l, true, p); }},
        {"RemoveLinesBefore",
         [](DocumentLines& l, const Progress& p) {
             benchmark::DoNotOptimize(RemoveLinesBefore(l, 50, p));
         }},
        {"FilterLinesByExtension",
         [](DocumentLines& l, const Progress& p) {
             benchmark::DoNotOptimize(FilterLinesByExtension(l, ".txt", p));
         }},
        {"TrimLines/Both",
         [](DocumentLines& l, const Progress& p) { TrimLines(l, TrimSide::AtBothEnds, p); }},
        {"RemoveLinesWithWord",
         [](DocumentLines& l, const Progress& p) { RemoveLinesWithWord(l, "con", p); }},
    };
}

// Remembers the time of every run to print the 10M / 1M ratios at the end.
class GrowthReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // A single run, or the median of repetitions.
            if (run.aggregate_name.empty() || run.aggregate_name == "median") {
                times[run.run_name.str()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    bool large = false;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--large") == 0) {
            large = true;
        } else if (std::strcmp(argv[i], "--cold") == 0) {
            cold = true;
        } else {
            args.push_back(argv[i]);
        }
    }
    const std::vector<Entry> entries = Entries();
    for (const Entry& entry : entries) {
        auto* b = benchmark::RegisterBenchmark(entry.name, RunOp, entry.op);
        b->Arg(static_cast<std::int64_t>(kMillion))->Unit(benchmark::kMillisecond)->UseRealTime();
        if (large) {
            b->Arg(static_cast<std::int64_t>(10 * kMillion));
        }
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const Entry& entry : entries) {
        const std::string base = std::string(entry.name) + "/";
        auto small = reporter.times.find(base + std::to_string(kMillion) + "/real_time");
        auto big = reporter.times.find(base + std::to_string(10 * kMillion) + "/real_time");
        if (small != reporter.times.end() && big != reporter.times.end() && small->second > 0) {
            std::printf("%-32s 10M / 1M lines: %.1fx\n", entry.name, big->second / small->second);
        }
    }
    benchmark::Shutdown();
    return 0;
}
