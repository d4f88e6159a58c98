#pragma once

// The lines of a large document added to sets of groups equal under a folding on several
// threads, for the duplicate functions. Core-internal.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/block_pipeline.h"
#include "core/folded_line_set.h"
#include "core/line_selection.h"

namespace quillex {

// The lines worked on between two reports to the watcher, which hears them on the calling
// thread; segments start at multiples of it.
inline constexpr std::size_t kGroupSegment = std::size_t{1} << 18;

// The threads a pass over `lines` takes: below some 65,000 lines the threads would cost more
// than they save.
inline unsigned GroupThreads(const DocumentLines& lines) {
    return lines.Count() < (std::size_t{1} << 16) ? 1 : std::min(WorkThreads(), 16u);
}

// As FoldedLineSet::AddAll, on `threads` threads (2 or more): the lines' tags are found a
// share of the lines a thread, and thread t keeps a set of its own for the groups whose tag
// falls in its share of the tags. All the lines of a group share a tag, so each group is seen
// by one thread, in order, and `visit(t, i, stands)` on thread t hears what one set would
// tell; visits of different groups run at once. `segment(from, count)` runs on the calling
// thread once lines from..from+count-1 were visited; the watcher then hears of unit
// `done + from + count` of `total`.
template <class Fold, bool kTakesOver = false, class Visit, class Segment>
void AddAllInShares(const DocumentLines& lines, unsigned threads, Visit visit, Segment segment,
                    const Progress& progress, std::uint64_t done, std::uint64_t total) {
    const std::size_t n = lines.Count();
    const std::uint64_t seed = RunSeed();
    std::vector<std::unique_ptr<FoldedLineSet<Fold>>> sets;
    for (unsigned t = 0; t < threads; ++t) {
        sets.push_back(std::make_unique<FoldedLineSet<Fold>>(lines, seed, threads));
    }
    auto owner = [threads](std::uint32_t tag) {
        return static_cast<unsigned>(std::uint64_t{tag} * threads >> 32);
    };
    std::vector<std::uint32_t> tags(std::min(kGroupSegment, n));
    for (std::size_t from = 0; from < n; from += kGroupSegment) {
        const std::size_t count = std::min(kGroupSegment, n - from);
        RunTogether(threads, [&](unsigned t) {
            for (std::size_t k = count * t / threads; k < count * (t + 1) / threads; ++k) {
                tags[k] = sets[t]->Tag(from + k);
            }
        });
        RunTogether(threads, [&](unsigned t) {
            // A few of its lines are fetched together, as a single set's pass does.
            constexpr std::size_t kAhead = 16;
            std::array<std::size_t, kAhead> ahead{};
            std::size_t waiting = 0;
            auto add = [&] {
                for (std::size_t j = 0; j < waiting; ++j) {
                    const std::size_t i = from + ahead[j];
                    visit(t, i, sets[t]->template Add<kTakesOver>(i, tags[ahead[j]]));
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
        segment(from, count);
        progress.Reach(done + from + count, total);
    }
}

// The first line of each group, in order, with its number + 1 reported as a progress number.
template <class Fold>
LineSelection FirstOfEachGroup(const DocumentLines& lines, const Progress& progress) {
    LineSelection kept;
    const unsigned threads = GroupThreads(lines);
    if (threads == 1) {
        FoldedLineSet<Fold> seen(lines, RunSeed());
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
    // On threads the lines are kept, and the numbers reported, a segment at a time.
    std::vector<char> first(std::min(kGroupSegment, lines.Count()));
    AddAllInShares<Fold>(
        lines, threads,
        [&](unsigned, std::size_t i, std::size_t stands) {
            first[i % kGroupSegment] = stands == i;
        },
        [&](std::size_t from, std::size_t count) {
            for (std::size_t k = 0; k < count; ++k) {
                if (first[k]) {
                    kept.Add(from + k);
                    progress(from + k + 1);
                }
            }
        },
        progress, 0, lines.Count());
    return kept;
}

}  // namespace quillex
