// quillex-batch: one line function over a file, without the window, for scripts and for
// timing the core against other text tools as whole processes.
//   exit 0: done, "Lines processed: N" printed unless the run reported no number
//   exit 1: the run or a file failed; OUTPUT is left as it was
//   exit 2: bad arguments

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "app/batch_files.h"
#include "app/batch_options.h"
#include "core/file_format.h"
#include "core/input_check.h"
#include "core/line_operations.h"

namespace quillex::batch {

namespace {

// Runs the function over `lines`; returns the list that goes to OUTPUT.
Lines RunFunction(const Options& o, Lines lines, const Progress& progress) {
    switch (o.function) {
        case 0:
            RemoveLeadingChars(lines, o.count, progress);
            break;
        case 1:
            ReplaceChar(lines, o.from, o.to, progress);
            break;
        case 2:
            TruncateAtWord(lines, o.Word(), progress);
            break;
        case 3:
            AddTextToLines(lines, o.left, o.right, progress);
            break;
        case 4:
            RemoveLinesByCondition(lines, o.condition, o.Text(), progress);
            break;
        case 5:
            return RemoveDuplicateLines(lines, progress);
        case 6:
            RemoveCharClass(lines, o.char_class, progress);
            break;
        case 7:
            RemoveLineFolds(lines, o.marker, progress);
            break;
        case 8:
            return RemoveLinesBefore(lines, ParseCountText(o.lines), progress);
        case 9: {
            ExtensionSplit split = FilterLinesByExtension(lines, o.Text(), progress);
            return o.mode == FilterMode::KeepMatching ? std::move(split.matching)
                                                      : std::move(split.others);
        }
        case 10:
            TrimLines(lines, o.side, progress);
            break;
        case 11:
            RemoveLinesWithWord(lines, o.Word(), progress);
            break;
    }
    return lines;
}

int Main(const std::vector<std::string>& args) {
    Options options;
    try {
        options = ParseOptions(args);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "quillex-batch: %s\n%s", e.what(), kUsage);
        return 2;
    }
    try {
        bool reported = false;
        std::size_t last = 0;
        const Progress progress = [&](std::size_t n) {
            reported = true;
            last = n;
        };
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(options.input, ec);
        // The lines, their copies in a returned list, and the allocator's own share.
        PrepareHeap(ec ? 0 : 3 * size + (std::uintmax_t{64} << 20));
        LoadReport load;
        Lines lines = LoadLines(options.input, &load);
        if (load.nulOffset) {  // the run goes on with the text before it, as the window's does
            std::fprintf(stderr, "quillex-batch: warning: %s.\n",
                         NulNotice(options.input, *load.nulOffset).c_str());
        }
        const Lines result = RunFunction(options, std::move(lines), progress);
        WriteWholeFile(result, options.output);
        if (reported) {
            std::printf("Lines processed: %zu\n", last);
        }
        // Ends here, with the lines still held: the system takes the memory back at once,
        // while handing a million lines back one by one would only cost time.
        std::fflush(stdout);
        std::_Exit(0);
    } catch (const std::exception& e) {
        // As the window's general error report shows a message: with a final full stop.
        std::fprintf(stderr, "quillex-batch: %s.\n", e.what());
        return 1;
    }
}

}  // namespace

}  // namespace quillex::batch

int main(int argc, char* argv[]) {
    return quillex::batch::Main(std::vector<std::string>(argv + 1, argv + argc));
}
