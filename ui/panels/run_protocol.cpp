#include "ui/panels/run_protocol.h"

#include <exception>
#include <memory>
#include <new>
#include <utility>

#include "core/file_format.h"
#include "ui/text_bridge.h"
#include "ui/work_runner.h"

namespace quillex {

namespace {

// A run over the document: its own copy, changed on the worker.
struct DocumentRun {
    DocumentLines result;
    RunProgress numbers;
    std::optional<QString> refusal;
    bool failed = false;
    bool changed = false;
};

// A round trip from its build to its write.
struct RoundTrip {
    FunctionResult result;
    RunProgress numbers;
    std::optional<DocumentLines> kept;  // the document after the write, where it keeps less
    UndoStep step;
    std::vector<StepWordList> applied;
    bool writeFailed = false;
};

void RunThen(const std::function<void()>& then) {
    if (then) {
        then();
    }
}

// The backup, the write over the load file and the document's share of the result, on the
// worker: the file's old bytes are kept first, since a write that cannot be undone must not
// happen; a write that fails or is stopped leaves no backup behind.
void WriteRoundTrip(RoundTrip& trip, const DocumentLines& source,
                    const std::optional<std::filesystem::path>& undoFolder,
                    const std::filesystem::path& loadFile, bool noLoadFile, WorkMeter& meter) {
    const std::optional<LineSelection>& keeps = trip.result.document_keeps;
    if (keeps && keeps->Count() != source.Count()) {
        trip.kept = source;  // copied before anything is written: a lack of memory stops here
    }
    try {
        if (undoFolder) {
            trip.step.file = KeepBackup(*undoFolder, loadFile);
        }
    } catch (const std::exception&) {
        trip.writeFailed = true;
        return;
    }
    try {
        if (noLoadFile || !trip.result.to_write) {
            throw FileError(loadFile, "no file to write");
        }
        SaveText(source.TextForm(*trip.result.to_write), loadFile, Progress({}, &meter));
    } catch (...) {
        // The copy goes only once the load file is known to be whole; otherwise it stays, for
        // undo to put the old bytes back.
        if (trip.step.file && StillHoldsItsBackup(*trip.step.file)) {
            RemoveBackup(*trip.step.file);
            trip.step.file.reset();
        }
        const bool cancelled = WasCancelled(std::current_exception());
        if (cancelled) {
            throw;
        }
        trip.writeFailed = true;
        return;
    }
    if (trip.step.file) {
        try {
            trip.step.file->written = StampOf(trip.step.file->original);
        } catch (const FileError&) {
            // Left unknown: an undo then asks before it writes.
        }
    }
    if (trip.kept) {
        trip.kept->Keep(*keeps);
    }
}

// Back on the window's thread after the write: the document takes its share, the change is
// recorded and the load command runs.
void FinishRoundTrip(RunHost& host, RoundTrip& trip, std::optional<std::size_t> shown,
                     const std::function<void()>& then) {
    trip.numbers.ShowOn(host);
    if (trip.writeFailed) {
        if (trip.step.file) {
            host.RecordChange(std::move(trip.step), {});  // the file did change: undo restores it
        }
        host.ShowRunError();
        RunThen(then);
        return;
    }
    if (trip.kept) {
        trip.step.document = std::exchange(host.Document(), std::move(*trip.kept));
    }
    if (trip.step.document || trip.step.file) {
        trip.step.processed = shown;
        host.RecordChange(std::move(trip.step), std::move(trip.applied));
    }
    host.RunLoadCommand();
    RunThen(then);
}

}  // namespace

void RunOverDocument(RunHost& host, DocumentOperation operation,
                     std::vector<StepWordList> applied) {
    auto run = std::make_shared<DocumentRun>();
    const DocumentLines& source = host.Document();
    const std::optional<std::size_t> shown = host.ShownProgress();
    host.Work().Start(
        [run, &source, operation = std::move(operation)](WorkMeter& meter) {
            run->result = source;
            try {
                operation(run->result, run->numbers.Callback(meter));
            } catch (const std::bad_alloc&) {
                throw;  // nothing was changed; the general error report says why
            } catch (const WorkCancelled&) {
                throw;
            } catch (const RunRefused& refused) {
                run->refusal = refused.Message();
                run->result.Clear();
            } catch (const std::exception&) {
                run->failed = true;  // the lines done so far stay changed
            }
            run->changed = !run->refusal && run->result != source;
            if (!run->changed) {
                run->result.Clear();  // freed here rather than on the window's thread
            }
            meter.StopIfAsked();
        },
        [run, &host, shown, applied = std::move(applied)](std::exception_ptr failure) mutable {
            // A cancelled run leaves no trace; any failure left here (a lack of memory) goes to
            // the general error report, after the number the run reached.
            if (WasCancelled(failure)) {
                return;
            }
            run->numbers.ShowOn(host);
            if (failure) {
                std::rethrow_exception(failure);
            }
            if (run->changed) {
                UndoStep step;
                step.document = std::exchange(host.Document(), std::move(run->result));
                step.processed = shown;
                // A function that failed part way is not a step a recipe could repeat.
                host.RecordChange(std::move(step),
                                  run->failed ? std::vector<StepWordList>{} : std::move(applied));
            }
            if (run->failed) {
                host.ShowRunError();
            }
            if (run->refusal) {
                host.ShowMessage(*run->refusal);
            }
            host.RefreshView();
        });
}

void RunRoundTrip(RunHost& host, RoundTripBuild build, std::function<void()> then,
                  std::vector<StepWordList> applied) {
    auto trip = std::make_shared<RoundTrip>();
    trip->applied = std::move(applied);
    const DocumentLines& source = host.Document();
    const std::optional<std::size_t> shown = host.ShownProgress();
    host.Work().Start(
        [trip, &source, build = std::move(build)](WorkMeter& meter) {
            trip->result = build(source, trip->numbers.Callback(meter));
            meter.StopIfAsked();
        },
        [trip, &host, &source, shown, then = std::move(then)](std::exception_ptr failure) {
            if (WasCancelled(failure)) {
                return;
            }
            if (failure) {
                trip->numbers.ShowOn(host);
                try {
                    std::rethrow_exception(failure);
                } catch (const RunError&) {
                    // refused before anything was reported or written: ends silently
                } catch (const std::bad_alloc&) {
                    throw;
                } catch (const std::exception&) {
                    host.ShowRunError();
                }
                RunThen(then);
                return;
            }
            if (!host.MayOverwriteLoadFile()) {
                trip->numbers.ShowOn(host);
                RunThen(then);
                return;
            }
            const QString field = host.LoadFileText();
            host.Work().Start(
                [trip, &source, undoFolder = host.UndoFolder(), loadFile = ToPath(field),
                 noLoadFile = field.isEmpty()](WorkMeter& meter) {
                    WriteRoundTrip(*trip, source, undoFolder, loadFile, noLoadFile, meter);
                },
                [trip, &host, shown, then](std::exception_ptr failure) {
                    if (WasCancelled(failure)) {
                        return;
                    }
                    if (failure) {
                        trip->numbers.ShowOn(host);
                        std::rethrow_exception(failure);
                    }
                    FinishRoundTrip(host, *trip, shown, then);
                });
        });
}

}  // namespace quillex
