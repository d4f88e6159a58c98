#include "core/file_format.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
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
#include "core/write_faults.h"

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
bool WriteToDisk(std::FILE* file, const PieceStream& text, const Progress& progress) {
    constexpr std::size_t kStep = std::size_t{8} << 20;
    const std::uint64_t total = text.size;
    std::uint64_t written = 0;
    std::uint64_t told = 0;
#ifdef __linux__
    const int fd = ::fileno(file);
    std::uint64_t handed = 0;
#endif
    return text.each([&](std::string_view piece) {
        while (!piece.empty()) {
            const std::size_t slice = std::min(piece.size(), kStep);
            if (int injected = InjectedFault(WriteStep::kWrite)) {
                errno = injected;
                return false;
            }
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
                if (int injected = InjectedFault(WriteStep::kFlush)) {
                    errno = injected;
                    return false;
                }
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
        return true;
    });
}

// Returns 0, or the errno of the failure (EIO where the C library set none).
int WriteAndSync(CFile& file, const PieceStream& pieces, const Progress& progress = {}) {
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

// What a failed save of a regular file did to it: nothing.
std::string Unchanged(bool existed) {
    return existed ? "; the file was left as it was" : "; no file was made";
}

// Writes the new content to a temporary file beside `real` (the file `path` names) and
// renames it over `real`. Every failure leaves `real` as it was: where no temporary file can
// be made, the target is never written in place, for a write that fails there (a full disk)
// would destroy it.
void ReplaceFile(const PieceStream& pieces, const fs::path& path, const fs::path& real,
                 bool existed, const Progress& progress) {
    // Until it is complete the new content is the owner's alone; the target's permissions
    // follow once it is written. A new file gets what the umask allows.
    TemporaryFile temporary(real, existed ? 0600 : 0666);
    if (!temporary.Created()) {
        std::string reason = "cannot make a temporary file in '";
        reason.append(PathText(temporary.Folder())).append("': ");
        reason.append(std::strerror(temporary.Error())).append(Unchanged(existed));
        throw FileError(path, reason);
    }
    // Only here may the watcher stop the write: the temporary file goes, the target stays.
    if (int error = WriteAndSync(temporary.File(), pieces, progress)) {
        throw FileError(path, std::strerror(error) + Unchanged(existed));
    }
    if (existed) {
        temporary.TakeAttributesOf(real);
    }
    // A hard link to the old file keeps the old content: renaming is what makes the save all
    // or nothing, and a write in place could not be.
    if (const std::error_code ec = temporary.RenameOverTarget()) {
        std::string reason = existed ? "cannot replace the file: " : "cannot create the file: ";
        reason.append(ec.message()).append(Unchanged(existed));
        throw FileError(path, reason);
    }
}

#ifndef _WIN32
bool IsLink(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// What a save found at its path: a device or pipe, open (fd), or a regular file or none.
struct Found {
    int fd = -1;
    bool exists = false;
    bool made = false;  // an empty file, just made through a dangling link
};

// The path is opened by the kernel, which follows links by its own rules (a link planted in
// a sticky folder such as /tmp may be refused); write-only, so that a file we may not write
// is refused before anything is made; non-blocking, so that a pipe with no reader fails at
// once (ENXIO) instead of waiting for one.
Found OpenTarget(const fs::path& path) {
    constexpr int kFlags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    Found found;
    int fd = ::open(path.c_str(), kFlags);
    if (fd < 0 && errno == ENOENT && IsLink(path)) {
        // A dangling link: the file it names is made, as a write through it would make it.
        fd = ::open(path.c_str(), kFlags | O_CREAT, 0666);
        found.made = fd >= 0;
    }
    if (fd < 0) {
        const int error = errno;
        struct stat info {};
        if (error == ENOENT) {
            return found;  // a new file; a missing folder is named by the temporary file
        }
        if (error == EISDIR) {
            throw FileError(path, "is a directory");
        }
        if (error == ENXIO && ::stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode)) {
            throw FileError(path, "is a pipe with no reader; nothing was written");
        }
        if (error == ENXIO && S_ISSOCK(info.st_mode)) {
            throw FileError(path, "is a socket; nothing was written");
        }
        ThrowErrno(path, error);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        ThrowErrno(path, error);
    }
    if (S_ISREG(info.st_mode)) {
        ::close(fd);
        found.exists = true;
        return found;
    }
    // A device or pipe is written as it is, blocking again now that a reader is known.
    if (const int flags = ::fcntl(fd, F_GETFL);
        flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int error = errno;
        ::close(fd);
        ThrowErrno(path, error);
    }
    found.fd = fd;
    return found;
}

// The file a link names, for the temporary file's place beside it; the link itself was
// already followed by the kernel.
fs::path RealTarget(const fs::path& path) {
    if (!IsLink(path)) {
        return path;
    }
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        ThrowErrno(path, errno);
    }
    fs::path result(real);
    std::free(real);
    return result;
}

// The empty file made through a dangling link goes again if the save fails.
class MadeFile {
  public:
    explicit MadeFile(fs::path path) : path_(std::move(path)) {}
    MadeFile(const MadeFile&) = delete;
    MadeFile& operator=(const MadeFile&) = delete;
    ~MadeFile() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    void Keep() noexcept { path_.clear(); }

  private:
    fs::path path_;
};
#else
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
#endif

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

bool WritePieces(std::FILE* file, const PieceStream& text) {
    return text.each([file](std::string_view piece) {
        return piece.empty() || std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
    });
}

bool WritePieces(std::FILE* file, const TextPieces& pieces) {
    return WritePieces(file, StreamOf(pieces));
}

void SaveText(const TextPieces& pieces, const fs::path& path, const Progress& progress) {
    SaveText(StreamOf(pieces), path, progress);
}

void SaveProduced(const ContentProducer& produce, std::uint64_t total, const fs::path& path,
                  const Progress& progress) {
    struct Refused {};  // the writer took no more: the save ends with the write's own failure
    PieceStream stream;
    stream.size = total;
    stream.each = [&produce](const PieceStream::Put& put) {
        try {
            produce([&put](std::string_view piece) {
                if (!put(piece)) {
                    throw Refused{};
                }
            });
        } catch (const Refused&) {
            return false;
        }
        return true;
    };
    SaveText(stream, path, progress);
}

void SaveText(const PieceStream& pieces, const fs::path& path, const Progress& progress) {
#ifndef _WIN32
    const Found found = OpenTarget(path);
    if (found.fd >= 0) {
        CFile device(::fdopen(found.fd, "wb"));
        if (!device) {
            const int error = errno;
            ::close(found.fd);
            ThrowErrno(path, error);
        }
        if (int error = WriteAndSync(device, pieces)) {
            ThrowErrno(path, error);
        }
        return;
    }
    const fs::path real = RealTarget(path);
    // The file made through a dangling link is new: it has no content or permissions to keep.
    MadeFile made(found.made ? real : fs::path());
    ReplaceFile(pieces, path, real, found.exists && !found.made, progress);
    made.Keep();
#else
    const fs::path target = ResolveTarget(path);
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) {
        throw FileError(path, "is a directory");
    }
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status)) {
        // A device is written as it is; a file must never be renamed over it.
        CFile device(target, "wb");
        if (int error = WriteAndSync(device, pieces)) {
            ThrowErrno(path, error);
        }
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
    ReplaceFile(pieces, path, target, exists, progress);
#endif
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
