#pragma once

// The set of lines seen so far, by groups of lines equal under a folding, for the duplicate
// functions. Core-internal.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <string_view>

#include "core/byte_buffer.h"
#include "core/case_fold.h"
#include "core/document_lines.h"
#include "core/progress.h"
#include "core/utf8_case_fold.h"

namespace quillex {

// Open addressing over the kept lines, keyed by the folded hash; at most half full, so a
// probe run stays short, and doubled as the kept lines grow, so that a document of few
// distinct lines costs little. A slot holds 32 bits of the hash and the line's number, which
// rules out nearly every unequal line before the byte comparison, at 8 bytes a slot; the
// same 32 bits place it, so that growing needs no hash computed again. The slots live in a
// document-sized buffer (huge pages where offered): probes land at random places, and small
// pages would make most of them a page-table walk as well as a cache miss.
template <class Fold>
class FoldedLineSet {
  public:
    // `shares`: the sets the lines' groups are shared among, each holding about that share.
    FoldedLineSet(const DocumentLines& lines, std::uint64_t seed, unsigned shares = 1)
        : lines_(lines), seed_(seed) {
        Allocate(slotsBuffer_,
                 std::bit_ceil(std::max<std::size_t>(64, lines.Count() / 4 / shares)));
    }

    std::uint32_t Tag(std::size_t i) const {
        const std::uint64_t hash = Fold::Hash(lines_.Get(i), seed_);
        return static_cast<std::uint32_t>(hash >> 32 ^ hash);
    }

    // Asks the memory for the slot a tag starts at, ahead of its Insert.
    void Prefetch(std::uint32_t tag) const { __builtin_prefetch(Slots() + (tag & mask_)); }

    // Adds line i (whose tag is given) unless an equal line is there already; returns the
    // number of the line that stands for its group: i itself where it was added. Where
    // `kTakesOver`, line i stands for its group from then on, and the line returned is the one
    // that stood for it before.
    template <bool kTakesOver = false>
    std::size_t Add(std::size_t i, std::uint32_t tag) {
        const std::string_view line = lines_.Get(i);
        for (std::size_t at = tag & mask_;; at = (at + 1) & mask_) {
            Slot& slot = Slots()[at];
            if (slot.line == 0) {
                if ((count_ + 1) * 2 > capacity_) {
                    Grow();
                    return Add<kTakesOver>(i, tag);
                }
                ++count_;
                slot = {tag, static_cast<std::uint32_t>(i + 1)};
                return i;
            }
            if (slot.tag == tag && Fold::Equal(lines_.Get(slot.line - 1), line)) {
                const std::size_t before = slot.line - 1;
                if constexpr (kTakesOver) {
                    slot.line = static_cast<std::uint32_t>(i + 1);
                }
                return before;
            }
        }
    }
    // Adds every line in order, then `visit(i, first)` with the number of the line that stood
    // for its group (the first, unless `kTakesOver`); the watcher hears of line i as unit
    // `done + i + 1` of `total`.
    template <bool kTakesOver = false, class Visit>
    void AddAll(Visit visit, const Progress& progress, std::uint64_t done, std::uint64_t total) {
        // A few lines are hashed ahead and their slots fetched together, so that the memory
        // serves several probes at once; they are still taken in order.
        constexpr std::size_t kAhead = 16;
        std::array<std::uint32_t, kAhead> tags{};
        const std::size_t n = lines_.Count();
        for (std::size_t first = 0; first < n; first += kAhead) {
            const std::size_t count = std::min(kAhead, n - first);
            for (std::size_t k = 0; k < count; ++k) {
                tags[k] = Tag(first + k);
                Prefetch(tags[k]);
            }
            for (std::size_t k = 0; k < count; ++k) {
                visit(first + k, Add<kTakesOver>(first + k, tags[k]));
            }
            progress.Step(done + first + count, total);
        }
    }

  private:
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t line = 0;  // line number + 1; 0 for an empty slot
    };

    Slot* Slots() const { return reinterpret_cast<Slot*>(slotsBuffer_.data()); }

    void Allocate(ByteBuffer& buffer, std::size_t capacity) {
        buffer.Resize(capacity * sizeof(Slot));
        std::memset(buffer.data(), 0, buffer.size());
        capacity_ = capacity;
        mask_ = capacity - 1;
    }

    void Grow() {
        ByteBuffer grown;
        Allocate(grown, capacity_ * 2);
        grown.swap(slotsBuffer_);
        const Slot* old = reinterpret_cast<const Slot*>(grown.data());
        for (std::size_t k = 0; k < capacity_ / 2; ++k) {
            if (old[k].line != 0) {
                std::size_t at = old[k].tag & mask_;
                while (Slots()[at].line != 0) {
                    at = (at + 1) & mask_;
                }
                Slots()[at] = old[k];
            }
        }
    }

    const DocumentLines& lines_;
    std::uint64_t seed_;
    mutable ByteBuffer slotsBuffer_;
    std::size_t capacity_ = 0;
    std::size_t mask_ = 0;
    std::size_t count_ = 0;
};

// Letter case as Windows-1251 folds it, byte for byte, and as Unicode folds UTF-8.
struct Cp1251Fold {
    static std::uint64_t Hash(std::string_view line, std::uint64_t seed) {
        return FoldedHash(line, seed);
    }
    static bool Equal(std::string_view a, std::string_view b) { return FoldedEqual(a, b); }
};
struct Utf8Fold {
    static std::uint64_t Hash(std::string_view line, std::uint64_t seed) {
        return Utf8FoldedHash(line, seed);
    }
    static bool Equal(std::string_view a, std::string_view b) { return Utf8FoldedEqual(a, b); }
};

// A seed drawn per run, so that crafted lines cannot all land in one probe run.
inline std::uint64_t RunSeed() {
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device();
}

}  // namespace quillex
