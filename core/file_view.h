#pragma once

// A part of an open file read where the system keeps it, through a mapping, instead of copied
// into the process's memory: for the scans that only look at a block and keep a little of it.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillex {

class FileView {
  public:
    // Maps bytes [from, from + size) of the file open as `fd`, read-only. Empty (no mapping)
    // where the system cannot map it, where too many views are out at once, and on systems
    // without the guard described at Cut; the caller reads the bytes then.
    FileView(int fd, std::uint64_t from, std::uint64_t size) noexcept;
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;
    ~FileView();

    bool Mapped() const noexcept { return map_ != nullptr; }
    // Bytes [from, to) of the file, which the view holds.
    std::string_view Bytes(std::uint64_t from, std::uint64_t to) const noexcept {
        return {static_cast<const char*>(map_) + (from - start_),
                static_cast<std::size_t>(to - from)};
    }
    // Done with the bytes before `to`: their pages leave the process (the system keeps them
    // cached), a few megabytes at a time, so that a long view holds no more than a stream's
    // blocks would. Read again, they come back.
    void Release(std::uint64_t to) noexcept;
    // Whether the file was cut short under the view while it was read. A read past a file's
    // end through a mapping would stop the process (SIGBUS); here the pages past the end read
    // as zero bytes instead and the view is marked for good, so that the caller reads the
    // file again the plain way, which tells where it ends now.
    bool Cut() const noexcept;

  private:
    void* map_ = nullptr;
    std::size_t length_ = 0;
    std::uint64_t start_ = 0;   // where in the file the mapping starts, at a page's start
    std::size_t released_ = 0;  // the pages before this offset in the mapping are given back
    int slot_ = -1;
};

}  // namespace quillex
