#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "core/file_io.h"

namespace quillex {

// A new, empty file beside a target, open for writing, for content that replaces the target
// once complete. Its name is "." + target name + "." + process id + "-" + random + "-" +
// attempt + ".tmp" (the target name shortened to fit where it is long), so that a later save
// can tell a file left by a killed process from one being written.
// While the object lives, SIGINT, SIGTERM or SIGHUP remove the file before the process ends;
// the object removes it when it goes, unless Keep was called (after it was renamed).
class TemporaryFile {
  public:
    // Removes files of this pattern left beside `target` by processes that no longer run,
    // then creates one with the POSIX permission bits given (before the umask). Created() is
    // false (errno set) when no file could be made.
    TemporaryFile(const std::filesystem::path& target, int permissions);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    bool Created() const noexcept { return !path_.empty(); }
    const std::filesystem::path& path() const noexcept { return path_; }
    CFile& File() noexcept { return *file_; }
    // The file is no longer ours to remove: it was renamed over the target.
    void Keep() noexcept;
    // Removes the file now.
    void Remove() noexcept;

  private:
    std::filesystem::path path_;
    std::unique_ptr<CFile> file_;
    int slot_ = -1;  // its entry in the list the signal handler removes, or -1
};

// Whether `name` (a file name, POSIX) is a temporary file name of the pattern above for
// `target`; sets `pid` to the process id it holds.
bool IsTemporaryName(std::string_view name, const std::filesystem::path& target, long& pid);

// Removes the temporary files of the pattern above beside `target` whose process is gone.
// POSIX only: elsewhere no process can be asked whether it runs, and nothing is removed.
void RemoveStaleTemporaries(const std::filesystem::path& target);

}  // namespace quillex
