#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/batch_recipe.h"
#include "core/progress.h"

namespace quillex {

// Why a file of a run over files was not written, in the interface language.
struct FileRefusals {
    std::string sameAsInput;  // the output would be the input itself
    std::string sameName;     // an earlier input of the same name writes there
};

// One input's end: empty `failure` when its result was written.
struct FileOutcome {
    std::filesystem::path input;
    std::string failure;
};

// Runs the recipe's steps over each input, loaded and detected as the window loads a file,
// and writes each result into `folder` under the input's name through the safe writer. A
// file that fails is told in its outcome and the others go on. The results are kept aside
// until the last file is done and only then take their names, so that a cancel (at any
// report of `meter`) leaves the folder as it was. `onFile(k)` hears that input k begins.
std::vector<FileOutcome> ApplyRecipeToFiles(const std::vector<batch::RecipeStep>& steps,
                                            const std::string& recipeName,
                                            const std::vector<std::filesystem::path>& inputs,
                                            const std::filesystem::path& folder,
                                            const FileRefusals& refusals, WorkMeter& meter,
                                            const std::function<void(std::size_t k)>& onFile);

}  // namespace quillex
