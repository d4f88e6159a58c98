#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "core/document_lines.h"
#include "core/file_backup.h"

namespace quillex {

// The load-file field as a load left it: its text (UTF-8) and where a NUL byte ended the
// loaded text, if one did.
struct LoadedFile {
    std::string field;
    std::optional<std::uint64_t> nulOffset;
};

// One change as it can be taken back and done again. Each part holds the state that is not in
// force now (before the change while it stands, after it once undone), so that undo and redo
// are both an exchange with the window's state.
struct UndoStep {
    std::optional<DocumentLines> document;  // none: the change left the document as it was
    bool viewEmptied = false;               // the view's "Clear"
    std::optional<FileBackup> file;         // the load file a round-trip function overwrote
    std::optional<std::size_t> processed;   // the "Lines processed" number; none: no number
    std::optional<LoadedFile> loaded;       // where a load changed the load-file field
};

// Bytes a document takes in memory: its text form and its index.
std::size_t MemoryBytes(const DocumentLines& document) noexcept;

// The changes that can be undone and redone. At most kMaxSteps, and their documents together
// within a fixed memory budget; the oldest go first, though the newest always stays. The
// budget does not follow the present document, so that runs which shrink it keep their
// history. A step leaving the history removes its file backup; destroying the history does not,
// so that a crash, which ends nothing properly, leaves the backups on disk.
class UndoHistory {
  public:
    static constexpr std::size_t kMaxSteps = 20;

    // A quarter of the physical memory, never less than 512 MiB.
    static std::size_t DefaultBudget() noexcept;

    explicit UndoHistory(std::size_t budgetBytes = DefaultBudget()) : budget_(budgetBytes) {}
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // A new change: what could be redone is dropped.
    void Record(UndoStep step);

    bool CanUndo() const noexcept { return !undo_.empty(); }
    bool CanRedo() const noexcept { return !redo_.empty(); }
    std::size_t UndoCount() const noexcept { return undo_.size(); }

    // `exchange` swaps the step's state with the window's; the step then moves to the other
    // list. An exchange that throws leaves the step where it was. False when there is none.
    using Exchange = std::function<void(UndoStep& step)>;
    bool Undo(const Exchange& exchange) { return Move(undo_, redo_, exchange); }
    bool Redo(const Exchange& exchange) { return Move(redo_, undo_, exchange); }

    // Forgets every step and removes their backups: the program ends normally.
    void Clear() noexcept;

  private:
    static bool Move(std::deque<UndoStep>& from, std::deque<UndoStep>& to,
                     const Exchange& exchange);
    static void Drop(std::deque<UndoStep>& steps, bool oldest) noexcept;

    std::size_t budget_;
    std::deque<UndoStep> undo_;  // oldest first
    std::deque<UndoStep> redo_;  // the next to redo last
};

}  // namespace quillex
