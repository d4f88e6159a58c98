#include "core/block_pipeline.h"

#include <algorithm>
#include <atomic>

#if defined(__linux__)
#include <sched.h>
#endif

namespace quillex {

unsigned AvailableCores() noexcept {
#if defined(__linux__)
    // A process pinned to fewer cores (taskset, a container) gains nothing from more threads.
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        return static_cast<unsigned>(std::max(1, CPU_COUNT(&set)));
    }
#endif
    return std::max(1u, std::thread::hardware_concurrency());
}

namespace {
std::atomic<unsigned> chosenThreads{0};
}  // namespace

std::size_t BlockBytesWithin(std::uint64_t memory, unsigned threads) noexcept {
    const std::uint64_t share = memory / (8 * std::uint64_t{std::max(threads, 1u)});
    return static_cast<std::size_t>(
        std::clamp<std::uint64_t>(share, std::uint64_t{64} << 10, std::uint64_t{2} << 20));
}

unsigned WorkThreads() noexcept {
    const unsigned chosen = chosenThreads.load(std::memory_order_relaxed);
    return chosen != 0 ? chosen : AvailableCores();
}

void SetWorkThreads(unsigned threads) noexcept {
    chosenThreads.store(threads, std::memory_order_relaxed);
}

}  // namespace quillex
