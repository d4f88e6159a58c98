#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/document_lines.h"

namespace quillex {

// The view holds at most this many characters, every line break counted as two (CR LF), so
// a full view's text form is exactly as long as its character count in the statistics (in a
// UTF-8 document a character is a code point, and a cut never splits one).
inline constexpr std::size_t kViewCapacity = 65536;

// A CR or LF inside a line is shown as this character (SUB), so that one document line stays
// one view line.
inline constexpr char kLineBreakStandIn = '\x1A';

// What RefreshView puts into the view: the first `take` lines, each followed by '\n', cut
// where the next line would pass `capacity` (that line is kept only as far as it fits).
struct ViewText {
    std::string text;
    bool overflow = false;
};
ViewText ComposeViewText(const DocumentLines& lines, std::size_t take,
                         std::size_t capacity = kViewCapacity);

// The view's line and character counts from its text with '\n' breaks: the empty line after
// the final break is not a line, and every break counts as CR LF.
struct ViewCounts {
    std::size_t lines = 0;
    std::size_t characters = 0;
    friend bool operator==(const ViewCounts&, const ViewCounts&) = default;
};
ViewCounts CountViewText(std::u16string_view text) noexcept;

// The length of the longest line in characters; 0 for no lines.
std::size_t LongestLineLength(const DocumentLines& lines) noexcept;

// The caret position at the end of the view's last line, before its closing break.
std::size_t CaretEndPosition(std::u16string_view text) noexcept;

// Maximal runs of one colour for the Cyrillic highlight: a byte in 0xC0..0xFF is red, any
// other byte black. Runs cover the whole text in order.
struct ColourRun {
    std::size_t start = 0;
    std::size_t length = 0;
    bool red = false;
    friend bool operator==(const ColourRun&, const ColourRun&) = default;
};
std::vector<ColourRun> CyrillicRuns(std::string_view bytes);
// The same over the view's text, in its UTF-16 positions, for either encoding: the letters
// "А" to "я" (U+0410 to U+044F) are exactly what the bytes 0xC0 to 0xFF show in Windows-1251.
std::vector<ColourRun> CyrillicRuns(std::u16string_view text);

// A statistics or progress label: the prefix directly followed by the number in decimal.
std::string LabelWithNumber(std::string_view prefix, std::size_t number);

}  // namespace quillex
