#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_buffer.h"
#include "core/line_selection.h"
#include "core/piece_stream.h"
#include "core/progress.h"

namespace quillex {

struct LoadReport;

// A file could not be read or written. The message names the path and the reason.
class FileError : public std::runtime_error {
  public:
    FileError(const std::filesystem::path& path, const std::string& reason);

    const std::filesystem::path& path() const noexcept { return path_; }

  private:
    std::filesystem::path path_;
};

// The path as UTF-8 text, for messages.
std::string PathText(const std::filesystem::path& path);

// The whole file as it is on disk, in one read where its size is known. Only a regular file
// is read (see OpenInputFile). Throws FileError (a lack of memory included); `progress` hears
// the bytes read so far of the file's size, and a stop there throws WorkCancelled.
ByteBuffer ReadWholeFile(const std::filesystem::path& path, const Progress& progress = {});

// Writes the pieces over `path`, all or nothing: the new content goes to a temporary file
// beside the target, made readable by its owner only, which is flushed to the disk and then
// renamed over the target, so a failed save leaves the old file untouched. Where no temporary
// file can be made beside the target (a read-only folder, no inode left) or the rename fails,
// the save is refused and the target kept: a regular file is never written in place. A
// symbolic link is written through by the kernel's rules (it keeps naming its file; a
// dangling one gets its file made); a replaced file keeps its permissions and, where the
// system lets us, its owner and group, but a hard link to it keeps the old content; a
// read-only file is refused. A device or a pipe is written as it is, without a flush to the
// disk; a pipe with no reader is refused at once. Throws FileError. `progress` hears the bytes
// written to the temporary file; a stop there throws WorkCancelled, which removes the
// temporary file and leaves the target untouched (a device is never stopped).
void SaveText(const TextPieces& pieces, const std::filesystem::path& path,
              const Progress& progress = {});
void SaveText(const PieceStream& text, const std::filesystem::path& path,
              const Progress& progress = {});

// The same for content made as it is written, so that it need not be held whole: `produce`
// hands each piece in order to the writer it is given, which throws to end a failed save.
// `total` is the size expected, for `progress`. Whatever `produce` throws ends the save as a
// failure does, the target untouched, and goes on out.
using PieceWriter = std::function<void(std::string_view piece)>;
using ContentProducer = std::function<void(const PieceWriter& write)>;
void SaveProduced(const ContentProducer& produce, std::uint64_t total,
                  const std::filesystem::path& path, const Progress& progress = {});

// Writes the pieces to an open stream; false on a write error (errno set by the C library).
bool WritePieces(std::FILE* file, const TextPieces& pieces);
bool WritePieces(std::FILE* file, const PieceStream& text);

// Plain lists through the same reader and writer; where a NUL ended the text, `report` gets
// its offset.
std::vector<std::string> LoadLines(const std::filesystem::path& path, LoadReport* report = nullptr);
void SaveLines(const std::vector<std::string>& lines, const std::filesystem::path& path);

}  // namespace quillex
