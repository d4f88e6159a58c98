#pragma once

#include <filesystem>
#include <string_view>

namespace quillex {

// A new, empty file beside a target, for content that replaces the target once complete.
// Its name is "." + target name + "." + process id + "-" + random + "-" + attempt + ".tmp",
// so that a later save can tell a file left by a killed process from one being written.
// While the object lives, SIGINT, SIGTERM or SIGHUP remove the file before the process ends;
// the object removes it when it goes, unless Keep was called (after it was renamed).
class TemporaryFile {
  public:
    // Removes files of this pattern left beside `target` by processes that no longer run,
    // then creates one. Created() is false (errno set) when no file could be made.
    explicit TemporaryFile(const std::filesystem::path& target);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    bool Created() const noexcept { return !path_.empty(); }
    const std::filesystem::path& path() const noexcept { return path_; }
    // The file is no longer ours to remove: it was renamed over the target.
    void Keep() noexcept;
    // Removes the file now.
    void Remove() noexcept;

  private:
    std::filesystem::path path_;
    int slot_ = -1;  // its entry in the list the signal handler removes, or -1
};

// Whether `name` is a temporary file name of the pattern above for the target named
// `target_name`; sets `pid` to the process id it holds.
bool IsTemporaryName(std::string_view name, std::string_view target_name, long& pid);

// Removes the temporary files of the pattern above beside `target` whose process is gone.
// POSIX only: elsewhere no process can be asked whether it runs, and nothing is removed.
void RemoveStaleTemporaries(const std::filesystem::path& target);

}  // namespace quillex
