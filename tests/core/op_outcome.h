#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/line_operations.h"
#include "progress_log.h"

namespace quillex::testing {

// What a run leaves behind.
struct Outcome {
    Lines lines;                     // the document after the run
    std::vector<Lines> results;      // lists the run returned
    std::vector<std::size_t> calls;  // progress numbers
    std::string failure;             // "", "stop", "conversion" or "run"

    bool operator==(const Outcome&) const = default;
};

// A run over the document's lines, returning the lists it makes, if any.
using Op = std::function<std::vector<Lines>(Lines&, const Progress&)>;

// Runs `op` over `lines`, failing at progress call `throw_at` (0-based) if given.
inline Outcome RunOp(const Op& op, Lines lines, std::optional<std::size_t> throw_at) {
    ProgressLog log(throw_at);
    Outcome outcome;
    try {
        outcome.results = op(lines, log.Callback());
    } catch (const StopRun&) {
        outcome.failure = "stop";
    } catch (const ConversionError&) {
        outcome.failure = "conversion";
    } catch (const std::exception&) {
        outcome.failure = "run";  // RunError, or the transcription's empty optional
    }
    outcome.lines = std::move(lines);
    outcome.calls = std::move(log.calls);
    return outcome;
}

}  // namespace quillex::testing
