#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/document_lines.h"
#include "core/step_log.h"
#include "core/undo_history.h"

namespace quillex {

class WorkRunner;

// The document the window holds, apart from the window that shows it: its lines, its undo
// history, the steps applied since it was loaded, what its load found (a text cut at a NUL
// byte) and the gate its work passes (one piece at a time, nothing changes it meanwhile).
class OpenDocument {
  public:
    OpenDocument(WorkRunner& work, std::filesystem::path undoFolder)
        : work_(work), undoFolder_(std::move(undoFolder)) {}

    DocumentLines& Lines() noexcept { return lines_; }
    const DocumentLines& Lines() const noexcept { return lines_; }
    WorkRunner& Work() noexcept { return work_; }
    // Where the load file's bytes are kept for undo.
    const std::filesystem::path& UndoFolder() const noexcept { return undoFolder_; }

    // Undo.
    const UndoHistory& History() const noexcept { return history_; }
    // A change: the step holds the state from before it; `applied` the functions it ran, as
    // recipe steps; a load starts the steps anew.
    void Record(UndoStep step, std::vector<StepWordList> applied, bool startsAnew = false);
    bool Undo(const UndoHistory::Exchange& exchange);
    bool Redo(const UndoHistory::Exchange& exchange);
    // The functions applied since the load, undone ones left out, as recipe steps.
    std::vector<StepWordList> StepsSinceLoad() const { return steps_.Steps(); }
    // Drops the history and the steps (and the load file's kept bytes with them).
    void DropHistory();

    // The load file whose text a NUL byte ended, and where; none after a whole load.
    void NoteCutLoad(std::filesystem::path file, std::optional<std::uint64_t> nulOffset);
    std::optional<std::uint64_t> CutLoadOffset() const;
    const std::filesystem::path& CutLoadFile() const noexcept { return cutLoadFile_; }
    // The user chose to let the rest of the cut file go.
    void ForgetCutLoad() { cutLoadFile_.clear(); }

  private:
    WorkRunner& work_;
    std::filesystem::path undoFolder_;
    DocumentLines lines_;
    UndoHistory history_;
    StepLog steps_;
    std::filesystem::path cutLoadFile_;
    std::uint64_t cutLoadOffset_ = 0;
};

}  // namespace quillex
