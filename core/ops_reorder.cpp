// Reverse and shuffle, and the rebuild from a given order.

#include <random>
#include <stdexcept>
#include <vector>

#include "core/line_ordering.h"
#include "core/line_reorder.h"

namespace quillex {

void ApplyLineOrder(DocumentLines& lines, const std::vector<std::uint32_t>& order,
                    const Progress& progress) {
    if (order.size() != lines.Count()) {
        throw std::invalid_argument("an order must name every line");
    }
    RebuildInOrder(
        lines, [&](std::size_t k) { return order[k]; }, progress, 0, lines.Count());
}

void ReverseLines(DocumentLines& lines, const Progress& progress) {
    const std::size_t n = lines.Count();
    RebuildInOrder(
        lines, [&](std::size_t k) { return n - 1 - k; }, progress, 0, n);
    if (n != 0) {
        progress(n);
    }
}

namespace {

// xoshiro256** seeded through splitmix64: the same numbers from a seed everywhere, which the
// standard library's engines give but its distributions do not.
class Random {
  public:
    explicit Random(std::uint64_t seed) {
        for (std::uint64_t& word : state_) {
            seed += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = seed;
            z = (z ^ z >> 30) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ z >> 27) * 0x94D049BB133111EBULL;
            word = z ^ z >> 31;
        }
    }

    std::uint64_t Next() noexcept {
        const std::uint64_t result = Rotate(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotate(state_[3], 45);
        return result;
    }

    // Uniform in 0..bound-1 (bound > 0): draws that would favour the low values are drawn
    // again.
    std::uint64_t Below(std::uint64_t bound) noexcept {
        const std::uint64_t threshold = (0 - bound) % bound;  // 2^64 mod bound
        for (;;) {
            const std::uint64_t x = Next();
            if (x >= threshold) {
                return x % bound;
            }
        }
    }

  private:
    static std::uint64_t Rotate(std::uint64_t x, int k) noexcept { return x << k | x >> (64 - k); }

    std::uint64_t state_[4];
};

// The watcher hears of the shuffle as the first n units of `total`.
std::vector<std::uint32_t> Shuffled(std::size_t n, std::optional<std::uint64_t> seed,
                                    const Progress& progress, std::uint64_t total) {
    if (!seed) {
        std::random_device device;
        seed = std::uint64_t{device()} << 32 ^ device();
    }
    std::vector<std::uint32_t> order(n);
    for (std::size_t k = 0; k < n; ++k) {
        order[k] = static_cast<std::uint32_t>(k);
    }
    Random random(*seed);
    for (std::size_t k = n - 1; k > 0; --k) {  // Fisher-Yates
        std::swap(order[k], order[random.Below(k + 1)]);
        progress.Step(n - k, total);
    }
    return order;
}

}  // namespace

std::vector<std::uint32_t> ShuffledLineOrder(const DocumentLines& lines,
                                             std::optional<std::uint64_t> seed,
                                             const Progress& progress) {
    CheckLineCount(lines);
    const std::size_t n = lines.Count();
    return n == 0 ? std::vector<std::uint32_t>() : Shuffled(n, seed, progress, n);
}

void ShuffleLines(DocumentLines& lines, std::optional<std::uint64_t> seed,
                  const Progress& progress) {
    CheckLineCount(lines);
    const std::size_t n = lines.Count();
    if (n == 0) {
        return;
    }
    const std::uint64_t total = 2 * std::uint64_t{n};
    const std::vector<std::uint32_t> order = Shuffled(n, seed, progress, total);
    RebuildInOrder(
        lines, [&](std::size_t k) { return order[k]; }, progress, n, total);
    progress(n);
}

}  // namespace quillex
