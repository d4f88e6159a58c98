#pragma once

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

// INPUT or OUTPUT given as this reads standard input or writes standard output.
inline constexpr const char* kStandardStream = "-";

// One run: the function, the two files and the function's parameters (the panels' defaults
// unless an option says otherwise).
struct Options {
    FunctionId function = FunctionId::CutLeading;
    std::string input;
    std::string output;
    FunctionParams params;
};

// What the command line asks for: a run, or only the usage or the version.
struct Command {
    enum class Kind { Run, Help, Version };
    Kind kind = Kind::Run;
    Options options;
};

// Throws UsageError for anything it does not understand.
Command ParseCommand(const std::vector<std::string>& args);

// The usage, with every option and every function's name, as --help prints it.
std::string UsageText();

// "quillex-batch 1.0"
std::string VersionText();

}  // namespace quillex::batch
