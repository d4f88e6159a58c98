#include "core/file_io.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <string>

#include "core/write_faults.h"

namespace quillex {

namespace {

#ifndef _WIN32
// A device or pipe that takes no flush to the disk (fsync fails with EINVAL or ENOTSUP on
// /dev/null, a pipe, a terminal) got its data all the same; only a file must reach the disk.
bool CannotBeSynced(int fd, int error) {
    struct stat info {};
    return (error == EINVAL || error == ENOTSUP) && ::fstat(fd, &info) == 0 &&
           !S_ISREG(info.st_mode);
}
#endif

#ifdef _WIN32
// msvcrt.dll, the C runtime that mingw-w64 links by default, does not know fopen's "x" and
// silently empties an existing file; exclusive creation goes through _wsopen_s, which every
// Windows C runtime has.
std::FILE* CreateExclusive(const std::filesystem::path& path, std::string mode) {
    std::erase(mode, 'x');
    const bool update = mode.find('+') != std::string::npos;
    int fd = -1;
    int error = ::_wsopen_s(&fd, path.c_str(),
                            (update ? _O_RDWR : _O_WRONLY) | _O_CREAT | _O_EXCL | _O_BINARY,
                            _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (error != 0) {
        errno = error;
        return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, mode.c_str());
    if (file == nullptr) {
        error = errno;
        ::_close(fd);
        errno = error;
    }
    return file;
}
#endif

}  // namespace

CFile::CFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    std::string narrow_mode(mode);
    if (narrow_mode.find('x') != std::string::npos) {
        file_ = CreateExclusive(path, narrow_mode);
        return;
    }
    std::wstring wide_mode(narrow_mode.begin(), narrow_mode.end());
    file_ = ::_wfopen(path.c_str(), wide_mode.c_str());
#else
    file_ = std::fopen(path.c_str(), mode);
#endif
}

CFile::CFile(const std::filesystem::path& path, [[maybe_unused]] int permissions) {
#ifdef _WIN32
    file_ = CreateExclusive(path, "wbx");
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          static_cast<mode_t>(permissions));
    if (fd < 0) {
        return;
    }
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
#endif
}

CFile::~CFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool CFile::SyncAndClose() {
    int error = 0;
    if (int injected = InjectedFault(WriteStep::kFlush)) {
        error = injected;
    } else if (std::fflush(file_) != 0) {
        error = errno;
    } else if (int injected = InjectedFault(WriteStep::kSync)) {
        error = injected;
#ifdef _WIN32
    } else if (::_commit(::_fileno(file_)) != 0) {
        error = errno;
#else
    } else if (::fsync(::fileno(file_)) != 0 && !CannotBeSynced(::fileno(file_), errno)) {
        error = errno;
#endif
    }
    const int injected = InjectedFault(WriteStep::kClose);
    if (std::fclose(file_) != 0 && error == 0) {
        error = errno;
    }
    file_ = nullptr;
    if (error == 0) {
        error = injected;
    }
    errno = error;
    return error == 0;
}

}  // namespace quillex
