// The duplicate modes: the groups of equal lines are found by the set of duplicate removal
// (keep-first without counts is that function's own pass); the kept lines are then moved
// together where they lie, or, with their counts in front, built into a new buffer.

#include <charconv>
#include <vector>

#include "core/document_editor.h"
#include "core/folded_line_set.h"
#include "core/line_ordering.h"
#include "core/line_reorder.h"

// Header only: nothing to link, the same for the Windows build.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace quillex {

namespace {

struct ExactBytes {
    static std::uint64_t Hash(std::string_view line, std::uint64_t seed) {
        return XXH3_64bits_withSeed(line.data(), line.size(), seed);
    }
    static bool Equal(std::string_view a, std::string_view b) { return a == b; }
};

// The lines kept, in order, and the size of each one's group where counts are written.
struct Kept {
    LineSelection lines;
    std::vector<std::uint32_t> counts;
};

class Keeper {
  public:
    Keeper(bool counted, const Progress& progress) : counted_(counted), progress_(progress) {}

    void Keep(std::size_t i, std::uint32_t count) {
        kept_.lines.Add(i);
        if (counted_) {
            kept_.counts.push_back(count);
        }
        progress_(i + 1);
    }
    // Adjacent lines: one more line in the run of the line kept last.
    void Extend() {
        if (counted_) {
            ++kept_.counts.back();
        }
    }
    Kept Take() { return std::move(kept_); }

  private:
    bool counted_;
    const Progress& progress_;
    Kept kept_;
};

template <class Fold>
Kept Adjacent(const DocumentLines& lines, Keeper keeper, const Progress& progress) {
    DocumentEditor e(const_cast<DocumentLines&>(lines));  // only reads
    const std::size_t n = e.Count();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && Fold::Equal(e.Line(i - 1), e.Line(i))) {
            keeper.Extend();
        } else {
            keeper.Keep(i, 1);
        }
        progress.Step(i + 1, n);
    }
    return keeper.Take();
}

template <class Fold>
Kept ByGroups(const DocumentLines& lines, DuplicateMode mode, Keeper keeper,
              const Progress& progress) {
    const std::size_t n = lines.Count();
    FoldedLineSet<Fold> seen(lines, RunSeed());
    if (mode.keep == DuplicateKeep::First && !mode.count) {
        seen.AddAll(
            [&](std::size_t i, std::size_t first) {
                if (first == i) {
                    keeper.Keep(i, 1);
                }
            },
            progress, 0, n);
        return keeper.Take();
    }
    // Each line's group by its first line; each group's size and last line by the first.
    std::vector<std::uint32_t> group(n);
    std::vector<std::uint32_t> size(n);
    std::vector<std::uint32_t> last(mode.keep == DuplicateKeep::Last ? n : 0);
    seen.AddAll(
        [&](std::size_t i, std::size_t first) {
            group[i] = static_cast<std::uint32_t>(first);
            ++size[first];
            if (!last.empty()) {
                last[first] = static_cast<std::uint32_t>(i);
            }
        },
        progress, 0, 2 * std::uint64_t{n});
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t first = group[i];
        const bool keep = mode.keep == DuplicateKeep::First  ? first == i
                          : mode.keep == DuplicateKeep::Last ? last[first] == i
                                                             : size[first] == 1;
        if (keep) {
            keeper.Keep(i, size[first]);
        }
        progress.Step(n + i + 1, 2 * std::uint64_t{n});
    }
    return keeper.Take();
}

template <class Fold>
Kept Select(const DocumentLines& lines, DuplicateMode mode, const Progress& progress) {
    Keeper keeper(mode.count, progress);
    if (mode.keep == DuplicateKeep::Adjacent) {
        return Adjacent<Fold>(lines, std::move(keeper), progress);
    }
    return ByGroups<Fold>(lines, mode, std::move(keeper), progress);
}

// The kept lines, each as its count, a tab and the line.
void WriteCounted(DocumentLines& document, const Kept& kept) {
    DocumentEditor e(document);
    std::size_t size = 0;
    for (const LineSelection::Run& run : kept.lines.runs()) {
        size += static_cast<std::size_t>(e.index()[run.first + run.count] - e.index()[run.first]);
    }
    constexpr std::size_t kCountRoom = 11;  // ten digits and the tab
    size += kept.lines.Count() * kCountRoom;
    TextBuilder built(size, kept.lines.Count());
    std::size_t k = 0;
    for (const LineSelection::Run& run : kept.lines.runs()) {
        for (std::size_t i = run.first; i < run.first + run.count; ++i) {
            built.StartLine();
            char digits[kCountRoom];
            char* end = std::to_chars(digits, digits + 10, kept.counts[k++]).ptr;
            *end++ = '\t';
            built.text().Append(digits, static_cast<std::size_t>(end - digits));
            const std::string_view line = e.Line(i);
            built.text().Append(line.data(), line.size() + 2);  // with its CR LF
        }
    }
    built.PutInPlace(e);
}

}  // namespace

void RemoveDuplicates(DocumentLines& lines, DuplicateMode mode, const Progress& progress) {
    CheckLineCount(lines);
    Kept kept;
    if (mode.exact) {
        kept = Select<ExactBytes>(lines, mode, progress);
    } else if (lines.GetEncoding() == Encoding::Utf8) {
        kept = Select<Utf8Fold>(lines, mode, progress);
    } else {
        kept = Select<Cp1251Fold>(lines, mode, progress);
    }
    if (mode.count) {
        WriteCounted(lines, kept);
    } else {
        lines.Keep(kept.lines);
    }
}

}  // namespace quillex
