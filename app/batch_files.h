#pragma once

#include <filesystem>

#include "core/line_operations.h"

namespace quillex::batch {

// The lines, each followed by CR LF, written through one reused buffer. A regular file (or a
// new one) is replaced only once the new content is complete, so a failed write leaves it as
// it was; no flush to the disk is forced, as for any tool writing a pipeline's output.
// Throws FileError.
void WriteWholeFile(const Lines& lines, const std::filesystem::path& path);

// A one-shot run builds hundreds of megabytes of short-lived lines; on Linux with glibc, have
// the heap grow in one step of about `bytes` and back it with huge pages where the system
// allows, so that the run does not spend most of its time in page faults. Elsewhere, and if
// anything is refused, it does nothing.
void PrepareHeap(std::uintmax_t bytes);

}  // namespace quillex::batch
