#include "app/batch_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "core/file_format.h"
#include "core/file_io.h"
#include "core/temp_files.h"

namespace fs = std::filesystem;

namespace quillex::batch {

namespace {

[[noreturn]] void Fail(const fs::path& path, int error) {
    throw FileError(path, std::strerror(error != 0 ? error : EIO));
}

// Returns 0 or the errno of the failure.
int WriteLines(const Lines& lines, const fs::path& path) {
    CFile file(path, "wb");
    if (!file) {
        return errno != 0 ? errno : EIO;
    }
    errno = 0;
    if (!WriteTextForm(file.get(), lines) || std::fflush(file.get()) != 0) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

}  // namespace

void WriteWholeFile(const Lines& lines, const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        if (int error = WriteLines(lines, path)) {  // a device or a pipe: written as it is
            Fail(path, error);
        }
        return;
    }
    TemporaryFile temporary(path);
    if (!temporary.Created()) {
        Fail(path, errno);
    }
    if (int error = WriteLines(lines, temporary.path())) {
        Fail(path, error);
    }
    if (fs::exists(status)) {
        fs::permissions(temporary.path(), status.permissions(), ec);
    }
    fs::rename(temporary.path(), path, ec);
    if (ec) {
        Fail(path, ec.value());
    }
    temporary.Keep();
}

void PrepareHeap([[maybe_unused]] std::uintmax_t bytes) {
#if defined(__linux__) && defined(__GLIBC__)
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    // mallopt takes an int: a larger file asks for the largest pad rather than a wrapped one.
    constexpr std::uintmax_t kMostPad = std::numeric_limits<int>::max();
    const auto pad = static_cast<int>(std::min(bytes, kMostPad));
    // Blocks up to 32 MB (the vector of lines among them) come from the heap too.
    if (pad < static_cast<int>(kHuge) || mallopt(M_TOP_PAD, pad) == 0 ||
        mallopt(M_TRIM_THRESHOLD, pad) == 0 || mallopt(M_MMAP_THRESHOLD, 32 << 20) == 0) {
        return;
    }
    // Without fast bins a freed line is merged with its neighbours at once; with them, the
    // next large block (the write buffer, a joined line) first sorts hundreds of thousands
    // of freed lines, which took a third of a run that removes many lines.
    mallopt(M_MXFAST, 0);
    // More than the heap holds: it grows by the pad at once, from where this block starts.
    void* block = std::malloc(kHuge);
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t first = (start + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t last = end & ~(kHuge - 1);
    if (last > first) {
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
    std::free(block);
#endif
}

}  // namespace quillex::batch
