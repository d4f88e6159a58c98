#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillex {

// Inputs and outputs that must not run together: an output that is one of the inputs (the
// same file by identity, whatever its name), or one output for two inputs. The message names
// the files.
class FileJobsRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One input of a run over many files and where its result goes.
struct FileJob {
    // As given, or a folder's path as given joined with the file's path in it.
    std::filesystem::path input;
    std::filesystem::path output;
    // Not empty: the input does not run, for this reason (naming it); the others go on.
    std::string failure;
};

// The inputs in the order given, each folder's files (with `recursive`, sorted by their path
// in it) in its place; without `recursive` a folder is a failure of its own. With an output
// folder, each result goes into it under the input's name, a folder's files under their path
// in the folder (the output folder's own files never taken as inputs); without one, over the
// input itself. Throws FileJobsRefused before anything runs where the outputs would write
// over an input or over each other.
std::vector<FileJob> PlanFileJobs(const std::vector<std::filesystem::path>& inputs,
                                  const std::optional<std::filesystem::path>& outputFolder,
                                  bool recursive);

}  // namespace quillex
