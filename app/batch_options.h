#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/line_functions.h"

namespace quillex::batch {

// The command line could not be understood; the message says what was wrong.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// INPUT or OUTPUT given as this reads standard input or writes standard output.
inline constexpr const char* kStandardStream = "-";

// The text options as the command line gave them: on Windows taken from the wide command
// line as UTF-8, elsewhere the bytes as they came.
struct TextArguments {
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<std::string> word;
    std::optional<std::string> text;
    std::optional<std::string> left;
    std::optional<std::string> right;
};

// One run: the function, the two files and the function's parameters (the panels' defaults
// unless an option says otherwise).
struct Options {
    FunctionId function = FunctionId::CutLeading;
    std::string input;
    std::string output;
    // The document's encoding; none: detected from the input.
    std::optional<Encoding> encoding = Encoding::Windows1251;
    TextArguments texts;
    // With the text options already in, where the encoding is given.
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

// Puts the text options into `params` in the document's encoding. An option that is valid
// UTF-8 is read as text; one that is not is taken as the document's own bytes. Throws
// UsageError naming an option the encoding cannot hold.
void ApplyTextArguments(const TextArguments& texts, Encoding encoding, FunctionParams& params);

// The usage, with every option and every function's name, as --help prints it.
std::string UsageText();

// "quillex-batch 1.0"
std::string VersionText();

}  // namespace quillex::batch
