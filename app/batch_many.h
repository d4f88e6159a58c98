#pragma once

#include "app/batch_options.h"
#include "app/batch_run.h"

namespace quillex::batch {

class ProgressLine;

// The work over every input the options name (--output-dir or --in-place), one after the
// other in this process: a file that fails is reported with its reason and the others go on;
// a summary line ends the run. Refuses before anything runs (FileJobsRefused, BadRecipe,
// UsageError) what would write over an input or a text the given encoding cannot hold.
// Returns 1 if any file failed, else 0. `line` shows the share of all the inputs' bytes done.
int RunMany(const Work& work, const Options& options, ProgressLine& line);

}  // namespace quillex::batch
