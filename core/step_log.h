#pragma once

// The functions applied to a document since it was loaded, as recipe steps, beside its undo
// history but apart from it: the history drops old steps to stay within its memory, and the
// recipe that "Save steps as recipe" writes must not lose them.

#include <cstddef>
#include <string>
#include <vector>

namespace quillex {

// A recipe step's words: the function's name, then its options.
using StepWordList = std::vector<std::string>;

class StepLog {
  public:
    // A change was recorded in the history: `applied` the steps it ran (none for a change
    // that is not a function's); a load starts the document anew. Whatever was undone
    // before it can no longer be redone, so it goes.
    void Recorded(std::vector<StepWordList> applied, bool startsAnew) {
        changes_.resize(done_);
        changes_.push_back({std::move(applied), startsAnew});
        ++done_;
    }
    // The history undid or redid its newest (or next) change.
    void Undone() {
        if (done_ > 0) {
            --done_;
        }
    }
    void Redone() {
        if (done_ < changes_.size()) {
            ++done_;
        }
    }
    void Clear() {
        changes_.clear();
        done_ = 0;
    }

    // The steps of the changes in force since the last load, oldest first.
    std::vector<StepWordList> Steps() const {
        std::size_t first = done_;
        while (first > 0 && !changes_[first - 1].startsAnew) {
            --first;
        }
        std::vector<StepWordList> steps;
        for (std::size_t k = first; k < done_; ++k) {
            steps.insert(steps.end(), changes_[k].applied.begin(), changes_[k].applied.end());
        }
        return steps;
    }

  private:
    struct Change {
        std::vector<StepWordList> applied;
        bool startsAnew = false;
    };
    std::vector<Change> changes_;
    std::size_t done_ = 0;  // changes_[0, done_) are in force; the rest were undone
};

}  // namespace quillex
