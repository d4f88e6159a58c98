#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace quillex {

// The pieces of a text, written one after another.
using TextPieces = std::vector<std::string_view>;

// Some of a document's lines, in order, held as runs of consecutive line numbers: a list of
// the lines a function keeps costs a few bytes a run rather than a copy of every line.
class LineSelection {
  public:
    struct Run {
        std::size_t first = 0;
        std::size_t count = 0;
    };

    // Lines must come in increasing order; a line or range right after the last run extends it.
    void Add(std::size_t line) {
        if (!runs_.empty() && runs_.back().first + runs_.back().count == line) {
            ++runs_.back().count;
        } else {
            runs_.push_back({line, 1});
        }
        ++count_;
    }
    void AddRange(std::size_t first, std::size_t count) {
        if (count == 0) {
            return;
        }
        if (!runs_.empty() && runs_.back().first + runs_.back().count == first) {
            runs_.back().count += count;
        } else {
            runs_.push_back({first, count});
        }
        count_ += count;
    }

    std::size_t Count() const noexcept { return count_; }
    const std::vector<Run>& runs() const noexcept { return runs_; }

  private:
    std::vector<Run> runs_;
    std::size_t count_ = 0;
};

}  // namespace quillex
