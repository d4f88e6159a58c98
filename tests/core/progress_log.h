#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/line_operations.h"

namespace quillex::testing {

// Thrown by a ProgressLog told to fail: stands for any failure in the middle of a run.
class StopRun : public std::runtime_error {
  public:
    StopRun() : std::runtime_error("stopped") {}
};

// Records every progress number a run reports; optionally throws StopRun at one call
// (0-based), after recording it.
class ProgressLog {
  public:
    explicit ProgressLog(std::optional<std::size_t> throw_at = std::nullopt)
        : throw_at_(throw_at) {}

    Progress Callback() {
        return [this](std::size_t n) {
            calls.push_back(n);
            if (throw_at_ && calls.size() == *throw_at_ + 1) {
                throw StopRun();
            }
        };
    }

    std::vector<std::size_t> calls;

  private:
    std::optional<std::size_t> throw_at_;
};

}  // namespace quillex::testing
