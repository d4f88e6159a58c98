#pragma once

// The steps run over a text a block of lines at a time, on several threads, the result written
// as it is made: the memory does not grow with the text, and the bytes, the counts and the
// failures are those of a run over the whole text in memory.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/batch_recipe.h"
#include "core/block_reader.h"
#include "core/file_format.h"
#include "core/progress.h"

namespace quillex::batch {

// The blocks a stream is read in where nothing else is asked: a few of them are out at once,
// and each is large enough that handing it between threads costs nothing to speak of.
inline constexpr std::size_t kStreamBlockBytes = std::size_t{4} << 20;

// The progress a step reports: the last number, if any.
struct LastCount {
    bool reported = false;
    std::uint64_t last = 0;

    void Hear(std::uint64_t n) {
        reported = true;
        last = n;
    }
    // "Lines processed: N\n" after `prefix`, or nothing where the run reported no number.
    void Into(std::vector<std::string>& counts, const std::string& prefix) const;
};

// Whether every step can run a block at a time with the whole text's result: functions that
// treat each line alone, drop-first, and a join as the last step (after which the text is one
// line) where no step before it puts a line break or a NUL into a line.
bool Streams(const std::vector<RecipeStep>& steps);

// The encoding a load takes a file's text in: `given`, or the one its bytes show, read as far
// as they must be (to the end for a text that is valid UTF-8).
Encoding EncodingOfFile(const std::filesystem::path& input, std::optional<Encoding> given,
                        std::size_t blockBytes = kStreamBlockBytes);

struct StreamSettings {
    unsigned threads = 1;
    std::size_t blockBytes = kStreamBlockBytes;
    // In a recipe a failure names its step (StepFailed); a function alone fails as it throws.
    bool recipe = false;
    // Hears the bytes read of `inputSize` after each block, and may stop the run there.
    WorkMeter* meter = nullptr;
    std::uint64_t inputSize = 0;
};

// Runs `steps` (Streams) over the text of `reader` in `encoding`, handing the result to
// `write` piece by piece, and gives each step's count. Throws what the whole run would for
// the first step that fails, once it is sure no earlier step fails later in the text; what
// was written by then is to be thrown away.
std::vector<LastCount> StreamSteps(BlockReader& reader, Encoding encoding,
                                   const std::vector<RecipeStep>& steps,
                                   const StreamSettings& settings, const PieceWriter& write);

}  // namespace quillex::batch
