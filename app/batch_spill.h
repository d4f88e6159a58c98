#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/batch_run.h"

namespace quillex::batch {

class ProgressLine;

// The sort or the dedupe of an input larger than the memory bound (Work::memory), through
// temporary files (see SortInRuns and DedupeInParts), with what the work on the loaded input
// prints: a NUL's warning, then "Lines processed" after `prefix`. False, nothing read, where
// the run is no such work; also for standard input (no `input`) with --encoding auto, which
// cannot be read twice. Standard input is read a third of the bound first: where that is all
// of it, it is worked on in memory. `line`, where given, shows how far the work is and is
// cleared before anything is printed.
bool RunPastTheMemoryBound(const Work& work, const std::optional<std::filesystem::path>& input,
                           const std::optional<std::filesystem::path>& output,
                           const std::string& prefix, ProgressLine* line);

}  // namespace quillex::batch
