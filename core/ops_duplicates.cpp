#include <algorithm>
#include <bit>
#include <limits>
#include <random>
#include <vector>

#include "core/case_fold.h"
#include "core/line_operations.h"

namespace quillex {

namespace {

// Open addressing over the kept lines, keyed by the folded hash; at most half full, so a
// probe run stays short, and doubled as the kept lines grow, so that a document of few
// distinct lines costs little. A slot holds 32 bits of the hash and the line's number, which
// rules out nearly every unequal line before the byte comparison, at 8 bytes a slot; the
// same 32 bits place it, so that growing needs no hash computed again.
class FoldedLineSet {
  public:
    FoldedLineSet(const DocumentLines& lines, std::uint64_t seed)
        : lines_(lines),
          seed_(seed),
          slots_(std::bit_ceil(std::max<std::size_t>(64, lines.Count() / 4))),
          mask_(slots_.size() - 1) {}

    // Adds line i unless an equal line is there already; returns whether it was added.
    bool Insert(std::size_t i) {
        const std::string_view line = lines_.Get(i);
        const std::uint64_t hash = FoldedHash(line, seed_);
        const auto tag = static_cast<std::uint32_t>(hash >> 32 ^ hash);
        for (std::size_t at = tag & mask_;; at = (at + 1) & mask_) {
            Slot& slot = slots_[at];
            if (slot.line == 0) {
                if (++count_ * 2 > slots_.size()) {
                    Grow();
                    --count_;
                    return Insert(i);
                }
                slot = {tag, static_cast<std::uint32_t>(i + 1)};
                return true;
            }
            if (slot.tag == tag && FoldedEqual(lines_.Get(slot.line - 1), line)) {
                return false;
            }
        }
    }

  private:
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t line = 0;  // line number + 1; 0 for an empty slot
    };

    void Grow() {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        mask_ = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.line != 0) {
                std::size_t at = slot.tag & mask_;
                while (slots_[at].line != 0) {
                    at = (at + 1) & mask_;
                }
                slots_[at] = slot;
            }
        }
    }

    const DocumentLines& lines_;
    std::uint64_t seed_;
    std::vector<Slot> slots_;
    std::size_t mask_;
    std::size_t count_ = 0;
};

std::uint64_t RunSeed() {
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device();
}

}  // namespace

LineSelection RemoveDuplicateLines(const DocumentLines& lines, const Progress& progress) {
    if (lines.Count() >= std::numeric_limits<std::uint32_t>::max()) {
        throw RunError("too many lines to compare");
    }
    FoldedLineSet seen(lines, RunSeed());
    LineSelection kept;
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        if (seen.Insert(i)) {
            kept.Add(i);
            progress(i + 1);
        }
    }
    return kept;
}

}  // namespace quillex
