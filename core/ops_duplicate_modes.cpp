// The duplicate modes: the groups of equal lines are found by the set of duplicate removal
// (keep-first without counts is that function's own pass); the kept lines are then moved
// together where they lie, and with counts moved up again to make room for them, or, for a
// document only written out, written with their counts straight from where they lie.

#include <bit>
#include <charconv>
#include <cstring>
#include <memory>
#include <vector>

#include "core/document_editor.h"
#include "core/folded_groups.h"
#include "core/line_ordering.h"
#include "core/line_reorder.h"
#include "core/piece_stream.h"

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

// The lines kept, in order, and where counts are written the size of each one's group, at the
// kept line's number: a buffer of the document's line count (huge pages where offered, as the
// sizes are reached at random while the groups grow), written before it is read, so never
// zero-filled.
class Kept {
  public:
    Kept(std::size_t n, bool counted) {
        if (counted) {
            sizes_.Resize(n * sizeof(std::uint32_t));
        }
    }
    std::uint32_t* Sizes() noexcept { return reinterpret_cast<std::uint32_t*>(sizes_.data()); }
    // 1 where no sizes are kept: with keep-none every kept line is alone.
    std::uint32_t Size(std::size_t i) const noexcept {
        return sizes_.empty() ? 1 : reinterpret_cast<const std::uint32_t*>(sizes_.data())[i];
    }

    LineSelection lines;

  private:
    ByteBuffer sizes_;
};

template <class Fold>
Kept Adjacent(const DocumentLines& lines, bool counted, const Progress& progress) {
    DocumentEditor e(const_cast<DocumentLines&>(lines));  // only reads
    const std::size_t n = e.Count();
    Kept kept(n, counted);
    std::uint32_t* size = kept.Sizes();
    std::size_t last = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && Fold::Equal(e.Line(i - 1), e.Line(i))) {
            if (counted) {
                ++size[last];  // one more line in the run of the line kept last
            }
        } else {
            kept.lines.Add(i);
            if (counted) {
                size[i] = 1;
            }
            last = i;
            progress(i + 1);
        }
        progress.Step(i + 1, n);
    }
    return kept;
}

// One bit a line.
class LineBits {
  public:
    explicit LineBits(std::size_t n) : words_((n + 63) / 64) {}
    void Set(std::size_t i) noexcept { words_[i / 64] |= std::uint64_t{1} << (i % 64); }
    void Join(const LineBits& other) noexcept {
        for (std::size_t w = 0; w < words_.size(); ++w) {
            words_[w] |= other.words_[w];
        }
    }
    const std::vector<std::uint64_t>& words() const noexcept { return words_; }

  private:
    std::vector<std::uint64_t> words_;
};

// Keeps the lines of 0..n-1 not marked gone, a run of them at a time; the watcher hears of
// line i as unit `n + i + 1` of 2n.
void KeepUnmarked(const LineBits& gone, std::size_t n, Kept& kept, const Progress& progress) {
    const std::vector<std::uint64_t>& words = gone.words();
    for (std::size_t w = 0; w < words.size(); ++w) {
        const std::size_t base = w * 64;
        std::uint64_t keep = ~words[w];
        if (n - base < 64) {
            keep &= (std::uint64_t{1} << (n - base)) - 1;  // no lines past the last
        }
        while (keep != 0) {
            const int from = std::countr_zero(keep);
            const int count = std::countr_one(keep >> from);
            kept.lines.AddRange(base + from, static_cast<std::size_t>(count));
            for (int k = 0; k < count; ++k) {
                progress(base + from + k + 1);
            }
            keep &= (keep | (keep - 1)) + 1;  // clears the lowest run of set bits
        }
        const std::size_t done = std::min(base + 64, n);
        if (w % 64 == 63 || done == n) {
            progress.Reach(n + done, 2 * std::uint64_t{n});
        }
    }
}

