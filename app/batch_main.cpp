// quillex-batch: one line function over a file, without the window, for scripts and for
// timing the core against other text tools as whole processes.
//   exit 0: done, "Lines processed: N" printed unless the run reported no number
//   exit 1: the run, a file or standard output failed; OUTPUT is left as it was
//   exit 2: bad arguments, a bad recipe, or outputs that would write over an input
// With --recipe FILE, the steps of FILE run in order over one load and one save. With
// --output-dir DIR or --in-place, over every INPUT in turn, each one reported on its own.

#include <cstdio>
#include <cwchar>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif

#include "app/batch_many.h"
#include "app/batch_options.h"
#include "app/batch_progress.h"
#include "app/batch_recipe.h"
#include "app/batch_run.h"
#include "core/block_pipeline.h"
#include "core/file_jobs.h"

namespace quillex::batch {

namespace {

constexpr const char* kShortUsage =
    "usage: quillex-batch FUNCTION INPUT OUTPUT [options]\n"
    "'quillex-batch --help' lists the options and the functions.\n";

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
        const Options& options = command.options;
        const Work work = WorkOf(options);
        SetWorkThreads(work.threads);  // for the work within one function, such as a dedupe
        // Gone, and with it the line, before a failure is printed.
        ProgressLine line = StandardErrorLine(options);
        if (options.Many()) {
            return RunMany(work, options, line);
        }
        auto file = [](const std::string& name) {
            return name == kStandardStream
                       ? std::nullopt
                       : std::optional<std::filesystem::path>(ArgumentPath(name));
        };
        RunFile(work, file(options.input), file(options.output), "", &line);
        return 0;
    } catch (const BadRecipe& e) {
        std::fprintf(stderr, "quillex-batch: %s\n", e.what());
        return 2;
    } catch (const FileJobsRefused& e) {
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
