#include "app/batch_stages.h"

#include <algorithm>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

#include "app/batch_progress.h"
#include "app/batch_spill.h"
#include "app/batch_stream.h"
#include "app/batch_streams.h"
#include "core/external_dedupe.h"
#include "core/line_functions.h"

namespace quillex::batch {

namespace {

bool NeedsTheWholeText(const RecipeStep& step) {
    return Describe(step.call.function).blocks == BlockRule::Whole;
}

// The recipe's stages, as [first, end) of its steps: the steps that stream up to a step that
// needs the whole text, and each such step alone.
using Stage = std::pair<std::size_t, std::size_t>;
std::vector<Stage> StagesOf(const std::vector<RecipeStep>& steps) {
    std::vector<Stage> stages;
    for (std::size_t k = 0; k < steps.size();) {
        std::size_t end = k;
        while (end < steps.size() && !NeedsTheWholeText(steps[end])) {
            ++end;
        }
        stages.emplace_back(k, std::max(end, k + 1));
        k = std::max(end, k + 1);
    }
    return stages;
}

// Whether every stage can run: a whole-text step past the bound, or steps that stream.
bool CanRunInStages(const std::vector<RecipeStep>& steps, const std::vector<Stage>& stages) {
    bool whole = false;
    for (const auto& [first, end] : stages) {
        const FunctionId function = steps[first].call.function;
        if (NeedsTheWholeText(steps[first])) {
            if (function != FunctionId::Dedupe && function != FunctionId::Sort) {
                return false;
            }
            whole = true;
        } else if (!Streams({steps.begin() + static_cast<std::ptrdiff_t>(first),
                             steps.begin() + static_cast<std::ptrdiff_t>(end)})) {
            return false;
        }
    }
    return whole;  // else the recipe streams whole
}

}  // namespace

bool RunRecipeInStages(const Work& work, const std::optional<std::filesystem::path>& input,
                       const std::optional<std::filesystem::path>& output,
                       const std::string& prefix, ProgressLine* line) {
    if (!work.recipe || !input || !CanRunInStages(work.steps, StagesOf(work.steps))) {
        return false;
    }
    std::error_code ec;
    const std::uint64_t size = std::filesystem::file_size(*input, ec);
    if (ec || DedupeFitsInMemory(size, work.memory)) {
        return false;  // the load says what is wrong with an input it cannot read
    }
    SpillSettings settings = SpillSettingsOf(work);
    settings.temp_dir = TempFolderOf(work);
    const std::size_t block = BlockBytesOf(work);
    const Encoding encoding = EncodingOfFile(*input, work.encoding, block);
    const std::vector<RecipeStep> steps = StepsIn(work, encoding);
    const std::vector<Stage> stages = StagesOf(steps);
    if (!CanRunInStages(steps, stages)) {
        return false;  // a text of a step puts a line break where a join would see it
    }
    std::vector<LastCount> heard(steps.size());
    LoadReport report;
    std::unique_ptr<SpillFile> before;  // what the stage before wrote
    for (std::size_t s = 0; s < stages.size(); ++s) {
        // Named apart, not bound: a lambda below takes them.
        const std::size_t first = stages[s].first;
        const std::size_t end = stages[s].second;
        const std::filesystem::path source = before ? before->Finish() : *input;
        const std::uint64_t sourceSize = before ? before->Size() : size;
        std::unique_ptr<SpillFile> after;
        {
            BlockReader reader(source, block);
            const ContentProducer produce = [&](const PieceWriter& write) {
                if (NeedsTheWholeText(steps[first])) {
                    auto again = [&] { return std::make_unique<BlockReader>(source, block); };
                    const std::uint64_t lines =
                        WorkInParts(steps[first].call, reader, again, encoding, settings,
                                    sourceSize, write, line);
                    if (lines != 0) {
                        heard[first].Hear(lines);
                    }
                    return;
                }
                StreamSettings streaming;
                streaming.threads = work.threads;
                streaming.blockBytes = block;
                streaming.recipe = true;
                streaming.meter = line;
                streaming.inputSize = sourceSize;
                const std::vector<LastCount> counts =
                    StreamSteps(reader, encoding,
                                {steps.begin() + static_cast<std::ptrdiff_t>(first),
                                 steps.begin() + static_cast<std::ptrdiff_t>(end)},
                                streaming, write);
                std::copy(counts.begin(), counts.end(),
                          heard.begin() + static_cast<std::ptrdiff_t>(first));
            };
            if (s + 1 < stages.size()) {
                after = std::make_unique<SpillFile>(settings.temp_dir, "recipe");
                produce([&](std::string_view piece) { after->Append(piece); });
            } else {
                WriteOut(produce, sourceSize, output);
            }
            if (s == 0) {
                report = reader.Report();
            }
        }
        before = std::move(after);  // the stage's source goes once its reader has
    }
    if (line != nullptr) {
        line->Clear();
    }
    WarnOfNul(report, *input);
    PrintCounts(output, CountsOf(work, steps, heard, prefix));
    return true;
}

}  // namespace quillex::batch
