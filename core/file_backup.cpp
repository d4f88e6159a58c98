#include "core/file_backup.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/byte_buffer.h"
#include "core/file_format.h"
#include "core/process_id.h"

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
    // The process id tells a later start whether the run that kept the copy is gone.
    char tag[80];
    std::snprintf(tag, sizeof tag, ".%016llx.%ld.%lld",
                  static_cast<unsigned long long>(PathHash(full)), CurrentProcessId(),
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

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The process id in a copy's name ("name.HASH.PID.MS", "-N" after it where two met); 0 in a
// copy named before ids were kept ("name.HASH.MS"), -1 in a name that is not a copy's.
long CopyProcessId(std::string_view name) {
    if (const std::size_t dash = name.rfind('-');
        dash != std::string_view::npos && AllDigits(name.substr(dash + 1))) {
        name = name.substr(0, dash);
    }
    std::string_view parts[3];
    for (std::string_view& part : parts) {
        const std::size_t dot = name.rfind('.');
        if (dot == std::string_view::npos) {
            return -1;
        }
        part = name.substr(dot + 1);
        name = name.substr(0, dot);
    }
    const auto isHash = [](std::string_view text) {
        return text.size() == 16 &&
               text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
    };
    if (!AllDigits(parts[0])) {
        return -1;
    }
    if (isHash(parts[1])) {
        return 0;
    }
    if (AllDigits(parts[1]) && parts[1].size() < 10 && isHash(parts[2])) {
        return std::stol(std::string(parts[1]));
    }
    return -1;
}

void SaveBytes(const ByteBuffer& bytes, const std::filesystem::path& path) {
    SaveText(TextPieces{std::string_view(bytes.data(), bytes.size())}, path);
}

// A copy may hold a private file's secret and outlive a crash: it is never readable by more
// users than its source, and by its owner alone at most. (Windows has no such bits; a copy
// made read-only there could not be removed.)
void SaveCopy(const ByteBuffer& bytes, const std::filesystem::path& copy,
              [[maybe_unused]] const std::filesystem::path& source) {
    SaveBytes(bytes, copy);
#ifndef _WIN32
    struct stat info {};
    const mode_t owner = S_IRUSR | S_IWUSR;
    ::chmod(copy.c_str(), ::stat(source.c_str(), &info) == 0 ? info.st_mode & owner : owner);
#endif
}

#ifndef _WIN32
// Makes the folder and the missing folders above it, for their owner only.
void MakeFolders(const std::filesystem::path& folder) {
    std::error_code ec;
    if (std::filesystem::exists(folder, ec)) {
        return;
    }
    if (folder.has_parent_path() && folder.parent_path() != folder) {
        MakeFolders(folder.parent_path());
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        throw FileError(folder, std::generic_category().message(errno));
    }
}
#endif

// The copies' folder and the folders made for it are their owner's alone (0700). The copies'
// folder, where an earlier version left it wider, is narrowed if it is ours; a folder above
// it that was already there, or a shared (sticky) one, is never changed.
void MakePrivateFolder(const std::filesystem::path& folder) {
#ifndef _WIN32
    MakeFolders(folder);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        throw FileError(folder, "is not a folder");
    }
    if (info.st_uid == ::geteuid() && (info.st_mode & S_ISVTX) == 0 && (info.st_mode & 077) != 0) {
        ::chmod(folder.c_str(), 0700);
    }
#else
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        throw FileError(folder, ec.message());
    }
#endif
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
    MakePrivateFolder(folder);
    FileBackup backup{.original = original, .copy = NewCopyName(folder, original), .written = {}};
    SaveCopy(ReadWholeFile(original), backup.copy, original);
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
    SaveCopy(present ? ReadWholeFile(backup.original) : ByteBuffer(), newCopy, backup.original);
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

bool StillHoldsItsBackup(const FileBackup& backup) noexcept {
    try {
        std::error_code ec;
        if (std::filesystem::file_size(backup.original, ec) !=
            std::filesystem::file_size(backup.copy, ec)) {
            return false;
        }
        const ByteBuffer original = ReadWholeFile(backup.original);
        const ByteBuffer copy = ReadWholeFile(backup.copy);
        return std::string_view(original.data(), original.size()) ==
               std::string_view(copy.data(), copy.size());
    } catch (const std::exception&) {
        return false;
    }
}

void RemoveStaleBackups(const std::filesystem::path& folder,
                        std::filesystem::file_time_type olderThan) noexcept {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code fileError;
        if (it->symlink_status(fileError).type() != std::filesystem::file_type::regular ||
            it->last_write_time(fileError) >= olderThan || fileError) {
            continue;
        }
        const long pid = CopyProcessId(PathText(it->path().filename()));
        if (pid == 0 || (pid > 0 && ProcessIsGone(pid))) {
            std::filesystem::remove(it->path(), fileError);
        }
    }
}

void RemoveBackup(const FileBackup& backup) noexcept {
    std::error_code ec;
    std::filesystem::remove(backup.copy, ec);
}

}  // namespace quillex
