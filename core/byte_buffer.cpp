#include "core/byte_buffer.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quillex {

namespace {

#if defined(__linux__)
constexpr std::size_t kMapFrom = std::size_t{1} << 20;
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t MapSize(std::size_t capacity) {
    return (capacity + kHugePage - 1) & ~(kHugePage - 1);
}
#endif

}  // namespace

void ByteBuffer::Reserve(std::size_t capacity) {
    if (capacity <= capacity_) {
        return;
    }
#if defined(__linux__)
    if (capacity >= kMapFrom) {
        const std::size_t length = MapSize(capacity);
        void* block = mapped_ ? ::mremap(data_, capacity_, length, MREMAP_MAYMOVE)
                              : ::mmap(nullptr, length, PROT_READ | PROT_WRITE,
                                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED) {
            throw std::bad_alloc();
        }
        // The whole mapping, so that it stays one piece that can be remapped as it grows.
        ::madvise(block, length, MADV_HUGEPAGE);
        if (!mapped_) {
            if (size_ != 0) {
                std::memcpy(block, data_, size_);
            }
            std::free(data_);
        }
        data_ = static_cast<char*>(block);
        capacity_ = length;
        mapped_ = true;
        return;
    }
#endif
    void* grown = std::realloc(data_, capacity);
    if (grown == nullptr) {
        throw std::bad_alloc();
    }
    data_ = static_cast<char*>(grown);
    capacity_ = capacity;
}

void ByteBuffer::Release() noexcept {
#if defined(__linux__)
    if (mapped_) {
        ::munmap(data_, capacity_);
    } else {
        std::free(data_);
    }
#else
    std::free(data_);
#endif
    data_ = nullptr;
    size_ = capacity_ = 0;
    mapped_ = false;
}

}  // namespace quillex
