// quillex-batch: one line function over a file, without the window, for scripts and for
// timing the core against other text tools as whole processes.
//   exit 0: done, "Lines processed: N" printed unless the run reported no number
//   exit 1: the run, a file or standard output failed; OUTPUT is left as it was
//   exit 2: bad arguments or a bad recipe
// With --recipe FILE, the steps of FILE run in order over one load and one save.

#include <cstdio>
#include <cwchar>
#include <exception>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif

#include "app/batch_options.h"
#include "app/batch_recipe.h"
#include "app/batch_spill.h"
#include "app/batch_streams.h"
#include "core/document_lines.h"
#include "core/file_format.h"
#include "core/input_check.h"
#include "core/line_functions.h"
#include "core/recipe_text.h"

namespace quillex::batch {

namespace {

constexpr const char* kStandardInputName = "standard input";

constexpr const char* kShortUsage =
    "usage: quillex-batch FUNCTION INPUT OUTPUT [options]\n"
    "'quillex-batch --help' lists the options and the functions.\n";

// Everything written to standard output reached it; a full disk or a closed pipe shows only
// here, once the buffer is flushed.
void FlushStandardOutput() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        FailStream("standard output");
    }
}

// A file named on the command line: on Windows the name came as UTF-8 from the wide command
// line, elsewhere it is the bytes the system names it by.
std::filesystem::path ArgumentPath(const std::string& name) {
#if defined(_WIN32)
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
#else
    return std::filesystem::path(name);
#endif
}

// Loads INPUT into `document` in the encoding the options give or the input shows.
Encoding Load(const Options& options, DocumentLines& document) {
    LoadReport load;
    const bool fromStandardInput = options.input == kStandardStream;
    if (fromStandardInput) {
        LoadFromStream(stdin, kStandardInputName, document, &load);
    } else {
        document.LoadFromFile(ArgumentPath(options.input), &load);
    }
    if (load.nulOffset) {  // the run goes on with the text before it, as the window's does
        std::fprintf(
            stderr, "quillex-batch: warning: %s.\n",
            NulNotice(fromStandardInput ? kStandardInputName : options.input, *load.nulOffset)
                .c_str());
    }
    const Encoding encoding =
        options.encoding ? *options.encoding : DetectEncoding(document.TextForm());
    document.SetEncoding(encoding);
    return encoding;
}

// Writes OUTPUT through the safe writer, then the counts: beside the document on standard
// output, a count would become part of it.
void Save(const Options& options, const TextPieces& pieces,
          const std::vector<std::string>& counts) {
    const bool toStandardOutput = options.output == kStandardStream;
    if (toStandardOutput) {
        if (!WritePieces(stdout, pieces)) {
            FailStream("standard output");
        }
    } else {
        SaveText(pieces, ArgumentPath(options.output));
    }
    for (const std::string& count : counts) {
        std::fputs(count.c_str(), toStandardOutput ? stderr : stdout);
    }
    FlushStandardOutput();
}

// The progress a run reports: the last number, if any.
struct LastCount {
    bool reported = false;
    std::size_t last = 0;

    Progress Hear() {
        return [this](std::size_t n) {
            reported = true;
            last = n;
        };
    }
    // "Lines processed: N\n" after `prefix`, or nothing where the run reported no number.
    void Into(std::vector<std::string>& counts, const std::string& prefix = "") const {
        if (reported) {
            counts.push_back(prefix + "Lines processed: " + std::to_string(last) + "\n");
        }
    }
};

int Run(const Options& options) {
    if (SortLargeInput(options, ArgumentPath(options.input), ArgumentPath(options.output))) {
        return 0;
    }
    DocumentLines document;
    const Encoding encoding = Load(options, document);
    FunctionParams params = options.params;
    if (!options.encoding) {
        ApplyTexts(options.texts, encoding, params);  // known only now
    }
    LastCount count;
    const FunctionResult result = RunLineFunction(options.function, params, document, count.Hear());
    std::vector<std::string> counts;
    count.Into(counts);
    Save(options, result.to_write ? document.TextForm(*result.to_write) : document.FileForm(),
         counts);
    return 0;
}

