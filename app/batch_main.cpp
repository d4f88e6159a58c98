// quillex-batch: one line function over a file, without the window, for scripts and for
// timing the core against other text tools as whole processes.
//   exit 0: done, "Lines processed: N" printed unless the run reported no number
//   exit 1: the run or a file failed; OUTPUT is left as it was
//   exit 2: bad arguments

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "app/batch_options.h"
#include "core/document_lines.h"
#include "core/file_format.h"
#include "core/input_check.h"
#include "core/line_functions.h"

namespace quillex::batch {

namespace {

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
        DocumentLines document;
        LoadReport load;
        document.LoadFromFile(options.input, &load);
        if (load.nulOffset) {  // the run goes on with the text before it, as the window's does
            std::fprintf(stderr, "quillex-batch: warning: %s.\n",
                         NulNotice(options.input, *load.nulOffset).c_str());
        }
        const FunctionResult result =
            RunLineFunction(options.function, options.params, document, progress);
        SaveText(
            result.to_write ? document.TextForm(*result.to_write) : TextPieces{document.TextForm()},
            options.output);
        if (reported) {
            std::printf("Lines processed: %zu\n", last);
        }
        return 0;
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

int main(int argc, char* argv[]) {
    return quillex::batch::Main(std::vector<std::string>(argv + 1, argv + argc));
}
