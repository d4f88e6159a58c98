#include "core/file_format.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/document_lines.h"
#include "core/file_io.h"
#include "core/input_check.h"
#include "core/temp_files.h"

namespace fs = std::filesystem;

namespace quillex {

namespace {

[[noreturn]] void ThrowErrno(const fs::path& path, int error) {
    throw FileError(path, std::strerror(error != 0 ? error : EIO));
}

// Built by appends: GCC 12 at -O3 mistakes operator+ chains of strings for overlapping copies
// (-Wrestrict) and stops the build.
std::string FileMessage(const fs::path& path, const std::string& reason) {
    std::string message = "'";
    message.append(PathText(path)).append("': ").append(reason);
    return message;
}

// Writes the pieces, telling `progress` after every few megabytes, and, on Linux, hands each
// few megabytes to the disk as soon as it is written, so that the flush at the end waits for
// the last of them only rather than for the whole file.
bool WriteToDisk(std::FILE* file, const TextPieces& pieces, const Progress& progress) {
    constexpr std::size_t kStep = std::size_t{8} << 20;
    std::size_t total = 0;
    for (std::string_view piece : pieces) {
        total += piece.size();
    }
    std::size_t written = 0;
    std::size_t told = 0;
#ifdef __linux__
    const int fd = ::fileno(file);
    std::size_t handed = 0;
#endif
    for (std::string_view piece : pieces) {
        while (!piece.empty()) {
            const std::size_t slice = std::min(piece.size(), kStep);
            if (std::fwrite(piece.data(), 1, slice, file) != slice) {
                return false;
            }
            piece.remove_prefix(slice);
            written += slice;
            if (written - told >= kStep || written == total) {
                progress.Reach(written, total);
                told = written;
            }
#ifdef __linux__
            if (written - handed >= kStep) {
                if (std::fflush(file) != 0) {
                    return false;
                }
                // Only a hint: where it is refused, the final flush does all the work.
                ::sync_file_range(fd, static_cast<off_t>(handed),
                                  static_cast<off_t>(written - handed), SYNC_FILE_RANGE_WRITE);
                handed = written;
            }
#endif
        }
    }
    return true;
}

// Returns 0, or the errno of the failure (EIO where the C library set none).
int WriteAndSync(CFile& file, const TextPieces& pieces, const Progress& progress = {}) {
    if (!file) {
        return errno != 0 ? errno : EIO;
    }
    // Large pieces go straight out; a megabyte of buffer gathers many small ones.
    std::setvbuf(file.get(), nullptr, _IOFBF, std::size_t{1} << 20);
    errno = 0;
    if (!WriteToDisk(file.get(), pieces, progress) || !file.SyncAndClose()) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

void WriteInPlace(const TextPieces& pieces, const fs::path& target, const fs::path& path) {
    CFile file(target, "wb");
    if (int error = WriteAndSync(file, pieces)) {
        ThrowErrno(path, error);
    }
}

// A symbolic link is written through: the file it names is the one replaced.
fs::path ResolveTarget(const fs::path& path) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        fs::path resolved = fs::weakly_canonical(path, ec);
        if (!ec) {
            return resolved;
        }
    }
    return path;
}

// The replaced file's owner and group, where we may give them (root may; anyone may keep a
// group they belong to), and then its permissions.
void TakeOverAttributes(const fs::path& temporary, const fs::path& target) {
#ifndef _WIN32
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        return;
    }
    if (::chown(temporary.c_str(), st.st_uid, st.st_gid) != 0) {
        [[maybe_unused]] int ignored =
            ::chown(temporary.c_str(), static_cast<uid_t>(-1), st.st_gid);
    }
    ::chmod(temporary.c_str(), st.st_mode & 07777);
#else
    std::error_code ec;
    fs::permissions(temporary, fs::status(target, ec).permissions(), ec);
#endif
}

}  // namespace

FileError::FileError(const fs::path& path, const std::string& reason)
    : std::runtime_error(FileMessage(path, reason)), path_(path) {}

