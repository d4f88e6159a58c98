#include "app/batch_run.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <new>
#include <sstream>
#include <stdexcept>

#include "app/batch_streams.h"
#include "core/document_lines.h"
#include "core/file_format.h"
#include "core/input_check.h"
#include "core/line_functions.h"
#include "core/recipe_text.h"

namespace quillex::batch {

namespace {

constexpr const char* kStandardInputName = "standard input";

// The recipe file's steps, every one read before any input is.
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

// Loads `input` (none: standard input) into `document` in the given encoding or the one the
// input shows.
Encoding Load(const std::optional<Encoding>& given,
              const std::optional<std::filesystem::path>& input, DocumentLines& document) {
    LoadReport load;
    if (input) {
        document.LoadFromFile(*input, &load);
    } else {
        LoadFromStream(stdin, kStandardInputName, document, &load);
    }
    if (load.nulOffset) {  // the run goes on with the text before it, as the window's does
        std::fprintf(stderr, "quillex-batch: warning: %s.\n",
                     NulNotice(input ? *input : kStandardInputName, *load.nulOffset).c_str());
    }
    const Encoding encoding = given ? *given : DetectEncoding(document.TextForm());
    document.SetEncoding(encoding);
    return encoding;
}

// Writes `output` (none: standard output) through the safe writer, then the counts: beside
// the document on standard output, a count would become part of it.
void Save(const std::optional<std::filesystem::path>& output, const TextPieces& pieces,
          const std::vector<std::string>& counts) {
    if (output) {
        SaveText(pieces, *output);
    } else if (!WritePieces(stdout, pieces)) {
        FailStream("standard output");
    }
    for (const std::string& count : counts) {
        std::fputs(count.c_str(), output ? stdout : stderr);
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
    void Into(std::vector<std::string>& counts, const std::string& prefix) const {
        if (reported) {
            counts.push_back(prefix + "Lines processed: " + std::to_string(last) + "\n");
        }
    }
};

}  // namespace

Work WorkOf(const Options& options) {
    Work work;
    work.encoding = options.encoding;
    if (options.recipe) {
        work.recipe = options.recipe;
        work.steps = ReadRecipe(*options.recipe);
    } else {
        work.steps.push_back({0, {options.function, options.texts, options.params}});
    }
    return work;
}

std::vector<RecipeStep> StepsIn(const Work& work, Encoding encoding) {
    std::vector<RecipeStep> steps = work.steps;
    for (RecipeStep& step : steps) {
        try {
            ApplyTexts(step.call.texts, encoding, step.call.params);
        } catch (const UsageError& e) {
            if (!work.recipe) {
                throw;
            }
            throw BadRecipe(*work.recipe + ": " + RecipeError(step.line, e.what()).what());
        }
    }
    return steps;
}

std::filesystem::path ArgumentPath(const std::string& name) {
#if defined(_WIN32)
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
#else
    return std::filesystem::path(name);
#endif
}

// A full disk or a closed pipe shows only here, once the buffer is flushed.
void FlushStandardOutput() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        FailStream("standard output");
    }
}

// In a recipe the list that dedupe, drop-first and filter-ext keep becomes the document; a
// function alone writes its list as it is. The first step that fails ends the run.
void RunFile(const Work& work, const std::optional<std::filesystem::path>& input,
             const std::optional<std::filesystem::path>& output, const std::string& prefix) {
    DocumentLines document;
    const std::vector<RecipeStep> steps = StepsIn(work, Load(work.encoding, input, document));
    std::optional<LineSelection> list;
    std::vector<std::string> counts;
    for (const RecipeStep& step : steps) {
        const std::string name = work.recipe
                                     ? "line " + std::to_string(step.line) + ", " +
                                           std::string(Describe(step.call.function).name) + ": "
                                     : "";
        LastCount count;
        try {
            FunctionResult result =
                RunLineFunction(step.call.function, step.call.params, document, count.Hear());
            if (result.to_write && work.recipe) {
                document.Keep(*result.to_write);
            } else if (result.to_write) {
                list = std::move(result.to_write);
            }
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& e) {
            if (!work.recipe) {
                throw;
            }
            throw std::runtime_error(name + e.what());
        }
        count.Into(counts, prefix + name);
    }
    Save(output, list ? document.TextForm(*list) : document.FileForm(), counts);
}

}  // namespace quillex::batch
