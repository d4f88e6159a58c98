#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillex {

// Full Unicode case folding of UTF-8 lines (a capital to its small letter, "ß" and "ẞ" to
// "ss", final sigma to sigma), for comparing them without regard to letter case. A byte that
// begins no valid sequence stays itself. Neither allocates.
bool Utf8FoldedEqual(std::string_view a, std::string_view b) noexcept;

// Lines that are Utf8FoldedEqual hash alike.
std::uint64_t Utf8FoldedHash(std::string_view line, std::uint64_t seed = 0) noexcept;

// The same folding of one code point: writes the one to three code points it folds to and
// returns how many.
std::size_t Utf8FoldCodePoint(char32_t code, char32_t* out) noexcept;

}  // namespace quillex
