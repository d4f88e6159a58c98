#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace quillex {

// A growable block of bytes that is never zero-filled and grows with realloc, so that a large
// block can be extended where it lies (the system remaps its pages) instead of being copied
// into a second block of the same size.
class ByteBuffer {
  public:
    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer& other) { Assign(other.data_, other.size_); }
    ByteBuffer(ByteBuffer&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    ByteBuffer& operator=(ByteBuffer other) noexcept {
        swap(other);
        return *this;
    }
    ~ByteBuffer() { std::free(data_); }

    void swap(ByteBuffer& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }

    char* data() noexcept { return data_; }
    const char* data() const noexcept { return data_; }
    std::size_t size() const noexcept { return size_; }
    std::size_t capacity() const noexcept { return capacity_; }
    bool empty() const noexcept { return size_ == 0; }

    // Capacity for at least `capacity` bytes; throws std::bad_alloc and keeps the content.
    void Reserve(std::size_t capacity) {
        if (capacity <= capacity_) {
            return;
        }
        void* grown = std::realloc(data_, capacity);
        if (grown == nullptr) {
            throw std::bad_alloc();
        }
        data_ = static_cast<char*>(grown);
        capacity_ = capacity;
    }
    // The new bytes are left as they are: the caller writes them.
    void Resize(std::size_t size) {
        Reserve(size);
        size_ = size;
    }
    void Append(const char* bytes, std::size_t count) {
        if (size_ + count > capacity_) {
            Reserve(std::max(size_ + count, capacity_ + capacity_ / 2));
        }
        if (count != 0) {
            std::memcpy(data_ + size_, bytes, count);
        }
        size_ += count;
    }
    void Clear() noexcept { size_ = 0; }
    // Gives back what the content does not use.
    void Release() noexcept {
        std::free(data_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }

  private:
    void Assign(const char* bytes, std::size_t count) {
        Reserve(count);
        Append(bytes, count);
    }

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace quillex
