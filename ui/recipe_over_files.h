#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/batch_recipe.h"
#include "core/progress.h"

namespace quillex {

// One input's end: empty `failure` when its result was written.
struct FileOutcome {
    std::filesystem::path input;
    std::string failure;
};

// Runs the recipe's steps over each input, loaded and detected as the window loads a file,
// and writes each result into `folder` under the input's name through the safe writer, as
// the batch runner plans it: outputs that would write over an input or over each other
// refuse the run before anything runs (FileJobsRefused). A file that fails is told in its
// outcome and the others go on. The results are kept aside until the last file is done and
// only then take their names, so that a cancel (at any report of `meter`) leaves the folder
// as it was. `onFile(k, count)` hears that input k of count begins.
std::vector<FileOutcome> ApplyRecipeToFiles(
    const std::vector<batch::RecipeStep>& steps, const std::string& recipeName,
    const std::vector<std::filesystem::path>& inputs, const std::filesystem::path& folder,
    WorkMeter& meter, const std::function<void(std::size_t k, std::size_t count)>& onFile);

}  // namespace quillex
