#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace quillex {

// Where each line of a text buffer starts, plus one entry for the end of the buffer. Offsets
// are 32 bits wide while the buffer is under 4 GiB, so a file of empty lines costs 4 bytes of
// index a line, and switch to 64 bits only for a larger buffer.
class LineIndex {
  public:
    std::size_t size() const noexcept { return wide_ ? wideOffsets_.size() : narrow_.size(); }
    bool empty() const noexcept { return size() == 0; }

    std::uint64_t operator[](std::size_t i) const noexcept {
        return wide_ ? wideOffsets_[i] : narrow_[i];
    }

    // Asks the memory for entry i ahead of its use.
    void Prefetch(std::size_t i) const noexcept {
        if (wide_) {
            __builtin_prefetch(wideOffsets_.data() + i);
        } else {
            __builtin_prefetch(narrow_.data() + i);
        }
    }

    void Reserve(std::size_t count) {
        if (wide_) {
            wideOffsets_.reserve(count);
        } else {
            narrow_.reserve(count);
        }
    }

    void Push(std::uint64_t offset) {
        if (!wide_ && offset > kNarrowMax) {
            Widen();
        }
        if (wide_) {
            Grow(wideOffsets_);
            wideOffsets_.push_back(offset);
        } else {
            Grow(narrow_);
            narrow_.push_back(static_cast<std::uint32_t>(offset));
        }
    }

    // Rewrites entry i; an offset above 4 GiB widens the index first.
    void Set(std::size_t i, std::uint64_t offset) {
        if (!wide_ && offset > kNarrowMax) {
            Widen();
        }
        if (wide_) {
            wideOffsets_[i] = offset;
        } else {
            narrow_[i] = static_cast<std::uint32_t>(offset);
        }
    }

    // Makes room for offsets up to `largest` before a pass that sets them, so that the pass
    // itself cannot fail on memory.
    void Prepare(std::uint64_t largest) {
        if (!wide_ && largest > kNarrowMax) {
            Widen();
        }
    }

    void Truncate(std::size_t count) {
        if (wide_) {
            wideOffsets_.resize(count);
        } else {
            narrow_.resize(count);
        }
    }
    void Clear() noexcept {
        narrow_.clear();
        wideOffsets_.clear();
        wide_ = false;
    }

  private:
    // By half rather than double: the old and the new block are both held while it grows.
    template <class Vector>
    static void Grow(Vector& v) {
        if (v.size() == v.capacity()) {
            v.reserve(v.capacity() + v.capacity() / 2 + 16);
        }
    }

    static constexpr std::uint64_t kNarrowMax = std::numeric_limits<std::uint32_t>::max();

    void Widen() {
        wideOffsets_.assign(narrow_.begin(), narrow_.end());
        narrow_ = {};
        wide_ = true;
    }

    std::vector<std::uint32_t> narrow_;
    std::vector<std::uint64_t> wideOffsets_;
    bool wide_ = false;
};

}  // namespace quillex
