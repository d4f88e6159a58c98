// Every line operation, the orderings and the duplicate modes among them, over a generated
// 1,000,000-line document (~87 MB). With --large each
// also runs over 10,000,000 lines, and the ratio of the two times is printed: linear growth
// keeps it near 10. With --utf8 each also runs over a UTF-8 document of the same size in
// bytes, made of the same lines (its Cyrillic letters two bytes each, so it holds fewer of
// them), and the ratio of the UTF-8 time to the Windows-1251 time is printed. Each size first makes
// one untimed run (a warm heap) unless --cold is given, in which case the first timed run also pays
// for fresh memory.
//   ops_bench [--large] [--utf8] [--cold] [benchmark options]

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "bench/sample_text.h"
#include "core/cp1251.h"
#include "core/encoding.h"
#include "core/line_operations.h"
#include "core/line_ordering.h"

namespace {

using quillex::DocumentLines;
using quillex::Progress;

constexpr std::size_t kMillion = 1'000'000;

const DocumentLines& Document(std::size_t count, quillex::Encoding encoding) {
    static std::map<std::pair<std::size_t, quillex::Encoding>, DocumentLines> cache;
    auto it = cache.find({count, encoding});
    if (it == cache.end()) {
        std::vector<std::string> lines = quillex::bench::SampleLines(count);
        if (encoding == quillex::Encoding::Utf8) {
            // The same lines in UTF-8, as many as make a text of the Windows-1251 one's size.
            std::size_t room = Document(count, quillex::Encoding::Windows1251).TextForm().size();
            std::size_t kept = 0;
            for (std::string& line : lines) {
                line = *quillex::EncodeFromUnicode(quillex::DecodeCp1251(line), encoding);
                if (line.size() + 2 > room) {
                    break;
                }
                room -= line.size() + 2;
                ++kept;
            }
            lines.resize(kept);
        }
        DocumentLines document(lines);
        document.SetEncoding(encoding);
        it = cache.emplace(std::pair{count, encoding}, std::move(document)).first;
    }
    return it->second;
}

// A text of the benchmark, written here as UTF-8, in the document's encoding.
std::string In(const DocumentLines& document, std::string_view utf8) {
    return *quillex::Utf8ToEncoding(utf8, document.GetEncoding());
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

void RunOp(benchmark::State& state, const Op& op, quillex::Encoding encoding) {
    const DocumentLines& source = Document(static_cast<std::size_t>(state.range(0)), encoding);
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

Op Duplicates(quillex::DuplicateMode mode) {
    return [mode](DocumentLines& l, const Progress& p) { quillex::RemoveDuplicates(l, mode, p); };
}

std::vector<Entry> Entries() {
    using namespace quillex;
    return {
        {"RemoveLeadingChars",
         [](DocumentLines& l, const Progress& p) { RemoveLeadingChars(l, "5", p); }},
        {"ReplaceChar", [](DocumentLines& l, const Progress& p) { ReplaceChar(l, '?', '.', p); }},
        {"ReplaceChar/Letter",
         [](DocumentLines& l, const Progress& p) {
             const std::string from = In(l, "е");
             const std::string to = In(l, "ё");
             ReplaceChar(l, std::string_view(from), std::string_view(to), p);
         }},
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
        {"RemoveLinesWithWord/Cyrillic",
         [](DocumentLines& l, const Progress& p) { RemoveLinesWithWord(l, In(l, "Москва"), p); }},
        {"SortLines/Bytes",
         [](DocumentLines& l, const Progress& p) { SortLines(l, SortOrder::Bytes, false, p); }},
        {"SortLines/Bytes/Descending",
         [](DocumentLines& l, const Progress& p) { SortLines(l, SortOrder::Bytes, true, p); }},
        {"SortLines/IgnoreCase",
         [](DocumentLines& l, const Progress& p) {
             SortLines(l, SortOrder::IgnoreCase, false, p);
         }},
        {"SortLines/Number",
         [](DocumentLines& l, const Progress& p) { SortLines(l, SortOrder::Number, false, p); }},
        {"SortLines/Natural",
         [](DocumentLines& l, const Progress& p) { SortLines(l, SortOrder::Natural, false, p); }},
        {"SortLines/Length",
         [](DocumentLines& l, const Progress& p) { SortLines(l, SortOrder::Length, false, p); }},
        {"ReverseLines", [](DocumentLines& l, const Progress& p) { ReverseLines(l, p); }},
        {"ShuffleLines", [](DocumentLines& l, const Progress& p) { ShuffleLines(l, 1, p); }},
        {"RemoveDuplicates/First", Duplicates({DuplicateKeep::First})},
        {"RemoveDuplicates/First/Exact", Duplicates({DuplicateKeep::First, true})},
        {"RemoveDuplicates/First/Count", Duplicates({DuplicateKeep::First, false, true})},
        {"RemoveDuplicates/Last", Duplicates({DuplicateKeep::Last})},
        {"RemoveDuplicates/Last/Count", Duplicates({DuplicateKeep::Last, false, true})},
        {"RemoveDuplicates/None", Duplicates({DuplicateKeep::None})},
        {"RemoveDuplicates/Adjacent", Duplicates({DuplicateKeep::Adjacent})},
        {"RemoveDuplicates/Adjacent/Count", Duplicates({DuplicateKeep::Adjacent, false, true})},
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
    bool utf8 = false;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--large") == 0) {
            large = true;
        } else if (std::strcmp(argv[i], "--utf8") == 0) {
            utf8 = true;
        } else if (std::strcmp(argv[i], "--cold") == 0) {
            cold = true;
        } else {
            args.push_back(argv[i]);
        }
    }
    const std::vector<Entry> entries = Entries();
    for (const Entry& entry : entries) {
        for (const quillex::Encoding encoding :
             {quillex::Encoding::Windows1251, quillex::Encoding::Utf8}) {
            if (encoding == quillex::Encoding::Utf8 && !utf8) {
                continue;
            }
            // Built by appends: GCC 12 at -O3 mistakes operator+ chains for overlapping copies.
            std::string name = encoding == quillex::Encoding::Utf8 ? "utf8/" : "";
            name += entry.name;
            auto* b = benchmark::RegisterBenchmark(name.c_str(), RunOp, entry.op, encoding);
            b->Arg(static_cast<std::int64_t>(kMillion))
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
            if (large) {
                b->Arg(static_cast<std::int64_t>(10 * kMillion));
            }
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
        auto single = reporter.times.find(base + std::to_string(kMillion) + "/real_time");
        auto unicode =
            reporter.times.find("utf8/" + base + std::to_string(kMillion) + "/real_time");
        if (single != reporter.times.end() && unicode != reporter.times.end() &&
            single->second > 0) {
            std::printf("%-32s UTF-8 / Windows-1251: %.2fx\n", entry.name,
                        unicode->second / single->second);
        }
        // The duplicate modes against duplicate removal's own pass, at each size.
        if (std::string_view(entry.name).starts_with("RemoveDuplicates/")) {
            for (const std::size_t lines : {kMillion, 10 * kMillion}) {
                std::string size = "/";
                size += std::to_string(lines);
                size += "/real_time";
                std::string modeName(entry.name);
                modeName += size;
                std::string fiveName = "RemoveDuplicateLines";
                fiveName += size;
                auto mode = reporter.times.find(modeName);
                auto five = reporter.times.find(fiveName);
                if (mode != reporter.times.end() && five != reporter.times.end() &&
                    five->second > 0) {
                    std::printf("%-32s / RemoveDuplicateLines at %zu lines: %.2fx\n", entry.name,
                                lines, mode->second / five->second);
                }
            }
        }
    }
    benchmark::Shutdown();
    return 0;
}
