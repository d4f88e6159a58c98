#pragma once

// Removing duplicate lines from a text larger than the memory may hold: the lines are parted
// by the hash of their folded form into a temporary file, each part is deduplicated alone in
// memory (equal lines always share a part), and the text is read once more to write the lines
// kept, in their order.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "core/block_reader.h"
#include "core/encoding.h"
#include "core/progress.h"
#include "core/spill_file.h"

namespace quillex {

// Whether the dedupe of a text of `bytes` bytes loaded whole keeps within `memory`: the text,
// its index and the set of lines seen take about one and a half times the text.
bool DedupeFitsInMemory(std::uint64_t bytes, std::uint64_t memory) noexcept;

// The blocks its input is read in: small enough that two a thread, with their lines' index
// and hashes, take an eighth of the bound; or `settings.block_bytes`.
std::size_t DedupeBlockBytes(const SpillSettings& settings) noexcept;

// Writes to `write` what RemoveDuplicateLines keeps of the text of `reader` in `encoding` (the
// first line of each group equal but for letter case), in the text form the load gives. The
// text is read a second time from `reopen`, or, where it gives none (standard input), from a
// copy kept in the temporary file. Blocks are `settings.block_bytes` (0: from the bound); the
// parts are worked on `settings.threads` threads. Returns the number of the last line kept,
// counted from 1, as the function reports it; none for an empty text. The temporary file is
// made in `settings.temp_dir` as the safe writer's are and is gone when the call returns.
// Throws FileError where it cannot be made, written (a full disk) or read. `progress` hears
// bytes done of three times `inputSize` (0: unknown): a pass to part, the parts, and the pass
// that writes.
std::optional<std::uint64_t> DedupeInParts(
    BlockReader& reader, const std::function<std::unique_ptr<BlockReader>()>& reopen,
    Encoding encoding, const SpillSettings& settings, std::uint64_t inputSize,
    const std::function<void(std::string_view)>& write, const Progress& progress = {});

}  // namespace quillex
