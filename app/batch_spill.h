#pragma once

#include <filesystem>

#include "app/batch_options.h"

namespace quillex::batch {

class ProgressLine;

// The sort of an input larger than the memory bound (Options::memory), in runs in temporary
// files (see SortInRuns), with what the sort of the loaded input prints: a NUL's warning, then
// "Lines processed". False, nothing read, where the run is no such sort; also for standard
// input with --encoding auto, which cannot be read twice. Standard input is read a block first:
// where that is all of it, it is sorted in memory. `line`, where given, shows how far the sort
// is and is cleared before anything is printed.
bool SortLargeInput(const Options& options, const std::filesystem::path& input,
                    const std::filesystem::path& output, ProgressLine* line = nullptr);

}  // namespace quillex::batch
