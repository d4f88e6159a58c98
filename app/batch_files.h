#pragma once

#include <filesystem>

#include "core/line_operations.h"

namespace quillex::batch {

// The file format's lines, read with as few reads as the file allows and split in one pass.
// Throws FileError.
Lines ReadWholeFile(const std::filesystem::path& path);

// The lines, each followed by CR LF, written with one write. A regular file (or a new one) is
// replaced only once the new content is complete, so a failed write leaves it as it was; no
// flush to the disk is forced, as for any tool writing a file in a pipeline. Throws FileError.
void WriteWholeFile(const Lines& lines, const std::filesystem::path& path);

}  // namespace quillex::batch
