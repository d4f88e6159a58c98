#include "core/case_fold.h"

#include <algorithm>
#include <array>
#include <cstring>

// Header only: nothing to link, the same for the Windows build.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace quillex {

namespace {

constexpr std::array<unsigned char, 256> kFold = {
#include "core/case_fold_table.inc"
};

}  // namespace

unsigned char FoldCase(unsigned char byte) noexcept {
    return kFold[byte];
}

bool FoldedEqual(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] &&
            kFold[static_cast<unsigned char>(a[i])] != kFold[static_cast<unsigned char>(b[i])]) {
            return false;
        }
    }
    return true;
}

std::uint64_t FoldedHash(std::string_view line, std::uint64_t seed) noexcept {
    // Folded a block at a time on the stack: no allocation for any line.
    constexpr std::size_t kBlock = 256;
    unsigned char folded[kBlock];
    auto fold = [&](std::size_t from, std::size_t count) {
        for (std::size_t k = 0; k < count; ++k) {
            folded[k] = kFold[static_cast<unsigned char>(line[from + k])];
        }
    };
    if (line.size() <= kBlock) {
        fold(0, line.size());
        return XXH3_64bits_withSeed(folded, line.size(), seed);
    }
    XXH3_state_t state{};  // the reset reads the old seed, so it must not be garbage
    XXH3_64bits_reset_withSeed(&state, seed);
    for (std::size_t at = 0; at < line.size(); at += kBlock) {
        const std::size_t count = std::min(kBlock, line.size() - at);
        fold(at, count);
        XXH3_64bits_update(&state, folded, count);
    }
    return XXH3_64bits_digest(&state);
}

}  // namespace quillex
