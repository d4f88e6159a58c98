#include "core/file_io.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <string>

namespace quillex {

#ifdef _WIN32
namespace {

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

}  // namespace
#endif

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
    bool ok = std::fflush(file_) == 0;
#ifdef _WIN32
    ok = ok && ::_commit(::_fileno(file_)) == 0;
#else
    ok = ok && ::fsync(::fileno(file_)) == 0;
#endif
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    return ok;
}

}  // namespace quillex
