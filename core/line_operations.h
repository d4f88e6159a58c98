#pragma once

// The twelve line operations. Each takes the document and plain parameters (texts in the
// document's encoding, whose characters it counts and never splits), reports its
// progress numbers through `progress` (each function's own count, at its own points: after a
// line is done, or when a line is found), and signals a failure by throwing; a failure leaves
// the lines done so far changed, the line being worked on and the rest as they were.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/document_lines.h"
#include "core/line_selection.h"
#include "core/progress.h"
#include "core/text_form.h"

namespace quillex {

// A text that is not a signed 32-bit integer. The message is "'TEXT' is not a valid integer
// value" (no final full stop; the general error report adds one).
class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A run that cannot go on (an empty character field, a negative line count).
class RunError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Leading blanks, an optional sign, then decimal digits, or hexadecimal after "$" or "0x".
std::int32_t ParseCountText(std::string_view text);

// 0: cuts n characters off the front of every line; n is converted from `countText` when the
// first line is reached, so an empty document never looks at it.
void RemoveLeadingChars(DocumentLines& lines, std::string_view countText, const Progress& progress);

// 1: replaces every character c1 by c2 (each one character's bytes); an empty field (nullopt)
// fails when its character is needed.
void ReplaceChar(DocumentLines& lines, std::optional<std::string_view> c1,
                 std::optional<std::string_view> c2, const Progress& progress);
// The same with single bytes.
void ReplaceChar(DocumentLines& lines, std::optional<char> c1, std::optional<char> c2,
                 const Progress& progress);

// 2: cuts every line at the first occurrence of `word`.
void TruncateAtWord(DocumentLines& lines, std::string_view word, const Progress& progress);

// 3: puts `left` in front of and `right` behind every line.
void AddTextToLines(DocumentLines& lines, std::string_view left, std::string_view right,
                    const Progress& progress);

// 4: the entries of the condition chooser, in order.
enum class RemovalCondition {
    LengthIs0,
    LengthBelow5,
    LengthBelow20,
    LengthAbove1,
    LengthAbove5,
    LengthAbove20,
    ContainsPercent,
    ContainsQuestionMark,
    ContainsDollar,
    ContainsText,
};
void RemoveLinesByCondition(DocumentLines& lines, std::optional<RemovalCondition> condition,
                            std::string_view text, const Progress& progress);

// 5: the lines to keep, the first of every group equal without regard to letter case.
LineSelection RemoveDuplicateLines(const DocumentLines& lines, const Progress& progress);

// 6
enum class CharClass { Marks, Numbers, InternalSpaces };
void RemoveCharClass(DocumentLines& lines, std::optional<CharClass> charClass,
                     const Progress& progress);

// 7: joins all lines into one, with "<br>" after each former line when `marker` is set.
void RemoveLineFolds(DocumentLines& lines, bool marker, const Progress& progress);

// 8: the lines from index n on; throws RunError for n < 0.
LineSelection RemoveLinesBefore(const DocumentLines& lines, std::int32_t n,
                                const Progress& progress);

// 9
enum class FilterMode { KeepMatching, RemoveMatching };
// The part of the line from its last full stop on, or empty (see the implementation).
std::string_view LineExtension(std::string_view line);
struct ExtensionSplit {
    LineSelection matching;  // what the document holds after the run
    LineSelection others;
    // The list written to the load file.
    const LineSelection& ToWrite(FilterMode mode) const {
        return mode == FilterMode::KeepMatching ? matching : others;
    }
};
// Leaves `lines` untouched so that the caller replaces the document only once the result was
// written.
ExtensionSplit FilterLinesByExtension(const DocumentLines& lines, std::string_view text,
                                      const Progress& progress);
// Its matching lines of a block of a text not yet split into lines, for a stream of blocks:
// for an extension text they are the lines that end with it, which the block's bytes alone
// tell (see KeepLinesEndingWith). Nothing, with the block untouched, where the lines must be
// split first: the empty text, a text that is no extension, a block not in the text form.
std::optional<KeptLines> KeepBlockLinesWithExtension(ByteBuffer& block, std::string_view text);
// The same, from a block that stays as it is, into `into`.
std::optional<KeptLines> CopyBlockLinesWithExtension(std::string_view block, std::string_view text,
                                                     ByteBuffer& into);

// 10
enum class TrimSide { AtStart, AtEnd, AtBothEnds };
void TrimLines(DocumentLines& lines, std::optional<TrimSide> side, const Progress& progress);

// 11: removes every line in which `word` occurs.
void RemoveLinesWithWord(DocumentLines& lines, std::string_view word, const Progress& progress);

}  // namespace quillex