// The recipe file's steps, every one read before INPUT is.
std::vector<RecipeStep> ReadRecipe(const std::string& name) {
    std::ifstream file(ArgumentPath(name), std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf()) || file.bad()) {
        throw BadRecipe(name + ": cannot be read");
    }
    std::vector<RecipeStep> steps;
    try {
        steps = ParseRecipe(text.str());
    } catch (const RecipeError& e) {
        throw BadRecipe(name + ": " + e.what());
    }
    if (steps.empty()) {
        throw BadRecipe(name + ": holds no step");
    }
    return steps;
}

// The steps in order over one document: the list that dedupe, drop-first and filter-ext keep
// becomes the document. The first step that fails ends the run, OUTPUT untouched.
int RunRecipe(const Options& options) {
    std::vector<RecipeStep> steps = ReadRecipe(*options.recipe);
    DocumentLines document;
    const Encoding encoding = Load(options, document);
    for (RecipeStep& step : steps) {
        try {
            ApplyTexts(step.call.texts, encoding, step.call.params);
        } catch (const UsageError& e) {
            throw BadRecipe(*options.recipe + ": " + RecipeError(step.line, e.what()).what());
        }
    }
    std::vector<std::string> counts;
    for (const RecipeStep& step : steps) {
        const std::string name = "line " + std::to_string(step.line) + ", " +
                                 std::string(Describe(step.call.function).name) + ": ";
        LastCount count;
        try {
            const FunctionResult result =
                RunLineFunction(step.call.function, step.call.params, document, count.Hear());
            if (result.to_write) {
                document.Keep(*result.to_write);
            }
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& e) {
            throw std::runtime_error(name + e.what());
        }
        count.Into(counts, name);
    }
    Save(options, document.FileForm(), counts);
    return 0;
}

// Prints the text to standard output; 1 with the reason if it did not get there.
int Print(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    FlushStandardOutput();
    return 0;
}

int Main(const std::vector<std::string>& args) {
#if defined(_WIN32)
    // Bytes as they are: no CR added before LF, no stop at Ctrl-Z.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    Command command;
    try {
        command = ParseCommand(args);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "quillex-batch: %s\n%s", e.what(), kShortUsage);
        return 2;
    }
    try {
        switch (command.kind) {
            case Command::Kind::Help:
                return Print(UsageText());
            case Command::Kind::Version:
                return Print(VersionText() + "\n");
            case Command::Kind::Run:
                break;
        }
        return command.options.recipe ? RunRecipe(command.options) : Run(command.options);
    } catch (const BadRecipe& e) {
        std::fprintf(stderr, "quillex-batch: %s\n", e.what());
        return 2;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "quillex-batch: %s\n%s", e.what(), kShortUsage);
        return 2;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "quillex-batch: not enough memory.\n");
        return 1;
    } catch (const std::exception& e) {
        // As the window's general error report shows a message: with a final full stop.
        std::fprintf(stderr, "quillex-batch: %s.\n", e.what());
        return 1;
    }
}

}  // namespace

}  // namespace quillex::batch

#if defined(_WIN32)
// The arguments from the wide command line as UTF-8, so that no character passes through the
// system's code page on the way in.
int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int k = 1; argv != nullptr && k < argc; ++k) {
        const int wide = static_cast<int>(std::wcslen(argv[k]));
        const int size =
            WideCharToMultiByte(CP_UTF8, 0, argv[k], wide, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[k], wide, arg.data(), size, nullptr, nullptr);
        args.push_back(std::move(arg));
    }
    LocalFree(argv);
    return quillex::batch::Main(args);
}
#else
int main(int argc, char* argv[]) {
    return quillex::batch::Main(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
