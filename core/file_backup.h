#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace quillex {

// Size and modification time of a file: enough to tell whether anyone wrote it since we did.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time{};

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// Throws FileError when the file cannot be examined.
FileStamp StampOf(const std::filesystem::path& path);

// The bytes a file held before the program wrote over it, kept in a file of their own so that
// a crash does not lose them.
struct FileBackup {
    std::filesystem::path original;
    std::filesystem::path copy;  // the bytes that undo (or redo) puts back into the original
    FileStamp written;           // the original as the program last left it
};

// Copies the bytes of `original` into a new file in `folder`, whose name is the original's
// name, a hash of its full path, the process id and a time stamp. The folder, and those made
// for it, get permissions for their owner only (0700), and the copy no more than its
// original's, 0600 at most. No backup when there is no such file. Throws FileError.
std::optional<FileBackup> KeepBackup(const std::filesystem::path& folder,
                                     const std::filesystem::path& original);

// Whether the original was changed or removed since the program last wrote it.
bool ChangedOnDisk(const FileBackup& backup);

// Puts the copy's bytes back into the original (through the safe save) and keeps the
// original's present bytes as the new copy: undo and redo are the same exchange. All or
// nothing for the original; throws FileError.
void ExchangeWithBackup(FileBackup& backup);

// Whether the original holds exactly the copy's bytes: a write over it that failed left it
// whole, and the copy protects nothing. False when either cannot be read.
bool StillHoldsItsBackup(const FileBackup& backup) noexcept;

// Removes the copies in `folder` last written before `olderThan` whose run is gone (a crash,
// a kill): a running program's copies stay, however old.
void RemoveStaleBackups(const std::filesystem::path& folder,
                        std::filesystem::file_time_type olderThan) noexcept;

// Removes the copy; a copy already gone is no failure.
void RemoveBackup(const FileBackup& backup) noexcept;

}  // namespace quillex
