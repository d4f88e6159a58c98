#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <vector>

#include "core/block_pipeline.h"
#include "core/folded_line_set.h"
#include "core/line_operations.h"

namespace quillex {

namespace {

// Below this many lines the threads would cost more than they save.
constexpr std::size_t kThreadsFrom = std::size_t{1} << 16;
// The lines worked on between two reports to the watcher, which hears them on this thread.
constexpr std::size_t kSegment = std::size_t{1} << 18;

template <class Fold>
LineSelection KeepFirstOfEach(const DocumentLines& lines, const Progress& progress) {
    FoldedLineSet<Fold> seen(lines, RunSeed());
    LineSelection kept;
    seen.AddAll(
        [&](std::size_t i, std::size_t first) {
            if (first == i) {
                kept.Add(i);
                progress(i + 1);
            }
        },
        progress, 0, lines.Count());
    return kept;
}

// The same on several threads: the lines' tags are found a share of the lines a thread, and
// each thread keeps a set of its own for the groups whose tag falls in its share of the tags.
// A group's lines share a tag, so each group is seen by one thread, in order: the lines kept
// are those of one thread.
template <class Fold>
LineSelection KeepFirstOfEachOnThreads(const DocumentLines& lines, unsigned threads,
                                       const Progress& progress) {
    const std::size_t n = lines.Count();
    const std::uint64_t seed = RunSeed();
    std::vector<std::unique_ptr<FoldedLineSet<Fold>>> sets;
    for (unsigned t = 0; t < threads; ++t) {
        sets.push_back(std::make_unique<FoldedLineSet<Fold>>(lines, seed, threads));
    }
    auto owner = [threads](std::uint32_t tag) {
        return static_cast<unsigned>(std::uint64_t{tag} * threads >> 32);
    };
    std::vector<std::uint32_t> tags(std::min(kSegment, n));
    std::vector<char> first(tags.size());
    LineSelection kept;
    for (std::size_t from = 0; from < n; from += kSegment) {
        const std::size_t count = std::min(kSegment, n - from);
        RunTogether(threads, [&](unsigned t) {
            for (std::size_t k = count * t / threads; k < count * (t + 1) / threads; ++k) {
                tags[k] = sets[t]->Tag(from + k);
            }
        });
        RunTogether(threads, [&](unsigned t) {
            // A few of its lines are fetched together, as a single thread does.
            constexpr std::size_t kAhead = 16;
            std::array<std::size_t, kAhead> ahead{};
            std::size_t waiting = 0;
            auto add = [&] {
                for (std::size_t j = 0; j < waiting; ++j) {
                    const std::size_t k = ahead[j];
                    first[k] = sets[t]->Add(from + k, tags[k]) == from + k;
                }
                waiting = 0;
            };
            for (std::size_t k = 0; k < count; ++k) {
                if (owner(tags[k]) == t) {
                    sets[t]->Prefetch(tags[k]);
                    ahead[waiting++] = k;
                    if (waiting == kAhead) {
                        add();
                    }
                }
            }
            add();
        });
        for (std::size_t k = 0; k < count; ++k) {
            if (first[k]) {
                kept.Add(from + k);
                progress(from + k + 1);
            }
        }
        progress.Reach(from + count, n);
    }
    return kept;
}

template <class Fold>
LineSelection KeepFirst(const DocumentLines& lines, const Progress& progress) {
    const unsigned threads = lines.Count() < kThreadsFrom ? 1 : std::min(WorkThreads(), 16u);
    return threads == 1 ? KeepFirstOfEach<Fold>(lines, progress)
                        : KeepFirstOfEachOnThreads<Fold>(lines, threads, progress);
}

}  // namespace

LineSelection RemoveDuplicateLines(const DocumentLines& lines, const Progress& progress) {
    if (lines.Count() >= std::numeric_limits<std::uint32_t>::max()) {
        throw RunError("too many lines to compare");
    }
    if (lines.GetEncoding() == Encoding::Utf8) {
        return KeepFirst<Utf8Fold>(lines, progress);
    }
    return KeepFirst<Cp1251Fold>(lines, progress);
}

}  // namespace quillex