std::string PathText(const fs::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

ByteBuffer ReadWholeFile(const fs::path& path, const Progress& progress) {
    CFile file(OpenInputFile(path));
    std::error_code ec;
    try {
        ByteBuffer bytes;
        const std::uintmax_t size = fs::file_size(path, ec);
        const std::uint64_t expected = ec ? 0 : size;
        // One byte more than the size, so that the read that finds the end is the first one;
        // a file that grows meanwhile is read on.
        std::size_t want = ec ? (std::size_t{1} << 20) : static_cast<std::size_t>(size) + 1;
        std::setvbuf(file.get(), nullptr, _IONBF, 0);
        // Read a few megabytes a call, so that `progress` hears how far the read is.
        constexpr std::size_t kSlice = std::size_t{16} << 20;
        for (bool end = false; !end;) {
            bytes.Reserve(bytes.size() + want);
            for (std::size_t left = want; left > 0 && !end;) {
                const std::size_t slice = std::min(left, kSlice);
                const std::size_t at = bytes.size();
                const std::size_t got = std::fread(bytes.data() + at, 1, slice, file.get());
                bytes.Resize(at + got);
                progress.Reach(bytes.size(), expected);
                left -= got;
                if (got < slice) {
                    if (std::ferror(file.get())) {
                        ThrowErrno(path, errno);
                    }
                    end = true;
                }
            }
            want = std::max<std::size_t>(want, std::size_t{1} << 20);
        }
        return bytes;
    } catch (const std::bad_alloc&) {
        throw FileError(path, "not enough memory to load the file");
    } catch (const std::length_error&) {
        throw FileError(path, "not enough memory to load the file");
    }
}

bool WritePieces(std::FILE* file, const TextPieces& pieces) {
    for (std::string_view piece : pieces) {
        if (!piece.empty() && std::fwrite(piece.data(), 1, piece.size(), file) != piece.size()) {
            return false;
        }
    }
    return true;
}

void SaveText(const TextPieces& pieces, const fs::path& path, const Progress& progress) {
    const fs::path target = ResolveTarget(path);
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) {
        throw FileError(path, "is a directory");
    }
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status)) {
        // A device or pipe is written as it is; a file must never be renamed over it.
        WriteInPlace(pieces, target, path);
        return;
    }
    if (exists) {
        // Replacing by rename would succeed even where the file itself may not be written;
        // the user's read-only file must stay read-only.
        CFile probe(target, "r+b");
        if (!probe) {
            ThrowErrno(path, errno);
        }
    }

    // Until it is complete the new content is the owner's alone; the target's permissions
    // follow once it is written. A new file gets what the umask allows.
    TemporaryFile temporary(target, exists ? 0600 : 0666);
    if (!temporary.Created()) {
        // No file can be made beside the target (a writable file in a read-only folder):
        // writing in place is the only way left.
        WriteInPlace(pieces, target, path);
        return;
    }

    // Only here may the watcher stop the write: the temporary file goes, the target stays.
    if (int error = WriteAndSync(temporary.File(), pieces, progress)) {
        ThrowErrno(path, error);
    }
    if (exists) {
        TakeOverAttributes(temporary.path(), target);
    }
    fs::rename(temporary.path(), target, ec);
    if (ec) {
        // Some systems refuse to replace a file that another program holds open; the
        // complete content is still written, in place.
        const int renameError = ec.value();
        temporary.Remove();
        try {
            WriteInPlace(pieces, target, path);
        } catch (const FileError&) {
            ThrowErrno(path, renameError);
        }
        return;
    }
    temporary.Keep();
}

std::vector<std::string> LoadLines(const fs::path& path, LoadReport* report) {
    DocumentLines document;
    document.LoadFromFile(path, report);
    return document.ToLines();
}

void SaveLines(const std::vector<std::string>& lines, const fs::path& path) {
    DocumentLines(lines).SaveToFile(path);
}

}  // namespace quillex
