#pragma once

// A temporary file for work past the memory bound: written a piece at a time and read back
// from anywhere in it, by several threads at once.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "core/file_io.h"
#include "core/temp_files.h"

namespace quillex {

// What work past the memory bound may take.
struct SpillSettings {
    std::uint64_t memory = 0;        // the bound for the whole work, in bytes
    std::filesystem::path temp_dir;  // where its temporary file goes
    std::size_t block_bytes = 0;     // the input read a block at a time; 0: from `memory`
    unsigned threads = 1;            // where the work can use several
};

class SpillFile {
  public:
    // Makes the file in `folder`, as the safe writer makes its temporary files (removed on a
    // signal and when the object goes; a dead process's left-overs are cleared first). `work`
    // names it in file names and messages ("sort": "cannot write the sort's temporary file").
    // Throws FileError where it cannot be made.
    SpillFile(const std::filesystem::path& folder, const std::string& work);
    SpillFile(const SpillFile&) = delete;
    SpillFile& operator=(const SpillFile&) = delete;

    // Writes `bytes` at the end; returns where they start. Throws FileError (a full disk).
    std::uint64_t Append(std::string_view bytes);
    // Reads `size` bytes from `offset` of what was appended. Throws FileError.
    void Read(std::uint64_t offset, char* into, std::size_t size);

    std::uint64_t Size() const noexcept { return written_; }
    // Flushes what was appended and gives the file's name, for a reader of its own. Throws
    // FileError (a full disk).
    const std::filesystem::path& Finish();

  private:
    [[noreturn]] void Fail(const char* what, int error) const;
    void Flush();  // with the lock held

    std::string work_;
    TemporaryFile temporary_;
    std::unique_ptr<CFile> reader_;
    std::uint64_t written_ = 0;
    bool unflushed_ = false;
    std::mutex mutex_;
};

}  // namespace quillex
