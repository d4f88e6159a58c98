#include "core/undo_history.h"

#include <cstdint>
#include <utility>

namespace quillex {

namespace {

std::size_t StepBytes(const UndoStep& step) noexcept {
    return step.document ? MemoryBytes(*step.document) : 0;
}

}  // namespace

std::size_t MemoryBytes(const DocumentLines& document) noexcept {
    return document.TextForm().size() + (document.Count() + 1) * sizeof(std::uint64_t);
}

void UndoHistory::Record(UndoStep step, const DocumentLines& present) {
    while (!redo_.empty()) {
        Drop(redo_, false);
    }
    undo_.push_back(std::move(step));
    std::size_t held = 0;
    for (const UndoStep& kept : undo_) {
        held += StepBytes(kept);
    }
    const std::size_t budget = 2 * MemoryBytes(present);
    while (undo_.size() > kMaxSteps || (undo_.size() > 1 && held > budget)) {
        held -= StepBytes(undo_.front());
        Drop(undo_, true);
    }
}

bool UndoHistory::Move(std::deque<UndoStep>& from, std::deque<UndoStep>& to,
                       const Exchange& exchange) {
    if (from.empty()) {
        return false;
    }
    exchange(from.back());
    to.push_back(std::move(from.back()));
    from.pop_back();
    return true;
}

void UndoHistory::Drop(std::deque<UndoStep>& steps, bool oldest) noexcept {
    UndoStep& step = oldest ? steps.front() : steps.back();
    if (step.file) {
        RemoveBackup(*step.file);
    }
    if (oldest) {
        steps.pop_front();
    } else {
        steps.pop_back();
    }
}

void UndoHistory::Clear() noexcept {
    while (!undo_.empty()) {
        Drop(undo_, true);
    }
    while (!redo_.empty()) {
        Drop(redo_, true);
    }
}

}  // namespace quillex
