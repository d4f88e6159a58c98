#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
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

// The text options as they were given, by option name ("word") in the order of the functions'
// description: on Windows taken from the wide command line as UTF-8, elsewhere the bytes as
// they came.
using GivenTexts = std::vector<std::pair<std::string, std::string>>;

// The text given for an option, if any.
inline std::optional<std::string> GivenText(const GivenTexts& texts, std::string_view name) {
    for (const auto& [option, value] : texts) {
        if (option == name) {
            return value;
        }
    }
    return std::nullopt;
}

// One run: the function (or a recipe), the two files and the function's parameters (the
// panels' defaults unless an option says otherwise).
struct Options {
    FunctionId function = FunctionId::CutLeading;
    std::string input;
    std::string output;
    // The document's encoding; none: detected from the input.
    std::optional<Encoding> encoding = Encoding::Windows1251;
    GivenTexts texts;
    // With the text options already in, where the encoding is given.
    FunctionParams params;
    // With --recipe: the recipe file, whose steps run in place of `function`.
    std::optional<std::string> recipe;
    // With --output-dir or --in-place, the files (and with --recursive the folders) to run
    // over, in place of `input` and `output`.
    std::vector<std::string> inputs;
    std::optional<std::string> outputDir;
    bool inPlace = false;
    bool recursive = false;

    bool Many() const { return outputDir || inPlace; }

    // --memory: the bound in bytes for the whole process (a sort or a dedupe past it goes to
    // temporary files); none: DefaultMemoryBound.
    std::optional<std::uint64_t> memory;
    // --temp-dir: where such temporary files go; none: the system's folder (TMPDIR).
    std::optional<std::string> temp_dir;
    // --threads: how many threads work on blocks of lines at once; 0: every core available.
    unsigned threads = 0;
    // --quiet and --progress: never, or always, the progress line on standard error; by
    // default it shows where standard error is a terminal.
    bool quiet = false;
    bool progress = false;
    // --block-bytes, for tests only (not in the usage): the size of the blocks a stream is
    // read in; 0: the engine's own.
    std::size_t block_bytes = 0;
};

// What the command line asks for: a run, or only the usage or the version.
struct Command {
    enum class Kind { Run, Help, Version };
    Kind kind = Kind::Run;
    Options options;
};

// A size as --memory takes it: bytes, or a number with K, M, G or T (powers of 1024). Throws
// UsageError.
std::uint64_t ParseMemorySize(const std::string& text);

// Throws UsageError for anything it does not understand.
Command ParseCommand(const std::vector<std::string>& args);

// Puts the text options into `params` in the document's encoding. An option that is valid
// UTF-8 is read as text; one that is not is taken as the document's own bytes. Throws
// UsageError naming an option the encoding cannot hold.
void ApplyTexts(const GivenTexts& texts, Encoding encoding, FunctionParams& params);

// A function and its options, as a recipe step writes them: the words after OUTPUT on the
// command line, read by the same parser, but only the options that function takes.
struct FunctionCall {
    FunctionId function = FunctionId::CutLeading;
    GivenTexts texts;
    FunctionParams params;
};
// Throws UsageError for what the command line would refuse, and for an option the function
// does not take or a count that is not a number.
FunctionCall ParseFunctionWords(const std::vector<std::string>& words);

// The usage, with every option and every function's name, as --help prints it.
std::string UsageText();

// "quillex-batch 1.0"
std::string VersionText();

}  // namespace quillex::batch
