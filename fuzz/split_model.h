#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillex::fuzz {

// The split rule as it is worded, one byte at a time: a line runs up to the next CR, LF or
// NUL or the end; one CR and then one LF after it are skipped; a NUL or the end stops.
std::vector<std::string> ModelSplit(std::string_view text);

// Where the model stopped at a NUL, if it did.
std::optional<std::size_t> ModelNulOffset(std::string_view text);

}  // namespace quillex::fuzz