template <class Fold>
Kept ByGroups(const DocumentLines& lines, DuplicateMode mode, const Progress& progress) {
    const std::size_t n = lines.Count();
    // Each group's size so far, at the line that stands for it.
    const bool sized = mode.count && mode.keep != DuplicateKeep::None;
    Kept kept(n, sized);
    if (mode.keep == DuplicateKeep::First && !mode.count) {
        kept.lines = FirstOfEachGroup<Fold>(lines, progress);
        return kept;
    }
    // The lines that go, marked as the pass finds them: a line after the first of its group,
    // with keep-last the line a later one takes over from, and with keep-none the first too.
    // Bits and the sizes of the groups kept, rather than each line's group, so that the pass
    // writes little beside the set and the lines kept are found in one sweep of the bits. On
    // threads each has bits of its own (a group's sizes are one thread's), joined at the end.
    const unsigned threads = GroupThreads(lines);
    std::vector<LineBits> gone(threads, LineBits(n));
    std::uint32_t* size = kept.Sizes();
    const std::uint64_t total = 2 * std::uint64_t{n};
    const bool none = mode.keep == DuplicateKeep::None;
    auto takeOver = [&](LineBits& bits, std::size_t i, std::size_t before) {
        if (before != i) {
            bits.Set(before);
        }
        if (sized) {
            size[i] = before == i ? 1 : size[before] + 1;
        }
    };
    auto keepFirst = [&](LineBits& bits, std::size_t i, std::size_t first) {
        if (first == i) {
            if (sized) {
                size[i] = 1;
            }
            return;
        }
        bits.Set(i);
        if (none) {
            bits.Set(first);
        }
        if (sized) {
            ++size[first];
        }
    };
    auto pass = [&]<bool kTakesOver>(auto visit) {
        if (threads == 1) {
            FoldedLineSet<Fold> seen(lines, RunSeed());
            seen.template AddAll<kTakesOver>(
                [&](std::size_t i, std::size_t stands) { visit(gone[0], i, stands); }, progress, 0,
                total);
        } else {
            AddAllInShares<Fold, kTakesOver>(
                lines, threads,
                [&](unsigned t, std::size_t i, std::size_t stands) { visit(gone[t], i, stands); },
                [](std::size_t, std::size_t) {}, progress, 0, total);
            for (unsigned t = 1; t < threads; ++t) {
                gone[0].Join(gone[t]);
            }
        }
    };
    if (mode.keep == DuplicateKeep::Last) {
        pass.template operator()<true>(takeOver);
    } else {
        pass.template operator()<false>(keepFirst);
    }
    KeepUnmarked(gone[0], n, kept, progress);
    return kept;
}

template <class Fold>
Kept Select(const DocumentLines& lines, DuplicateMode mode, const Progress& progress) {
    if (mode.keep == DuplicateKeep::Adjacent) {
        return Adjacent<Fold>(lines, mode.count, progress);
    }
    return ByGroups<Fold>(lines, mode, progress);
}

constexpr std::size_t kCountRoom = 11;  // ten digits and the tab

// A kept line's count and its tab, into `room`; returns their width.
std::size_t PutCount(std::uint32_t count, char* room) {
    char* end = std::to_chars(room, room + kCountRoom - 1, count).ptr;
    *end++ = '\t';
    return static_cast<std::size_t>(end - room);
}

// The bytes the counts and their tabs add.
std::size_t CountsWidth(const Kept& kept) {
    std::size_t added = 0;
    for (const LineSelection::Run& run : kept.lines.runs()) {
        for (std::size_t i = run.first; i < run.first + run.count; ++i) {
            char room[kCountRoom];
            added += PutCount(kept.Size(i), room);
        }
    }
    return added;
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
    const std::size_t added = CountsWidth(kept);
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
    const std::vector<LineSelection::Run>& runs = kept.lines.runs();
    std::size_t run = runs.size() - 1;
    std::size_t line = runs[run].first + runs[run].count;  // past kept line k, before the move
    for (std::size_t k = m; k-- > 0;) {
        if (line == runs[run].first) {
            --run;
            line = runs[run].first + runs[run].count;
        }
        --line;
        char digits[kCountRoom];
        const std::size_t width = PutCount(kept.Size(line), digits);
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

PieceStream CountedDuplicates(const DocumentLines& lines, DuplicateMode mode,
                              const Progress& progress) {
    mode.count = true;
    // Shared, as the stream may be copied; it lives as long as the last copy.
    const auto kept = std::make_shared<const Kept>(SelectByFolding(lines, mode, progress));
    PieceStream stream;
    stream.size = (lines.HasBom() ? kUtf8Bom.size() : 0) + CountsWidth(*kept);
    for (const LineSelection::Run& run : kept->lines.runs()) {
        const std::string_view first = lines.Get(run.first);
        const std::string_view last = lines.Get(run.first + run.count - 1);
        stream.size += static_cast<std::size_t>(last.data() + last.size() + 2 - first.data());
    }
    stream.each = [&lines, kept](const PieceStream::Put& put) {
        if (lines.HasBom() && !put(kUtf8Bom)) {
            return false;
        }
        DocumentEditor e(const_cast<DocumentLines&>(lines));  // only reads
        PieceGatherer gathered(put);
        for (const LineSelection::Run& run : kept->lines.runs()) {
            for (std::size_t i = run.first; i < run.first + run.count; ++i) {
                char digits[kCountRoom];
                const std::string_view line = e.Line(i);
                if (!gathered.Add({digits, PutCount(kept->Size(i), digits)}) ||
                    !gathered.Add({line.data(), line.size() + 2})) {  // with its CR LF
                    return false;
                }
            }
        }
        return gathered.Flush();
    };
    return stream;
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
