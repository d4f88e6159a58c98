#include "ui/panels/run_protocol.h"

#include <exception>
#include <new>
#include <optional>
#include <utility>

#include "core/file_format.h"
#include "ui/text_bridge.h"

namespace quillex {

namespace {

// The document and the "Lines processed" number as a run found them, for its undo step. A
// document too large to be held twice is run without a step rather than not at all.
class ChangeRecord {
  public:
    explicit ChangeRecord(RunHost& host) : host_(host), shown_(host.ShownProgress()) {
        try {
            before_ = host.Document();
        } catch (const std::bad_alloc&) {
            before_.reset();
        }
    }

    // Records a step when the document differs from what the run found (or `step` carries a
    // file); what was found is moved into the step, not copied.
    void Record(UndoStep step = {}) {
        const bool changed = before_ && *before_ != host_.Document();
        if (changed) {
            step.document = std::move(before_);
        }
        if (changed || step.file) {
            step.processed = shown_;
            host_.RecordChange(std::move(step));
        }
    }

  private:
    RunHost& host_;
    std::optional<std::size_t> shown_;
    std::optional<DocumentLines> before_;
};

}  // namespace

void RunOverDocument(RunHost& host, const DocumentOperation& operation) {
    ChangeRecord change(host);
    RunProgress progress;
    bool failed = false;
    try {
        operation(host.Document(), progress.Callback());
    } catch (const std::bad_alloc&) {
        // Nothing was changed; the general error report says why.
        progress.ShowOn(host);
        throw;
    } catch (const std::exception&) {
        failed = true;
    }
    progress.ShowOn(host);
    change.Record();  // a failed run may have changed some lines before it stopped
    if (failed) {
        host.ShowRunError();
    }
    host.RefreshView();
}

bool WriteLoadFile(RunHost& host, const TextPieces& text) {
    const QString fileName = host.LoadFileText();
    if (fileName.isEmpty()) {
        return false;
    }
    try {
        SaveText(text, ToPath(fileName));
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void RunRoundTrip(RunHost& host, const RoundTripBuild& build) {
    ChangeRecord change(host);
    RunProgress progress;
    FunctionResult result;
    try {
        result = build(progress.Callback());
    } catch (const RunError&) {
        progress.ShowOn(host);
        return;
    } catch (const std::bad_alloc&) {
        progress.ShowOn(host);
        throw;
    } catch (const std::exception&) {
        progress.ShowOn(host);
        host.ShowRunError();
        return;
    }
    progress.ShowOn(host);
    if (!host.MayOverwriteLoadFile()) {
        return;
    }
    // Lbl_Work already shows a number: a failed write must not pass for a finished run.
    DocumentLines& document = host.Document();
    // The file's old bytes are kept first: a run whose write cannot be undone does not write.
    UndoStep step;
    try {
        step.file = host.BackUpLoadFile();
    } catch (const std::exception&) {
        host.ShowRunError();
        return;
    }
    if (!result.to_write || !WriteLoadFile(host, document.TextForm(*result.to_write))) {
        if (step.file) {
            RemoveBackup(*step.file);
        }
        host.ShowRunError();
        return;
    }
    if (step.file) {
        try {
            step.file->written = StampOf(step.file->original);
        } catch (const FileError&) {
            // Left unknown: an undo then asks before it writes.
        }
    }
    // The document gives up lines only once the file holds the result, so a failed write
    // loses nothing.
    if (result.document_keeps) {
        document.Keep(*result.document_keeps);
    }
    change.Record(std::move(step));
    host.RunLoadCommand();
}

}  // namespace quillex
