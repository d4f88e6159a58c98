#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/line_functions.h"

namespace quillex::batch {

// The command line could not be understood; the message says what was wrong.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One run: the function, the two files and the function's parameters (the panels' defaults
// unless an option says otherwise).
struct Options {
    FunctionId function = FunctionId::CutLeading;
    std::string input;
    std::string output;
    FunctionParams params;
};

// Throws UsageError for anything it does not understand.
Options ParseOptions(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace quillex::batch
