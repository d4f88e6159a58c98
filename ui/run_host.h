#pragma once

#include <QString>

#include <cstddef>
#include <filesystem>
#include <optional>

#include "core/caption_table.h"
#include "core/document_lines.h"
#include "core/file_backup.h"
#include "core/step_log.h"
#include "core/undo_history.h"

namespace quillex {

class WorkRunner;

// What a line function's Start handler needs of the main window.
class RunHost {
  public:
    virtual ~RunHost() = default;

    virtual DocumentLines& Document() = 0;
    // Where a run's work goes, one piece at a time.
    virtual WorkRunner& Work() = 0;
    // The text of the load-file field: the file the round-trip functions overwrite.
    virtual QString LoadFileText() const = 0;
    // Lbl_Work := the lines-processed prefix of the current language + n.
    virtual void ShowProgress(std::size_t n) = 0;
    // "File: " + load-file field + " error!" with an OK button.
    virtual void ShowRunError() = 0;
    // The language in force, for the messages a panel composes.
    virtual const CaptionTable& Captions() const = 0;
    // A message box with an OK button.
    virtual void ShowMessage(const QString& text) = 0;
    virtual void RefreshView() = 0;
    // Exactly what a click on the load button does: dialog, load or cancel, view rebuilt.
    virtual void RunLoadCommand() = 0;
    // Whether the round-trip functions may write over the load file: not when the document
    // came from it only up to a NUL byte and the user, asked, keeps the file.
    virtual bool MayOverwriteLoadFile() { return true; }
    // The number Lbl_Work shows now, if any: an undo puts it back.
    virtual std::optional<std::size_t> ShownProgress() const { return std::nullopt; }
    // A change that can be undone; the step holds the state from before it, `applied` the
    // functions it ran as recipe steps.
    virtual void RecordChange(UndoStep step, std::vector<StepWordList> applied) {
        (void)step;
        (void)applied;
    }
    // Where the load file's present bytes are kept before a round-trip function writes over
    // it (KeepBackup); none: they are not kept.
    virtual std::optional<std::filesystem::path> UndoFolder() const { return std::nullopt; }
};

}  // namespace quillex
