#include "core/spill_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/file_format.h"
#include "core/write_faults.h"

namespace fs = std::filesystem;

namespace quillex {

namespace {

bool SeekTo(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
    return ::_fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    return ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

}  // namespace

SpillFile::SpillFile(const fs::path& folder, const std::string& work)
    : work_(work), temporary_(folder / ("quillex-" + work), 0600) {
    if (!temporary_.Created()) {
        std::string reason = "cannot make a temporary file for the " + work_;
        reason.append(": ").append(std::strerror(temporary_.Error()));
        throw FileError(temporary_.Folder(), reason);
    }
}

void SpillFile::Fail(const char* what, int error) const {
    std::string reason = std::string("cannot ") + what + " the " + work_ + "'s temporary file";
    reason.append(": ").append(std::strerror(error != 0 ? error : EIO));
    throw FileError(temporary_.path(), reason);
}

std::uint64_t SpillFile::Append(std::string_view bytes) {
    const std::lock_guard lock(mutex_);
    errno = 0;
    if (int injected = InjectedFault(WriteStep::kWrite)) {
        Fail("write", injected);
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), temporary_.File().get()) != bytes.size()) {
        Fail("write", errno);
    }
    const std::uint64_t offset = written_;
    written_ += bytes.size();
    unflushed_ = true;
    return offset;
}

void SpillFile::Flush() {
    errno = 0;
    // A full disk may show only once the writer's buffer goes out.
    if (unflushed_ && std::fflush(temporary_.File().get()) != 0) {
        Fail("write", errno);
    }
    unflushed_ = false;
}

const fs::path& SpillFile::Finish() {
    const std::lock_guard lock(mutex_);
    Flush();
    return temporary_.path();
}

void SpillFile::Read(std::uint64_t offset, char* into, std::size_t size) {
    const std::lock_guard lock(mutex_);
    Flush();
    if (!reader_) {
        reader_ = std::make_unique<CFile>(temporary_.path(), "rb");
        if (!*reader_) {
            reader_.reset();
            Fail("read", errno);
        }
        std::setvbuf(reader_->get(), nullptr, _IONBF, 0);
    }
    if (!SeekTo(reader_->get(), offset) || std::fread(into, 1, size, reader_->get()) != size) {
        Fail("read", errno);
    }
}

}  // namespace quillex
