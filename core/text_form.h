#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_buffer.h"
#include "core/line_index.h"

namespace quillex {

// Indexes `text` by the text-form rule: CR LF, a lone CR and a lone LF end a line, the first
// NUL ends the text, a final break adds no empty line. Afterwards `text` holds every line
// followed by CR LF and `index` each line's start plus the end. Text that is already in that
// form (a missing final break aside) is indexed where it lies; any other is rewritten once.
void IndexTextForm(ByteBuffer& text, LineIndex& index);

// Keeps the lines of a text in the text form that end with `ending` (not empty), moved to its
// front in their order, found from the breaks alone rather than from an index of every line.
// Nothing, with the text untouched, where the text is not in that form or its last line has no
// break: a whole load's rules must read it then.
struct KeptLines {
    std::size_t lines = 0;  // the text held
    std::size_t kept = 0;
};
std::optional<KeptLines> KeepLinesEndingWith(ByteBuffer& text, std::string_view ending);
// The same lines of `text`, which stays as it is, copied into `into` in place of what it held.
std::optional<KeptLines> CopyLinesEndingWith(std::string_view text, std::string_view ending,
                                             ByteBuffer& into);

// How many CR, LF and NUL bytes `text` holds, counted many bytes a step.
struct BreakCounts {
    std::size_t cr = 0;
    std::size_t lf = 0;
    std::size_t nul = 0;
};
BreakCounts CountBreakBytes(std::string_view text);

// The lines of `text` as a plain list.
std::vector<std::string> SplitTextForm(std::string_view text);

// Text form, read: every line followed by CR LF, the last one too; no lines give "".
std::string JoinTextForm(const std::vector<std::string>& lines);

}  // namespace quillex
