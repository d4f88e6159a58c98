#include "core/undo_history.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/system_memory.h"

namespace quillex {

namespace {

std::size_t StepBytes(const UndoStep& step) noexcept {
    return step.document ? MemoryBytes(*step.document) : 0;
}

}  // namespace

std::size_t MemoryBytes(const DocumentLines& document) noexcept {
    return document.TextForm().size() + (document.Count() + 1) * sizeof(std::uint64_t);
}

std::size_t UndoHistory::DefaultBudget() noexcept {
    constexpr std::uint64_t kFloor = std::uint64_t{512} << 20;
    const std::uint64_t budget = std::max(kFloor, PhysicalMemoryBytes() / 4);
    return static_cast<std::size_t>(
        std::min<std::uint64_t>(budget, std::numeric_limits<std::size_t>::max()));
}

void UndoHistory::Record(UndoStep step) {
    while (!redo_.empty()) {
        Drop(redo_, false);
    }
    undo_.push_back(std::move(step));
    std::size_t held = 0;
    for (const UndoStep& kept : undo_) {
        held += StepBytes(kept);
    }
    while (undo_.size() > kMaxSteps || (undo_.size() > 1 && held > budget_)) {
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
