#pragma once

#include <QString>

#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>

#include "core/line_functions.h"
#include "ui/run_host.h"

namespace quillex {

// Keeps the last progress number a run reports. The run works on the worker and the label
// shows the number it ended on (or failed at) once it is back on the window's thread; a run
// that reports none leaves the label as it was.
class RunProgress {
  public:
    Progress Callback(WorkMeter& meter) {
        return Progress([this](std::size_t n) { last_ = n; }, &meter);
    }
    void ShowOn(RunHost& host) const {
        if (last_) {
            host.ShowProgress(*last_);
        }
    }

  private:
    std::optional<std::size_t> last_;
};

// Thrown by a document operation that refuses its own result: the document stays as it was
// and the message shows.
class RunRefused : public std::runtime_error {
  public:
    explicit RunRefused(const QString& message)
        : std::runtime_error("run refused"), message_(message) {}
    const QString& Message() const noexcept { return message_; }

  private:
    QString message_;
};

// The in-place, removal and whole-text runs: `operation` works on the worker, on a copy of the
// document that replaces it once the run is over (a cancelled run's copy is thrown away); a
// failure shows the run error message and keeps the lines done; the view is rebuilt either
// way. `applied` is what the change is recorded as in the steps since the load: the functions
// it ran, as recipe steps.
using DocumentOperation = std::function<void(DocumentLines& document, const Progress& progress)>;
void RunOverDocument(RunHost& host, DocumentOperation operation,
                     std::vector<StepWordList> applied = {});

// The file round-trip: on the worker, `build` computes the lines to write (reporting
// progress), and they are written over the load file; back on the window's thread the document
// keeps what the result says it keeps and the load command runs. A failure, the write
// included, shows the run error message and skips the rest; a run the core refuses before it
// reports or writes anything (a negative line count) ends silently. `then` follows every end
// but a cancel.
using RoundTripBuild =
    std::function<FunctionResult(const DocumentLines& document, const Progress& progress)>;
void RunRoundTrip(RunHost& host, RoundTripBuild build, std::function<void()> then = {},
                  std::vector<StepWordList> applied = {});

}  // namespace quillex
