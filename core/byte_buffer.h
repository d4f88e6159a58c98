#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace quillex {

// A growable block of bytes that is never zero-filled and grows in place where the system
// can, so that a large document is never held twice while it grows. On Linux a block of
// a megabyte or more (a stream's block too) is mapped by itself, backed by huge pages where
// the system offers them on request (reading a file into fresh memory otherwise spends most
// of its time faulting in pages 4 KiB at a time), and grown by remapping its pages rather
// than copying them.
class ByteBuffer {
  public:
    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer& other) { Append(other.data_, other.size_); }
    ByteBuffer(ByteBuffer&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)),
          mapped_(std::exchange(other.mapped_, false)) {}
    ByteBuffer& operator=(ByteBuffer other) noexcept {
        swap(other);
        return *this;
    }
    ~ByteBuffer() { Release(); }

    void swap(ByteBuffer& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
        std::swap(mapped_, other.mapped_);
    }

    char* data() noexcept { return data_; }
    const char* data() const noexcept { return data_; }
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

    // Capacity for at least `capacity` bytes; throws std::bad_alloc and keeps the content.
    void Reserve(std::size_t capacity);
    // The new bytes are left as they are: the caller writes them.
    void Resize(std::size_t size) {
        Reserve(size);
        size_ = size;
    }
    // Room for `count` more bytes, growing by half at least so that appends stay linear.
    void ReserveMore(std::size_t count) {
        if (size_ + count > capacity_) {
            Reserve(std::max(size_ + count, capacity_ + capacity_ / 2));
        }
    }
    void Append(const char* bytes, std::size_t count) {
        ReserveMore(count);
        if (count != 0) {
            std::memcpy(data_ + size_, bytes, count);
        }
        size_ += count;
    }
    void Clear() noexcept { size_ = 0; }
    // Gives the memory back.
    void Release() noexcept;

  private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool mapped_ = false;  // a mapping of its own rather than a block of the heap
};

}  // namespace quillex
