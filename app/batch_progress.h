#pragma once

// The progress line of a long run on standard error: the share of the input done, the speed
// and the time left ("  42%  310 MB/s  0:07 left"), drawn over itself.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "app/batch_options.h"
#include "core/progress.h"

namespace quillex::batch {

class ProgressLine final : public WorkMeter {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    using Sink = std::function<void(std::string_view)>;

    // Draws nothing unless `shown`; `clock` tells the time, from the run's start, and `sink`
    // takes the characters drawn.
    ProgressLine(bool shown, Clock clock, Sink sink);
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    // Clears the line, so that an error printed after the run starts on a line of its own.
    ~ProgressLine() override;

    // `done` of `total` bytes of input (total 0: unknown). The line shows once the run has gone
    // on for a second, and is drawn again at most ten times a second. The input's end,
    // `done` == `total`, clears it. Never stops the run.
    bool Reached(std::uint64_t done, std::uint64_t total) override;
    // Takes the line away for a message; the next report draws it again.
    void Clear();
    // The reports that follow are of one input among several: its bytes come after `from` of
    // the `whole` of all of them.
    void Within(std::uint64_t from, std::uint64_t whole) noexcept {
        from_ = from;
        whole_ = whole;
    }

  private:
    bool shown_;
    Clock clock_;
    Sink sink_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point drawnAt_;
    bool drawnOnce_ = false;
    std::size_t width_ = 0;  // of the line on the screen; 0: none is
    std::uint64_t from_ = 0;
    std::uint64_t whole_ = 0;
};

// How far a run over one input loaded whole is, on the progress line in bytes of the input:
// the load is the first half of the run, the function (a recipe's steps each alike) the third
// quarter and the save the last.
class RunShares {
  public:
    // `size` 0 for standard input, whose size is known once it is loaded.
    RunShares(ProgressLine* line, std::uint64_t size) noexcept : line_(line), size_(size) {}
    void Loaded(std::uint64_t size) noexcept { size_ = size_ != 0 ? size_ : size; }

    PartMeter Load() const noexcept { return {line_, size_, 0, size_ / 2}; }
    PartMeter Step(std::size_t k, std::size_t steps) const noexcept {
        return {line_, size_, StepStart(k, steps), StepStart(k + 1, steps) - StepStart(k, steps)};
    }
    PartMeter Save() const noexcept {
        return {line_, size_, StepStart(1, 1), size_ - StepStart(1, 1)};
    }
    // Before a message: the line goes.
    void Clear() const;

  private:
    std::uint64_t StepStart(std::size_t k, std::size_t steps) const noexcept {
        return size_ / 2 + size_ / 4 * k / steps;
    }

    ProgressLine* line_;
    std::uint64_t size_;
};

// The input's size; 0 for standard input (none) and where the system cannot tell it (the run
// that reads it says why).
std::uint64_t InputSize(const std::optional<std::filesystem::path>& input) noexcept;

// Whether the line shows: never with --quiet, always with --progress, else where standard
// error is a terminal.
bool ShowsProgress(const Options& options, bool terminal) noexcept;

// The line the options ask for, on standard error, timed by the steady clock.
ProgressLine StandardErrorLine(const Options& options);

}  // namespace quillex::batch
