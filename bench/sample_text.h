#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillex::bench {

// A document like the ones the functions are made for: Latin and Cyrillic words in both
// cases, blanks, tabs, punctuation, digits, file-name-like lines and repeated lines that
// differ in case. About 90 bytes a line; the same seed gives the same lines.
std::vector<std::string> SampleLines(std::size_t count, unsigned seed = 42);

}  // namespace quillex::bench
