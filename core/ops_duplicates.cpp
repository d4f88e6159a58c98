#include <bit>
#include <vector>

#include "core/case_fold.h"
#include "core/line_operations.h"

namespace quillex {

namespace {

// Open addressing over the kept lines, keyed by the folded hash; at most half full, so a
// probe run stays short. A slot holds the full hash, which rules out nearly every unequal
// line before the byte comparison.
class FoldedLineSet {
  public:
    explicit FoldedLineSet(std::size_t expected)
        : slots_(std::bit_ceil(std::max<std::size_t>(16, expected * 2))),
          mask_(slots_.size() - 1) {}

    // Adds `line` unless an equal line is there already; returns whether it was added.
    // `line` must outlive the set.
    bool Insert(const std::string& line) {
        const std::uint64_t hash = FoldedHash(line);
        for (std::size_t at = hash & mask_;; at = (at + 1) & mask_) {
            Slot& slot = slots_[at];
            if (slot.line == nullptr) {
                slot = {hash, &line};
                return true;
            }
            if (slot.hash == hash && FoldedEqual(*slot.line, line)) {
                return false;
            }
        }
    }

  private:
    struct Slot {
        std::uint64_t hash = 0;
        const std::string* line = nullptr;
    };
    std::vector<Slot> slots_;
    std::size_t mask_;
};

}  // namespace

Lines RemoveDuplicateLines(const Lines& lines, const Progress& progress) {
    FoldedLineSet seen(lines.size());
    Lines kept;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (seen.Insert(lines[i])) {
            kept.push_back(lines[i]);
            progress(i + 1);
        }
    }
    return kept;
}

}  // namespace quillex
