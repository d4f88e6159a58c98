#include "core/file_format.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "core/file_io.h"
#include "core/input_check.h"
#include "core/temp_files.h"
#include "core/text_form.h"

namespace fs = std::filesystem;

namespace quillex {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;

std::string ErrnoText(int error) {
    return std::strerror(error);
}

[[noreturn]] void ThrowErrno(const fs::path& path, int error) {
    throw FileError(path, ErrnoText(error));
}

}  // namespace

bool WriteTextForm(std::FILE* file, const std::vector<std::string>& lines) {
    std::string buffer;
    buffer.reserve(kChunk);
    auto flush = [&] {
        bool ok = std::fwrite(buffer.data(), 1, buffer.size(), file) == buffer.size();
        buffer.clear();
        return ok;
    };
    for (const auto& line : lines) {
        if (buffer.size() + line.size() + 2 > kChunk && !buffer.empty() && !flush()) {
            return false;
        }
        if (line.size() >= kChunk) {  // a huge line goes straight out, not through the buffer
            if (std::fwrite(line.data(), 1, line.size(), file) != line.size()) {
                return false;
            }
        } else {
            buffer += line;
        }
        buffer += "\r\n";
    }
    return flush();
}

namespace {

// Returns 0, or the errno of the failure (EIO where the C library set none).
int WriteFile(const std::vector<std::string>& lines, const fs::path& path) {
    CFile file(path, "wb");
    if (!file) {
        return errno != 0 ? errno : EIO;
    }
    errno = 0;
    if (!WriteTextForm(file.get(), lines) || !file.SyncAndClose()) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

void WriteFileOrThrow(const std::vector<std::string>& lines, const fs::path& path) {
    if (int error = WriteFile(lines, path)) {
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

}  // namespace

namespace {

// Built by appends: GCC 12 at -O3 mistakes operator+ chains of strings for overlapping copies
// (-Wrestrict) and stops the build.
std::string FileMessage(const fs::path& path, const std::string& reason) {
    std::string message = "'";
    message.append(PathText(path)).append("': ").append(reason);
    return message;
}

}  // namespace

FileError::FileError(const fs::path& path, const std::string& reason)
    : std::runtime_error(FileMessage(path, reason)), path_(path) {}

std::string PathText(const fs::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::vector<std::string> LoadLines(const fs::path& path, LoadReport* report) {
    if (report != nullptr) {
        *report = {};
    }
    CFile file(OpenInputFile(path));
    try {
        std::vector<std::string> lines;
        LineSplitter splitter(lines);
        std::string chunk(kChunk, '\0');
        std::uint64_t offset = 0;  // of the chunk in the file
        for (;; offset += kChunk) {
            std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
            if (got == 0) {
                if (std::ferror(file.get())) {
                    ThrowErrno(path, errno);
                }
                break;
            }
            const std::string_view piece(chunk.data(), got);
            if (offset == 0) {
                CheckNotUtf16(path, piece);
            }
            if (!splitter.Feed(piece)) {
                // A NUL ended the text; the rest of the file is ignored, and the caller told.
                if (report != nullptr) {
                    report->nulOffset = offset + piece.find('\0');
                }
                break;
            }
        }
        splitter.Finish();
        return lines;
    } catch (const std::bad_alloc&) {
        throw FileError(path, "not enough memory to load the file");
    } catch (const std::length_error&) {
        throw FileError(path, "not enough memory to load the file");
    }
}

void SaveLines(const std::vector<std::string>& lines, const fs::path& path) {
    const fs::path target = ResolveTarget(path);
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) {
        throw FileError(path, "is a directory");
    }
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status)) {
        // A device or pipe is written as it is; a file must never be renamed over it.
        WriteFileOrThrow(lines, target);
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

    TemporaryFile temporary(target);
    if (!temporary.Created()) {
        // No file can be made beside the target (a writable file in a read-only folder):
        // writing in place is the only way left.
        WriteFileOrThrow(lines, target);
        return;
    }

    if (int error = WriteFile(lines, temporary.path())) {
        ThrowErrno(path, error);
    }
    if (exists) {
        fs::permissions(temporary.path(), status.permissions(), ec);
    }
    fs::rename(temporary.path(), target, ec);
    if (ec) {
        // Some systems refuse to replace a file that another program holds open; the
        // complete content is still written, in place.
        temporary.Remove();
        WriteFileOrThrow(lines, target);
        return;
    }
    temporary.Keep();
}

}  // namespace quillex
