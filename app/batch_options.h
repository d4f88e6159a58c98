#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/line_operations.h"

namespace quillex::batch {

// The command line could not be understood; the message says what was wrong.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One run: the function, the two files and the panel's parameters with the panel's defaults.
struct Options {
    int function = 0;
    std::string input;
    std::string output;
    std::string count = "1";          // 0
    std::optional<char> from = '?';   // 1; an empty text gives nullopt
    std::optional<char> to = '?';     // 1
    std::optional<std::string> word;  // 2 and 11; defaults differ
    std::string left;                 // 3, "" when not given
    std::string right;                // 3
    std::optional<RemovalCondition> condition = RemovalCondition::LengthIs0;  // 4
    std::optional<std::string> text;                         // 4 and 9; defaults differ
    std::optional<CharClass> char_class = CharClass::Marks;  // 6
    bool marker = false;                                     // 7
    std::string lines = "50";                                // 8
    FilterMode mode = FilterMode::KeepMatching;              // 9
    std::optional<TrimSide> side = TrimSide::AtStart;        // 10

    // The parameter a function uses where the option was not given.
    std::string Word() const;
    std::string Text() const;
};

// Throws UsageError for anything it does not understand.
Options ParseOptions(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace quillex::batch
