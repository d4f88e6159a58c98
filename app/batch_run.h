#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/batch_options.h"
#include "app/batch_recipe.h"
#include "core/encoding.h"

namespace quillex::batch {

class ProgressLine;
struct LastCount;

// What runs over each input: the one function the command line names, or a recipe's steps.
struct Work {
    // A function alone is one step, its line 0.
    std::vector<RecipeStep> steps;
    // The recipe file's name; none for a function alone, whose list (dedupe, drop-first,
    // filter-ext) is written as it is and whose count names no step.
    std::optional<std::string> recipe;
    // The documents' encoding; none: each input's own, detected.
    std::optional<Encoding> encoding;
    // The threads a stream of blocks is worked on by, and the size of its blocks (0: the
    // engine's own).
    unsigned threads = 1;
    std::size_t blockBytes = 0;
    // The memory the run may take (--memory), which the blocks out at once keep well within.
    std::uint64_t memory = 0;
    // Where a sort or a dedupe past that bound keeps its temporary file (--temp-dir); none:
    // the system's.
    std::optional<std::filesystem::path> tempDir;
};

// The work the options ask for, the recipe read and every line of it checked (BadRecipe).
Work WorkOf(const Options& options);

// The size of the blocks the work's streams read: the one given, or the engine's own within
// the work's memory.
std::size_t BlockBytesOf(const Work& work);

// The "Lines processed" lines of the steps that reported one, after `prefix` and, in a
// recipe, the step's name.
std::vector<std::string> CountsOf(const Work& work, const std::vector<RecipeStep>& steps,
                                  const std::vector<LastCount>& heard, const std::string& prefix);

// The steps with their texts in `encoding`: UsageError for a function's text it cannot hold,
// BadRecipe naming the recipe's line for a step's.
std::vector<RecipeStep> StepsIn(const Work& work, Encoding encoding);

// A file named on the command line: on Windows the name came as UTF-8 from the wide command
// line, elsewhere it is the bytes the system names it by.
std::filesystem::path ArgumentPath(const std::string& name);

// Everything written to standard output reached it, or StreamError.
void FlushStandardOutput();

// Prints the counts after the document is out: to standard error where the document went to
// standard output, of which a count would become part.
void PrintCounts(const std::optional<std::filesystem::path>& output,
                 const std::vector<std::string>& counts);

// Loads `input`, runs the work over it and writes `output` through the safe writer (none:
// standard input or output), then prints each count after `prefix`. A step that fails throws,
// naming its line in a recipe, and leaves `output` as it was. `line`, where given, shows how
// far the run is and is cleared before anything is printed.
void RunFile(const Work& work, const std::optional<std::filesystem::path>& input,
             const std::optional<std::filesystem::path>& output, const std::string& prefix = "",
             ProgressLine* line = nullptr);

}  // namespace quillex::batch
