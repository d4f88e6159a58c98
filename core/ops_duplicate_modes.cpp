// The duplicate modes: the groups of equal lines are found by the set of duplicate removal
// (keep-first without counts is that function's own pass); the kept lines are then moved
// together where they lie, and with counts moved up again to make room for them.

#include <charconv>
#include <cstring>
#include <memory>
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

// One bit a line.
class LineBits {
  public:
    explicit LineBits(std::size_t n) : words_((n + 63) / 64) {}
    void Set(std::size_t i) noexcept { words_[i / 64] |= std::uint64_t{1} << (i % 64); }
    bool Test(std::size_t i) const noexcept { return (words_[i / 64] >> (i % 64) & 1) != 0; }

  private:
    std::vector<std::uint64_t> words_;
};

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
    // The lines that go, marked as the pass finds them: a line after the first of its group,
    // with keep-last the line a later one takes over from, and with keep-none the first too.
    // Bits and the sizes of the groups kept, rather than each line's group, so that the pass
    // writes little beside the set and the lines kept are found in one sweep of the bits.
    LineBits gone(n);
    // Each group's size so far, at the line that stands for it; written before it is read.
    const bool sized = mode.count && mode.keep != DuplicateKeep::None;
    const std::unique_ptr<std::uint32_t[]> size(sized ? new std::uint32_t[n] : nullptr);
    const std::uint64_t total = 2 * std::uint64_t{n};
    if (mode.keep == DuplicateKeep::Last) {
        seen.template AddAll<true>(
            [&](std::size_t i, std::size_t before) {
                if (before != i) {
                    gone.Set(before);
                }
                if (sized) {
                    size[i] = before == i ? 1 : size[before] + 1;
                }
            },
            progress, 0, total);
    } else {
        const bool none = mode.keep == DuplicateKeep::None;
        seen.AddAll(
            [&](std::size_t i, std::size_t first) {
                if (first == i) {
                    if (sized) {
                        size[i] = 1;
                    }
                    return;
                }
                gone.Set(i);
                if (none) {
                    gone.Set(first);
                }
                if (sized) {
                    ++size[first];
                }
            },
            progress, 0, total);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!gone.Test(i)) {
            keeper.Keep(i, sized ? size[i] : 1);
        }
        progress.Step(n + i + 1, total);
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

// The kept lines, each as its count, a tab and the line: the buffer grows once (in place
// where the system can), the kept lines move together where they lie, and then up from the
// last, each straight to where it ends with its count in front, rather than into a second
// buffer of the document's size.
void WriteCounted(DocumentLines& document, const Kept& kept) {
    DocumentEditor e(document);
    const std::size_t m = kept.lines.Count();
    std::size_t size = 0;
    for (const LineSelection::Run& run : kept.lines.runs()) {
        size += static_cast<std::size_t>(e.index()[run.first + run.count] - e.index()[run.first]);
    }
    constexpr std::size_t kCountRoom = 11;  // ten digits and the tab
    std::size_t added = 0;
    for (const std::uint32_t count : kept.counts) {
        char digits[kCountRoom];
        added += static_cast<std::size_t>(std::to_chars(digits, digits + 10, count).ptr - digits);
    }
    added += m;  // the tabs
    const std::size_t grown = size + added;
    // Before anything moves, so that a lack of memory leaves the document as it was.
    e.index().Prepare(grown);
    e.text().Reserve(grown);
    e.Keep(kept.lines);
    if (m == 0) {
        return;
    }
    char* base = e.text().data();
    std::uint64_t end = e.index()[m];  // where line k ended, before the move
    e.index().Set(m, grown);
    std::size_t shift = added;  // the room the counts of lines 0..k take
    for (std::size_t k = m; k-- > 0;) {
        char digits[kCountRoom];
        char* digitsEnd = std::to_chars(digits, digits + 10, kept.counts[k]).ptr;
        *digitsEnd++ = '\t';
        const auto width = static_cast<std::size_t>(digitsEnd - digits);
        const std::uint64_t from = e.index()[k];
        shift -= width;
        const std::uint64_t to = from + shift;
        std::memmove(base + to + width, base + from, static_cast<std::size_t>(end - from));
        std::memcpy(base + to, digits, width);
        e.index().Set(k, to);
        end = from;
    }
    e.text().Resize(grown);
}

Kept SelectByFolding(const DocumentLines& lines, DuplicateMode mode, const Progress& progress) {
    CheckLineCount(lines);
    if (mode.exact) {
        return Select<ExactBytes>(lines, mode, progress);
    }
    if (lines.GetEncoding() == Encoding::Utf8) {
        return Select<Utf8Fold>(lines, mode, progress);
    }
    return Select<Cp1251Fold>(lines, mode, progress);
}

}  // namespace

LineSelection DuplicateSelection(const DocumentLines& lines, DuplicateMode mode,
                                 const Progress& progress) {
    mode.count = false;
    return SelectByFolding(lines, mode, progress).lines;
}

void RemoveDuplicates(DocumentLines& lines, DuplicateMode mode, const Progress& progress) {
    const Kept kept = SelectByFolding(lines, mode, progress);
    if (mode.count) {
        WriteCounted(lines, kept);
    } else {
        lines.Keep(kept.lines);
    }
}

}  // namespace quillex
