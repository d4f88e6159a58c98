#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/batch_run.h"
#include "core/block_reader.h"
#include "core/file_format.h"
#include "core/spill_file.h"

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

// The work's bound, threads and block size for the work through temporary files; the
// temporary folder apart (TempFolderOf), since asking for it fails where TMPDIR names none.
SpillSettings SpillSettingsOf(const Work& work);
std::filesystem::path TempFolderOf(const Work& work);

// The sort or the dedupe `call` names over `reader`'s input of `size` bytes (0: unknown)
// through temporary files, written to `write`; gives the last number it reports (0: none).
// `again` reads the input anew for the dedupe's second pass; none: the first keeps a copy.
std::uint64_t WorkInParts(const FunctionCall& call, BlockReader& reader,
                          const std::function<std::unique_ptr<BlockReader>()>& again,
                          Encoding encoding, const SpillSettings& settings, std::uint64_t size,
                          const PieceWriter& write, ProgressLine* line);

}  // namespace quillex::batch
