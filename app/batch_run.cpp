#include "app/batch_run.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <system_error>

#include "app/batch_progress.h"
#include "app/batch_spill.h"
#include "app/batch_stages.h"
#include "app/batch_stream.h"
#include "app/batch_streams.h"
#include "core/block_pipeline.h"
#include "core/block_reader.h"
#include "core/document_lines.h"
#include "core/file_format.h"
#include "core/input_check.h"
#include "core/line_functions.h"
#include "core/system_memory.h"

namespace quillex::batch {

namespace {

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
    if (load.nulOffset) {
        shares.Clear();
    }
    WarnOfNul(load, input ? *input : kStandardInputName);
    return document.TakeEncoding(given);
}

// Writes `output` (none: standard output) through the safe writer, then the counts.
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
    PrintCounts(output, counts);
}

void ClearLine(ProgressLine* line) {
    if (line != nullptr) {
        line->Clear();
    }
}

// Runs the work a block at a time where its steps allow it; false, having done nothing, where
// they do not, or where standard input's encoding is to be found, which shows only at its end.
bool StreamFile(const Work& work, const std::optional<std::filesystem::path>& input,
                const std::optional<std::filesystem::path>& output, const std::string& prefix,
                ProgressLine* line) {
    if (!Streams(work.steps) || (!input && !work.encoding)) {
        return false;
    }
    StreamSettings settings;
    settings.threads = work.threads;
    settings.blockBytes = BlockBytesOf(work);
    settings.recipe = work.recipe.has_value();
    const Encoding encoding =
        input ? EncodingOfFile(*input, work.encoding, settings.blockBytes) : *work.encoding;
    const std::vector<RecipeStep> steps = StepsIn(work, encoding);
    if (!Streams(steps)) {
        return false;  // a text of a step puts a line break where a join would see it
    }
    std::optional<BlockReader> reader;
    settings.meter = line;
    if (input) {
        reader.emplace(*input, settings.blockBytes);
        settings.inputSize = InputSize(input);
    } else {
        reader.emplace(stdin, kStandardInputName, settings.blockBytes);
    }
    std::vector<LastCount> heard;
    const ContentProducer produce = [&](const PieceWriter& write) {
        heard = StreamSteps(*reader, encoding, steps, settings, write);
    };
    try {
        WriteOut(produce, settings.inputSize, output);
    } catch (...) {
        ClearLine(line);
        WarnOfNul(reader->Report(), reader->Name());
        throw;
    }
    ClearLine(line);
    WarnOfNul(reader->Report(), reader->Name());
    PrintCounts(output, CountsOf(work, steps, heard, prefix));
    return true;
}

}  // namespace

Work WorkOf(const Options& options) {
    Work work;
    work.encoding = options.encoding;
    work.threads = options.threads != 0 ? options.threads : AvailableCores();
    work.blockBytes = options.block_bytes;
    work.memory = options.memory ? *options.memory : DefaultMemoryBound();
    if (options.temp_dir) {
        work.tempDir = ArgumentPath(*options.temp_dir);
    }
    if (options.recipe) {
        work.recipe = options.recipe;
        work.steps = ReadRecipe(ArgumentPath(*options.recipe), *options.recipe);
    } else {
        work.steps.push_back({0, {options.function, options.texts, options.params}});
    }
    return work;
}

std::size_t BlockBytesOf(const Work& work) {
    return work.blockBytes != 0 ? work.blockBytes : BlockBytesWithin(work.memory, work.threads);
}

std::vector<std::string> CountsOf(const Work& work, const std::vector<RecipeStep>& steps,
                                  const std::vector<LastCount>& heard, const std::string& prefix) {
    std::vector<std::string> counts;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        heard[k].Into(counts, work.recipe ? prefix + StepName(steps[k]) + ": " : prefix);
    }
    return counts;
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

void PrintCounts(const std::optional<std::filesystem::path>& output,
                 const std::vector<std::string>& counts) {
    for (const std::string& count : counts) {
        std::fputs(count.c_str(), output ? stdout : stderr);
    }
    FlushStandardOutput();
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
    if (RunPastTheMemoryBound(work, input, output, prefix, line) ||
        RunRecipeInStages(work, input, output, prefix, line) ||
        StreamFile(work, input, output, prefix, line)) {
        return;
    }
    DocumentLines document;
    RunShares shares(line, InputSize(input));
    const std::vector<RecipeStep> steps =
        StepsIn(work, Load(work.encoding, input, document, shares));
    std::vector<LastCount> heard(steps.size());
    std::vector<PartMeter> meters;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        meters.push_back(shares.Step(k, steps.size()));
    }
    auto hear = [&](std::size_t k) {
        return Progress([&last = heard[k]](std::size_t n) { last.Hear(n); }, &meters[k]);
    };
    if (work.recipe) {
        RunSteps(steps, document, hear);
        Save(output, StreamOf(document.FileForm()), CountsOf(work, steps, heard, prefix), shares);
        return;
    }
    // A function alone writes its result straight from the lines where they lie.
    const FunctionCall& call = steps.front().call;
    const FunctionResult result = RunForWriting(call.function, call.params, document, hear(0));
    const std::vector<std::string> counts = CountsOf(work, steps, heard, prefix);
    if (result.text) {
        Save(output, *result.text, counts, shares);
    } else if (result.order) {
        Save(output, document.FileForm(*result.order), counts, shares);
    } else {
        Save(output,
             StreamOf(result.to_write ? document.TextForm(*result.to_write) : document.FileForm()),
             counts, shares);
    }
}

}  // namespace quillex::batch
