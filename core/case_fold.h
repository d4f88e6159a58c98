#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillex {

// Letter case folding of Windows-1251 as the Russian locale compares text: every Latin and
// Cyrillic capital of the code page maps to its small letter; every other byte to itself.
unsigned char FoldCase(unsigned char byte) noexcept;

// Equal after folding. Folding maps one byte to one byte, so equal lines have equal lengths.
bool FoldedEqual(std::string_view a, std::string_view b) noexcept;

// A hash of the folded line: lines that are FoldedEqual hash alike. A seed drawn per run
// keeps crafted lines from all landing in one bucket.
std::uint64_t FoldedHash(std::string_view line, std::uint64_t seed = 0) noexcept;

}  // namespace quillex
