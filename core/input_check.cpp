#include "core/input_check.h"

#include <cerrno>
#include <cstring>
#include <utility>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/file_format.h"
#include "core/file_io.h"

namespace fs = std::filesystem;

namespace quillex {

namespace {

[[noreturn]] void RefuseKind(const fs::path& path, fs::file_type type) {
    using Kind = InputRefused::Kind;
    const auto [kind, name] =
        type == fs::file_type::directory   ? std::pair(Kind::Directory, "a directory")
        : type == fs::file_type::fifo      ? std::pair(Kind::Pipe, "a pipe")
        : type == fs::file_type::socket    ? std::pair(Kind::Socket, "a socket")
        : type == fs::file_type::character ? std::pair(Kind::CharacterDevice, "a character device")
        : type == fs::file_type::block     ? std::pair(Kind::BlockDevice, "a block device")
                                           : std::pair(Kind::Special, "a special file");
    std::string reason = "is ";
    reason.append(name).append(", not a regular file; only regular files are loaded");
    throw InputRefused(path, kind, reason);
}

[[noreturn]] void ThrowErrno(const fs::path& path, int error) {
    throw FileError(path, std::strerror(error != 0 ? error : EIO));
}

}  // namespace

std::FILE* OpenInputFile(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!ec && status.type() != fs::file_type::regular) {
        RefuseKind(path, status.type());
    }
#ifdef _WIN32
    CFile file(path, "rb");
    if (!file) {
        ThrowErrno(path, errno);
    }
    return file.Release();
#else
    // Non-blocking, should the file have become a pipe since it was looked at: a pipe
    // without a writer would hold the open forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        ThrowErrno(path, errno);
    }
    struct stat info {};
    int error = 0;
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        RefuseKind(path, S_ISDIR(info.st_mode)    ? fs::file_type::directory
                         : S_ISFIFO(info.st_mode) ? fs::file_type::fifo
                         : S_ISSOCK(info.st_mode) ? fs::file_type::socket
                         : S_ISCHR(info.st_mode)  ? fs::file_type::character
                         : S_ISBLK(info.st_mode)  ? fs::file_type::block
                                                  : fs::file_type::unknown);
    } else if (int flags = ::fcntl(fd, F_GETFL);
               flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        error = errno;
    } else if (std::FILE* file = ::fdopen(fd, "rb")) {
        return file;
    } else {
        error = errno;
    }
    ::close(fd);
    ThrowErrno(path, error);
#endif
}

void RefuseUtf16(const fs::path& path, std::string_view start, std::optional<std::uint64_t> nul) {
    const std::string_view mark = start.substr(0, 2);
    // Single-byte text may begin with these two bytes too ("\xFF\xFE" is a pair of Cyrillic
    // letters), but holds no NUL; UTF-16 text has one in every line break.
    if ((mark == "\xFF\xFE" || mark == "\xFE\xFF") && nul && *nul < (std::uint64_t{1} << 20)) {
        throw InputRefused(path, InputRefused::Kind::Utf16,
                           "is UTF-16 text (it begins with a byte-order mark); only single-byte "
                           "text is loaded");
    }
}

void InspectLoadedText(const fs::path& path, std::string_view bytes, LoadReport* report) {
    const std::size_t found = bytes.find('\0');
    const std::optional<std::uint64_t> nul =
        found != bytes.npos ? std::optional<std::uint64_t>(found) : std::nullopt;
    RefuseUtf16(path, bytes, nul);
    if (report != nullptr) {
        *report = {};
        report->nulOffset = nul;
    }
}

std::string NulNotice(const fs::path& path, std::uint64_t offset) {
    std::string text = "'";
    text.append(PathText(path)).append("': the text ends at byte ").append(std::to_string(offset));
    text.append(", where the file holds a NUL byte; the rest of the file was not loaded");
    return text;
}

}  // namespace quillex
