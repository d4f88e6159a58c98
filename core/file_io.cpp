#include "core/file_io.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <string>

namespace quillex {

CFile::CFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
    file_ = ::_wfopen(path.c_str(), wide_mode.c_str());
#else
    file_ = std::fopen(path.c_str(), mode);
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
