#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace quillex {

// A C stdio file opened by path, binary mode always, so that no platform turns CR LF into LF
// or stops at 0x1A. On Windows the path is opened by its wide name, so any script works, and
// the mode "x" (create a new file, never replace one) works with every C runtime.
class CFile {
  public:
    CFile() = default;
    CFile(const std::filesystem::path& path, const char* mode);
    // Creates a new file for writing, failing with EEXIST if there is one, with the given
    // POSIX permission bits (before the umask; Windows has none to give).
    CFile(const std::filesystem::path& path, int permissions);
    // Takes over a file opened elsewhere.
    explicit CFile(std::FILE* file) noexcept : file_(file) {}
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    ~CFile();

    explicit operator bool() const noexcept { return file_ != nullptr; }
    std::FILE* get() const noexcept { return file_; }
    // Hands the file over; it is no longer closed here.
    std::FILE* Release() noexcept {
        std::FILE* file = file_;
        file_ = nullptr;
        return file;
    }

    // Flushes stdio and the operating system's buffers to the disk, then closes; a device or
    // pipe, which has no disk to flush to, is only flushed. Returns false (errno set) if any
    // of it failed.
    bool SyncAndClose();

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace quillex
