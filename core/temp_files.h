#pragma once

#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>

#include "core/file_io.h"

namespace quillex {

// A new, empty file beside a target, open for writing, for content that replaces the target
// once complete. Its name is "." + target name + "." + process id + "-" + random + "-" +
// attempt + ".tmp" (the target name shortened to fit where it is long), so that a later save
// can tell a file left by a killed process from one being written.
// On POSIX the file is made and renamed relative to its folder, opened once: a target whose
// path is near the system's length limit can still be replaced, although the temporary
// file's full path would be longer than the limit.
// While the object lives, SIGINT, SIGTERM or SIGHUP remove the file before the process ends;
// the object removes it when it goes, unless it was renamed over the target.
class TemporaryFile {
  public:
    // Removes files of this pattern left beside `target` by processes that no longer run,
    // then creates one with the POSIX permission bits given (before the umask). Created() is
    // false when no file could be made; Error() says why.
    TemporaryFile(const std::filesystem::path& target, int permissions);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    bool Created() const noexcept { return made_; }
    int Error() const noexcept { return error_; }
    // The folder the file is made in, for messages.
    const std::filesystem::path& Folder() const noexcept { return folder_; }
    const std::filesystem::path& path() const noexcept { return path_; }
    CFile& File() noexcept { return *file_; }
    // Gives the (closed) file the owner, group and permission bits of `target`, as far as
    // the system lets us.
    void TakeAttributesOf(const std::filesystem::path& target) noexcept;
    // Renames the file over the target it was made beside; on a failure the file is still
    // ours, and removed when the object goes.
    std::error_code RenameOverTarget() noexcept;
    // Removes the file now.
    void Remove() noexcept;

  private:
    void Forget() noexcept;

    std::filesystem::path target_;
    std::filesystem::path folder_;
    std::filesystem::path path_;  // folder_ / name_
    std::filesystem::path name_;
    std::unique_ptr<CFile> file_;
    bool made_ = false;  // made, and neither renamed nor removed yet
    int error_ = 0;
    int dir_ = -1;   // POSIX: the folder, open
    int slot_ = -1;  // its entry in the list the signal handler removes, or -1
};

// Whether `name` (a file name, POSIX) is a temporary file name of the pattern above for
// `target`; sets `pid` to the process id it holds.
bool IsTemporaryName(std::string_view name, const std::filesystem::path& target, long& pid);

// Removes the temporary files of the pattern above beside `target` whose process is gone.
// POSIX only: elsewhere no process can be asked whether it runs, and nothing is removed.
void RemoveStaleTemporaries(const std::filesystem::path& target);

}  // namespace quillex
