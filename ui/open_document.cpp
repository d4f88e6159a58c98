#include "ui/open_document.h"

#include <utility>

namespace quillex {

void OpenDocument::Record(UndoStep step, std::vector<StepWordList> applied, bool startsAnew) {
    history_.Record(std::move(step));
    steps_.Recorded(std::move(applied), startsAnew);
}

bool OpenDocument::Undo(const UndoHistory::Exchange& exchange) {
    const bool undone = history_.Undo(exchange);
    if (undone) {
        steps_.Undone();
    }
    return undone;
}

bool OpenDocument::Redo(const UndoHistory::Exchange& exchange) {
    const bool redone = history_.Redo(exchange);
    if (redone) {
        steps_.Redone();
    }
    return redone;
}

void OpenDocument::DropHistory() {
    history_.Clear();
    steps_.Clear();
}

void OpenDocument::NoteCutLoad(std::filesystem::path file, std::optional<std::uint64_t> nulOffset) {
    cutLoadFile_ = nulOffset ? std::move(file) : std::filesystem::path();
    cutLoadOffset_ = nulOffset.value_or(0);
}

std::optional<std::uint64_t> OpenDocument::CutLoadOffset() const {
    if (cutLoadFile_.empty()) {
        return std::nullopt;
    }
    return cutLoadOffset_;
}

}  // namespace quillex
