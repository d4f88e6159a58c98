#include "app/batch_run.h"

#include <cstdio>
#include <exception>

#include "app/batch_progress.h"
#include "app/batch_streams.h"
#include "core/document_lines.h"
#include "core/file_format.h"
#include "core/input_check.h"
#include "core/line_functions.h"

namespace quillex::batch {

namespace {

constexpr const char* kStandardInputName = "standard input";

// Loads `input` (none: standard input) into `document` in the given encoding or the one the
// input shows.
Encoding Load(const std::optional<Encoding>& given,
              const std::optional<std::filesystem::path>& input, DocumentLines& document,
              RunShares& shares) {
    LoadReport load;
    if (input) {
        PartMeter meter = shares.Load();
        document.LoadFromFile(*input, &load, Progress({}, &meter));
    } else {
        LoadFromStream(stdin, kStandardInputName, document, &load);
        shares.Loaded(document.TextForm().size());
    }
    if (load.nulOffset) {  // the run goes on with the text before it, as the window's does
        shares.Clear();
        std::fprintf(stderr, "quillex-batch: warning: %s.\n",
                     NulNotice(input ? *input : kStandardInputName, *load.nulOffset).c_str());
    }
    return document.TakeEncoding(given);
}

// Writes `output` (none: standard output) through the safe writer, then the counts: beside
// the document on standard output, a count would become part of it.
void Save(const std::optional<std::filesystem::path>& output, const PieceStream& pieces,
          const std::vector<std::string>& counts, const RunShares& shares) {
    if (output) {
        PartMeter meter = shares.Save();
        SaveText(pieces, *output, Progress({}, &meter));
    } else {
        shares.Clear();  // standard output may be the same terminal
        if (!WritePieces(stdout, pieces)) {
            FailStream("standard output");
        }
    }
    shares.Clear();
    for (const std::string& count : counts) {
        std::fputs(count.c_str(), output ? stdout : stderr);
    }
    FlushStandardOutput();
}

// The progress a run reports: the last number, if any.
struct LastCount {
    bool reported = false;
    std::size_t last = 0;

    Progress Hear(WorkMeter* meter) {
        return Progress(
            [this](std::size_t n) {
                reported = true;
                last = n;
            },
            meter);
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
        work.steps = ReadRecipe(ArgumentPath(*options.recipe), *options.recipe);
    } else {
        work.steps.push_back({0, {options.function, options.texts, options.params}});
    }
    return work;
}

std::vector<RecipeStep> StepsIn(const Work& work, Encoding encoding) {
    std::vector<RecipeStep> steps = work.steps;
    if (work.recipe) {
        PrepareSteps(steps, encoding, *work.recipe);
    } else {
        ApplyTexts(steps.front().call.texts, encoding, steps.front().call.params);
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
             const std::optional<std::filesystem::path>& output, const std::string& prefix,
             ProgressLine* line) {
    DocumentLines document;
    RunShares shares(line, InputSize(input));
    const std::vector<RecipeStep> steps =
        StepsIn(work, Load(work.encoding, input, document, shares));
    std::vector<LastCount> heard(steps.size());
    std::vector<PartMeter> meters;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        meters.push_back(shares.Step(k, steps.size()));
    }
    std::vector<std::string> counts;
    if (work.recipe) {
        RunSteps(steps, document, [&](std::size_t k) { return heard[k].Hear(&meters[k]); });
        for (std::size_t k = 0; k < steps.size(); ++k) {
            heard[k].Into(counts, prefix + StepName(steps[k]) + ": ");
        }
        Save(output, StreamOf(document.FileForm()), counts, shares);
        return;
    }
    // A function alone writes its result straight from the lines where they lie.
    const FunctionCall& call = steps.front().call;
    const FunctionResult result =
        RunForWriting(call.function, call.params, document, heard.front().Hear(&meters.front()));
    heard.front().Into(counts, prefix);
    if (result.order) {
        Save(output, document.FileForm(*result.order), counts, shares);
    } else {
        Save(output,
             StreamOf(result.to_write ? document.TextForm(*result.to_write) : document.FileForm()),
             counts, shares);
    }
}

}  // namespace quillex::batch
