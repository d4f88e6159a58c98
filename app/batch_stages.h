#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/batch_run.h"

namespace quillex::batch {

// A recipe whose steps that need the whole text are sorts and dedupes, over a file larger than
// the memory bound, in stages through temporary files: the steps up to such a step stream into
// one, the step works past the bound on it (see WorkInParts) into the next, and so on; the
// last stage writes `output` through the safe writer. Bytes, counts and messages are those of
// the recipe in memory. False, having written nothing, where the recipe or the input is not
// of that kind.
bool RunRecipeInStages(const Work& work, const std::optional<std::filesystem::path>& input,
                       const std::optional<std::filesystem::path>& output,
                       const std::string& prefix, ProgressLine* line);

}  // namespace quillex::batch
