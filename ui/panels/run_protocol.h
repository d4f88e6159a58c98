#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "core/line_functions.h"
#include "ui/run_host.h"

namespace quillex {

// Keeps the last progress number a run reports. The window does not repaint while a run
// works, so the label is set once, with the number the run ended on (or failed at); a run
// that reports none leaves the label as it was.
class RunProgress {
  public:
    Progress Callback() {
        return [this](std::size_t n) { last_ = n; };
    }
    void ShowOn(RunHost& host) const {
        if (last_) {
            host.ShowProgress(*last_);
        }
    }

  private:
    std::optional<std::size_t> last_;
};

// The in-place, removal and whole-text runs: `operation` works on the document; a failure
// shows the run error message; the view is rebuilt either way.
using DocumentOperation = std::function<void(DocumentLines& document, const Progress& progress)>;
void RunOverDocument(RunHost& host, const DocumentOperation& operation);

// Writes `text` over the file named by the load-file field, all or nothing. False when the
// field is empty or the file cannot be written.
bool WriteLoadFile(RunHost& host, const TextPieces& text);

// The file round-trip: `build` computes the lines to write (reporting progress), they are
// written over the load file, the document keeps what the result says it keeps, then the
// load command. A failure, the write included, shows the run error message and skips the
// rest; a run the core refuses before it reports or writes anything (a negative line count)
// ends silently.
using RoundTripBuild = std::function<FunctionResult(const Progress& progress)>;
void RunRoundTrip(RunHost& host, const RoundTripBuild& build);

}  // namespace quillex
