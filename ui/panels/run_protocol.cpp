#include "ui/panels/run_protocol.h"

#include <exception>

#include "core/file_format.h"
#include "ui/text_bridge.h"

namespace quillex {

void RunOverDocument(RunHost& host, const DocumentOperation& operation) {
    RunProgress progress;
    bool failed = false;
    try {
        operation(host.Document().lines(), progress.Callback());
    } catch (const std::exception&) {
        failed = true;
    }
    progress.ShowOn(host);
    if (failed) {
        host.ShowRunError();
    }
    host.RefreshView();
}

bool WriteLoadFile(RunHost& host, const Lines& lines) {
    const QString fileName = host.LoadFileText();
    if (fileName.isEmpty()) {
        return false;
    }
    try {
        SaveLines(lines, ToPath(fileName));
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void RunRoundTrip(RunHost& host, const RoundTripBuild& build,
                  const std::function<void()>& afterWrite) {
    RunProgress progress;
    const Lines* result = nullptr;
    try {
        result = &build(progress.Callback());
    } catch (const RunError&) {
        progress.ShowOn(host);
        return;
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
    if (!WriteLoadFile(host, *result)) {
        host.ShowRunError();
        return;
    }
    if (afterWrite) {
        afterWrite();
    }
    host.RunLoadCommand();
}

}  // namespace quillex
