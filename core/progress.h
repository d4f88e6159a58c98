#pragma once

// How long work tells where it stands. A line function reports the progress numbers it
// defines (its own count, which the window shows as "lines processed"); beside them, long work
// tells a watcher, where one is attached, how much of it is done, and the watcher may stop it
// there.

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace quillex {

// The watcher stopped the work. What the work was changing is then in no state to keep: the
// one who stops work throws away what it worked on (the window runs a function on a copy of
// the document; a save stopped this way leaves the target as it was).
class WorkCancelled : public std::runtime_error {
  public:
    WorkCancelled() : std::runtime_error("the work was cancelled") {}
};

// Watches long work: hears how much of it is done and says whether it is to go on.
class WorkMeter {
  public:
    virtual ~WorkMeter() = default;
    // `done` of `total` units (lines or bytes; `total` 0 when unknown); false stops the work.
    virtual bool Reached(std::uint64_t done, std::uint64_t total) = 0;

    // For work that changes only what it holds itself: stops it at its end too.
    void StopIfAsked() {
        if (!Reached(0, 0)) {
            throw WorkCancelled();
        }
    }
};

// A part of larger work, told to the whole's watcher: the part's `done` of `total` becomes the
// same share of the span [from, from + span) of the whole's `wholeTotal` units. A report that
// gives no total is of `length` units where that is known; else the watcher hears of the
// part's start, or, where the whole's total is unknown too, of `done` units after it. The
// watcher's answer is the part's.
class PartMeter final : public WorkMeter {
  public:
    PartMeter(WorkMeter* whole, std::uint64_t wholeTotal, std::uint64_t from, std::uint64_t span,
              std::uint64_t length = 0) noexcept
        : whole_(whole), wholeTotal_(wholeTotal), from_(from), span_(span), length_(length) {}

    bool Reached(std::uint64_t done, std::uint64_t total) override {
        if (whole_ == nullptr) {
            return true;
        }
        const std::uint64_t of = total != 0 ? total : length_;
        if (of == 0) {
            return whole_->Reached(wholeTotal_ != 0 ? from_ : from_ + done, wholeTotal_);
        }
        // In floating point, as span * done may pass 64 bits; the end exactly.
        const std::uint64_t part =
            done >= of
                ? span_
                : std::min(span_,
                           static_cast<std::uint64_t>(static_cast<long double>(span_) * done / of));
        return whole_->Reached(from_ + part, wholeTotal_);
    }

  private:
    WorkMeter* whole_;
    std::uint64_t wholeTotal_;
    std::uint64_t from_;
    std::uint64_t span_;
    std::uint64_t length_;
};

class Progress {
  public:
    using Numbers = std::function<void(std::size_t)>;

    Progress() = default;
    // Progress numbers only, with no watcher.
    template <class F>
    requires(!std::same_as<std::remove_cvref_t<F>, Progress> && std::invocable<F&, std::size_t>)
        Progress(F numbers)
        : numbers_(std::move(numbers)) {}  // NOLINT: a callable stands for it
    Progress(Numbers numbers, WorkMeter* meter) : numbers_(std::move(numbers)), meter_(meter) {}

    // A progress number of the function's own.
    void operator()(std::size_t n) const {
        if (numbers_) {
            numbers_(n);
        }
    }

    // Unit `done` of `total` is done. Cheap enough for every line: the watcher hears of every
    // few thousandth and of the last. Throws WorkCancelled when the watcher says stop.
    void Step(std::uint64_t done, std::uint64_t total) const {
        if (meter_ != nullptr && (done % kStride == 0 || done == total)) {
            Reach(done, total);
        }
    }
    // The same for work that moves in large units (megabytes): the watcher hears of each.
    void Reach(std::uint64_t done, std::uint64_t total) const {
        if (meter_ != nullptr && !meter_->Reached(done, total)) {
            throw WorkCancelled();
        }
    }

  private:
    static constexpr std::uint64_t kStride = 4096;

    Numbers numbers_;
    WorkMeter* meter_ = nullptr;
};

}  // namespace quillex
