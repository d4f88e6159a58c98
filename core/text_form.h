#pragma once

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
