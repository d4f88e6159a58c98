#include "ui/panels/run_protocol.h"

#include <exception>
#include <new>

#include "core/file_format.h"
#include "ui/text_bridge.h"

namespace quillex {

void RunOverDocument(RunHost& host, const DocumentOperation& operation) {
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
    if (!result.to_write || !WriteLoadFile(host, document.TextForm(*result.to_write))) {
        host.ShowRunError();
        return;
    }
    // The document gives up lines only once the file holds the result, so a failed write
    // loses nothing.
    if (result.document_keeps) {
        document.Keep(*result.document_keeps);
    }
    host.RunLoadCommand();
}

}  // namespace quillex
