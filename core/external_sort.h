#pragma once

// Sorting a text larger than the memory may hold: it is read a block at a time, each block's
// lines are sorted as a document's would be and written to a temporary file as a run, and
// the runs are then merged.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "core/block_reader.h"
#include "core/encoding.h"
#include "core/line_ordering.h"
#include "core/progress.h"
#include "core/spill_file.h"

namespace quillex {

// The block size for the reader of a sort in runs: a third of the bound, or `block_bytes`.
std::size_t RunBlockBytes(const SpillSettings& settings) noexcept;

// Whether a sort of a text of `bytes` bytes loaded whole keeps within `memory`: the text, its
// index and the sort's items take about one and a half times the text.
bool SortFitsInMemory(std::uint64_t bytes, std::uint64_t memory) noexcept;

// Sorts the lines `reader` gives as SortLines sorts a document of them in `encoding` (a UTF-8
// byte-order mark held apart and written first), handing the sorted text form to `write`
// piece by piece. The runs live in one temporary file in `settings.temp_dir`, made and removed
// as the safe writer's temporary files are; it is gone when the call returns, thrown out of
// or not. Returns the line count. Throws FileError where the temporary file cannot be made,
// written (a full disk) or read, before anything is written where it cannot be made or
// written. `progress` hears, as each run is written, the bytes of the input read so far (of a
// total of 0: the reader does not know the input's size).
std::uint64_t SortInRuns(BlockReader& reader, Encoding encoding, SortOrder order, bool descending,
                         const SpillSettings& settings,
                         const std::function<void(std::string_view)>& write,
                         const Progress& progress = {});

}  // namespace quillex
