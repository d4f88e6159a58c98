#pragma once

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

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

// Reads a whole file by the text-form rule: bytes as they are (no byte-order mark handling,
// no code-page conversion), CR LF / CR / LF end lines, the first NUL ends the text. Only a
// regular file is read, and UTF-16 text is refused (see OpenInputFile, CheckNotUtf16);
// where a NUL ended the text, `report` gets its offset.
std::vector<std::string> LoadLines(const std::filesystem::path& path, LoadReport* report = nullptr);

// Writes every line followed by CR LF; no lines give a zero-byte file. The new content goes
// to a temporary file beside the target, which replaces the target only once it is complete
// and flushed, so a failed save leaves the old file untouched. A symbolic link is written
// through (it keeps naming its file) and a replaced file keeps its permissions. Where no
// temporary file can be made beside the target, the target is written in place.
void SaveLines(const std::vector<std::string>& lines, const std::filesystem::path& path);

// Writes the text form of `lines` to an open file through a buffer of its own (one fwrite per
// megabyte). Returns false on a write error (errno set by the C library). For writers that
// need no safe replacement, such as the batch runner writing a pipeline's output.
bool WriteTextForm(std::FILE* file, const std::vector<std::string>& lines);

}  // namespace quillex
