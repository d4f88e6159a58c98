#include "core/case_fold.h"

#include <array>
#include <cstring>

namespace quillex {

namespace {

constexpr std::array<unsigned char, 256> kFold = {
#include "core/case_fold_table.inc"
};

std::uint64_t Mix(std::uint64_t h, std::uint64_t word) noexcept {
    h ^= word;
    h *= 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 32);
}

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

std::uint64_t FoldedHash(std::string_view line) noexcept {
    // Eight folded bytes at a time go into the mix: much cheaper than a step per byte.
    std::uint64_t h = line.size() * 0xC2B2AE3D27D4EB4Full;
    std::size_t i = 0;
    for (; i + 8 <= line.size(); i += 8) {
        std::uint64_t word = 0;
        for (std::size_t k = 0; k < 8; ++k) {
            word |= std::uint64_t{kFold[static_cast<unsigned char>(line[i + k])]} << (8 * k);
        }
        h = Mix(h, word);
    }
    std::uint64_t tail = 0;
    for (std::size_t k = 0; i + k < line.size(); ++k) {
        tail |= std::uint64_t{kFold[static_cast<unsigned char>(line[i + k])]} << (8 * k);
    }
    return Mix(h, tail);
}

}  // namespace quillex
