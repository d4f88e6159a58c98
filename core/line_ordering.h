#pragma once

// The line functions that reorder lines or drop duplicates by a mode: sort, reverse, shuffle
// and the duplicate modes. Each rebuilds the document once, into a new buffer, from the order
// or the selection it worked out, so a failure or a cancel leaves the document as it was.
// Each reports, as its progress numbers, what is said at it; the watcher hears of the lines
// done in each of its passes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/document_lines.h"
#include "core/line_selection.h"
#include "core/progress.h"

namespace quillex {

// Beyond Bytes, characters compare by their Unicode code point in both encodings (a
// Windows-1251 byte by the one it stands for), except that Ё and ё come right after Е and е.
// In UTF-8 a byte that begins no valid sequence is a character of its own that comes after
// every code point, by its byte value.
enum class SortOrder {
    Bytes,       // the line's bytes, unsigned
    IgnoreCase,  // after the folding of duplicate removal
    Number,      // the number at the start (see SortLines)
    Natural,     // runs of ASCII digits by their value, the rest case-sensitive by code point
    Length,      // characters: bytes in Windows-1251, code points in UTF-8
};

// Stable: lines of equal keys keep their order, descending too. Number: after any blanks
// (space, tab), an optional sign, at least one digit and an optional decimal part after a
// point; compared exactly, -0 equal to 0; lines without a number come after the others in
// their order, whichever the direction. Natural: a run of digits compares as a number, "007"
// equal to "7", and as a whole with other characters as its first digit would. The progress
// number is the line count, reported at the end. RunError for 2^32 lines or more.
void SortLines(DocumentLines& lines, SortOrder order, bool descending, const Progress& progress);

// The order SortLines puts the lines in (line numbers), for writing them straight from the
// document; and the rebuild from such an order, which must name every line once.
std::vector<std::uint32_t> SortedLineOrder(const DocumentLines& lines, SortOrder order,
                                           bool descending, const Progress& progress);
void ApplyLineOrder(DocumentLines& lines, const std::vector<std::uint32_t>& order,
                    const Progress& progress);

// The order SortLines puts two lines in, for merging lines it sorted apart: `compare` gives
// -1, 0 or 1 as `a` goes before, with or after `b` ascending (descending turns it round);
// `unordered`, where the order has one, tells a line it leaves out (number: a line without
// one), which goes after every other line whichever the direction. Alike lines keep their order.
struct LineComparison {
    int (*compare)(std::string_view a, std::string_view b) = nullptr;
    bool (*unordered)(std::string_view line) = nullptr;
};
LineComparison SortComparison(SortOrder order, Encoding encoding);

// Progress number: the line count.
void ReverseLines(DocumentLines& lines, const Progress& progress);

// The same seed gives the same order on every platform; without one, a random order.
// Progress number: the line count.
void ShuffleLines(DocumentLines& lines, std::optional<std::uint64_t> seed,
                  const Progress& progress);
// The order ShuffleLines puts the lines in, without the rebuild.
std::vector<std::uint32_t> ShuffledLineOrder(const DocumentLines& lines,
                                             std::optional<std::uint64_t> seed,
                                             const Progress& progress);

enum class DuplicateKeep {
    First,     // the first line of each group
    Last,      // the last line of each group, in its own place
    None,      // only the lines whose group has no other line
    Adjacent,  // drops a line equal to the line just before it
};
struct DuplicateMode {
    DuplicateKeep keep = DuplicateKeep::First;
    bool exact = false;  // bytes; otherwise without regard to letter case, as duplicate removal
    bool count = false;  // each kept line written as its group's size, a tab, the line
};

// Keeps the lines of `mode`, in document order. Progress numbers: the 1-based position of
// each line kept, as duplicate removal reports them. RunError for 2^32 lines or more.
void RemoveDuplicates(DocumentLines& lines, DuplicateMode mode, const Progress& progress);
// The lines RemoveDuplicates keeps without counts (`mode.count` is not looked at), for
// writing them straight from the document; the same progress numbers.
LineSelection DuplicateSelection(const DocumentLines& lines, DuplicateMode mode,
                                 const Progress& progress);
// The file form RemoveDuplicates gives with counts (`mode.count` is taken as set), written
// from where the lines lie, the document left as it was; it must outlive the stream. The same
// progress numbers.
PieceStream CountedDuplicates(const DocumentLines& lines, DuplicateMode mode,
                              const Progress& progress);

}  // namespace quillex
