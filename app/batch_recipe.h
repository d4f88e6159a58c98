#pragma once

#include <cstddef>
#include <exception>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_options.h"
#include "core/document_lines.h"

namespace quillex::batch {

// A recipe that cannot be used, found before anything runs; the message names the file and
// the line at fault.
class BadRecipe : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A step that failed while the recipe ran; the message names it ("line 3, trim: reason").
class StepFailed : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One step of a recipe: its line in the file, and the function with its options.
struct RecipeStep {
    std::size_t line = 0;
    FunctionCall call;
};

// Reads a recipe's text, every step as its words would be read after OUTPUT on the command
// line, before anything runs. Throws RecipeError ("line N: reason") for the first bad line.
std::vector<RecipeStep> ParseRecipe(std::string_view text);

// The recipe file's steps. Throws BadRecipe ("FILE: line N: reason"), also for a file that
// cannot be read or holds no step; `name` is the file as the user gave it.
std::vector<RecipeStep> ReadRecipe(const std::filesystem::path& file, const std::string& name);

// Puts every step's texts into the document's encoding. Throws BadRecipe naming the file and
// the line of a text that encoding cannot hold.
void PrepareSteps(std::vector<RecipeStep>& steps, Encoding encoding, const std::string& name);

// "line 3, trim"
std::string StepName(const RecipeStep& step);

// Runs the steps in order over `document`: the list that dedupe, drop-first and filter-ext
// keep becomes the document. Step k reports to `progressOf(k)`. Throws StepFailed for the
// first step that fails (a lack of memory and a cancel go through as they are); the document
// is then part way and the caller drops it.
void RunSteps(const std::vector<RecipeStep>& steps, DocumentLines& document,
              const std::function<Progress(std::size_t step)>& progressOf);
// Throws `failure`, which `step` threw, as RunSteps lets it out.
[[noreturn]] void RethrowStepFailure(const RecipeStep& step, const std::exception_ptr& failure);

}  // namespace quillex::batch
