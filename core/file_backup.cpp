#include "core/file_backup.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <system_error>

#include "core/byte_buffer.h"
#include "core/file_format.h"

namespace quillex {

namespace {

// FNV-1a: stable from run to run, so one original's backups share the same tag.
std::uint64_t PathHash(const std::filesystem::path& path) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : path.generic_u8string()) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
}

std::filesystem::path NewCopyName(const std::filesystem::path& folder,
                                  const std::filesystem::path& original) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(original, ec);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
    char tag[64];
    std::snprintf(tag, sizeof tag, ".%016llx.%lld", static_cast<unsigned long long>(PathHash(full)),
                  static_cast<long long>(ms));
    std::filesystem::path base = folder / original.filename();
    base += tag;
    std::filesystem::path name = base;
    // Two copies of one file within a millisecond (an undo right after a run) get a number.
    for (int n = 1; std::filesystem::exists(name, ec); ++n) {
        name = base;
        name += "-";  // appended apart: GCC 12's optimiser takes "-" + text for an overlap
        name += std::to_string(n);
    }
    return name;
}

void SaveBytes(const ByteBuffer& bytes, const std::filesystem::path& path) {
    SaveText(TextPieces{std::string_view(bytes.data(), bytes.size())}, path);
}

}  // namespace

FileStamp StampOf(const std::filesystem::path& path) {
    std::error_code ec;
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(path, ec);
    if (!ec) {
        stamp.time = std::filesystem::last_write_time(path, ec);
    }
    if (ec) {
        throw FileError(path, ec.message());
    }
    return stamp;
}

std::optional<FileBackup> KeepBackup(const std::filesystem::path& folder,
                                     const std::filesystem::path& original) {
    std::error_code ec;
    if (!std::filesystem::exists(original, ec)) {
        return std::nullopt;
    }
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        throw FileError(folder, ec.message());
    }
    FileBackup backup{.original = original, .copy = NewCopyName(folder, original), .written = {}};
    SaveBytes(ReadWholeFile(original), backup.copy);
    return backup;
}

bool ChangedOnDisk(const FileBackup& backup) {
    try {
        return StampOf(backup.original) != backup.written;
    } catch (const FileError&) {
        return true;
    }
}

void ExchangeWithBackup(FileBackup& backup) {
    const ByteBuffer kept = ReadWholeFile(backup.copy);
    std::error_code ec;
    const bool present = std::filesystem::exists(backup.original, ec);
    const std::filesystem::path newCopy = NewCopyName(backup.copy.parent_path(), backup.original);
    SaveBytes(present ? ReadWholeFile(backup.original) : ByteBuffer(), newCopy);
    try {
        SaveBytes(kept, backup.original);
    } catch (...) {
        std::filesystem::remove(newCopy, ec);
        throw;
    }
    std::filesystem::remove(backup.copy, ec);
    backup.copy = newCopy;
    backup.written = StampOf(backup.original);
}

void RemoveBackup(const FileBackup& backup) noexcept {
    std::error_code ec;
    std::filesystem::remove(backup.copy, ec);
}

}  // namespace quillex
