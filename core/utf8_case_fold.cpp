#include "core/utf8_case_fold.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <optional>

#include "core/encoding.h"

// Header only: nothing to link, the same for the Windows build.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace quillex {

namespace {

#include "core/utf8_case_fold_table.inc"

constexpr std::uint32_t kMany = 0x80000000;
// Folded bytes are produced a block at a time on the stack; one character folds to at most
// three code points, each of at most four bytes.
constexpr std::size_t kBlock = 256;
constexpr std::size_t kSlack = 12;

constexpr std::uint32_t FoldEntry(char32_t code) noexcept {
    const std::size_t block = code / kUtf8FoldBlock;
    if (block >= std::size(kUtf8FoldStage1)) {
        return 0;
    }
    return kUtf8FoldStage2[kUtf8FoldStage1[block] * kUtf8FoldBlock + code % kUtf8FoldBlock];
}

// The folding of every code point of two UTF-8 bytes (U+0080 to U+07FF) that folds to one
// code point below U+0800, itself where it does not fold, 0 where it takes the general step:
// the letters of most alphabets beyond ASCII then fold with one look-up.
struct TwoByteFold {
    std::array<std::uint16_t, 0x800> to{};
    constexpr TwoByteFold() {
        for (char32_t code = 0x80; code < 0x800; ++code) {
            const std::uint32_t entry = FoldEntry(code);
            to[code] = static_cast<std::uint16_t>(entry == 0 ? code : entry < 0x800 ? entry : 0);
        }
    }
};
constexpr TwoByteFold kTwoByte;

// Eight ASCII bytes at once: 0x20 is added to every byte in 'A'..'Z'.
std::uint64_t LowerAscii8(std::uint64_t w) noexcept {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    const std::uint64_t aboveZ = w + kOnes * (0x7F - 'Z');
    const std::uint64_t atLeastA = w + kOnes * (0x80 - 'A');
    const std::uint64_t upper = atLeastA & ~aboveZ & (kOnes * 0x80);
    return w | upper >> 2;
}

// Folds `line` from `at` on into `out` until about kBlock bytes are out or the line ends;
// returns how many bytes it wrote and moves `at` past what it folded.
std::size_t FoldSome(std::string_view line, std::size_t& at, unsigned char* out) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    std::size_t n = 0;
    while (at < line.size() && n < kBlock) {
        const unsigned char b = p[at];
        if (b < 0x80) {
            std::uint64_t word = 0;
            if (line.size() - at >= 8) {
                std::memcpy(&word, p + at, 8);
                if ((word & 0x8080808080808080ULL) == 0) {
                    word = LowerAscii8(word);
                    std::memcpy(out + n, &word, 8);
                    n += 8;
                    at += 8;
                    continue;
                }
            }
            out[n++] = b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + 0x20) : b;
            ++at;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF && at + 1 < line.size() && (p[at + 1] & 0xC0) == 0x80) {
            const std::uint16_t folded = kTwoByte.to[(b & 0x1F) << 6 | (p[at + 1] & 0x3F)];
            if (folded >= 0x80) {
                out[n] = static_cast<unsigned char>(0xC0 | folded >> 6);
                out[n + 1] = static_cast<unsigned char>(0x80 | (folded & 0x3F));
                n += 2;
                at += 2;
                continue;
            }
            if (folded != 0) {
                out[n++] = static_cast<unsigned char>(folded);  // "ſ" folds to "s"
                at += 2;
                continue;
            }
        }
        const std::optional<char32_t> code = DecodeUtf8At(line, at);
        const std::uint32_t entry = code ? FoldEntry(*code) : 0;
        if (entry == 0) {
            const std::size_t length = code ? Utf8CharLength(line, at) : 1;
            std::memcpy(out + n, p + at, length);
            n += length;
            at += length;
            continue;
        }
        at += Utf8CharLength(line, at);
        if ((entry & kMany) == 0) {
            n += PutUtf8(entry, out + n);
        } else {
            const std::uint32_t* many = kUtf8FoldMany + (entry & ~kMany);
            for (std::uint32_t k = 1; k <= many[0]; ++k) {
                n += PutUtf8(many[k], out + n);
            }
        }
    }
    return n;
}

// The folded bytes of a line, a block at a time.
class FoldedBytes {
  public:
    explicit FoldedBytes(std::string_view line) noexcept : line_(line) {}

    // The bytes not yet taken, refilled when all were; empty at the end of the line.
    std::size_t Available() noexcept {
        if (pos_ == size_) {
            size_ = FoldSome(line_, at_, block_);
            pos_ = 0;
        }
        return size_ - pos_;
    }
    const unsigned char* Next() const noexcept { return block_ + pos_; }
    void Take(std::size_t n) noexcept { pos_ += n; }

  private:
    std::string_view line_;
    std::size_t at_ = 0;
    unsigned char block_[kBlock + kSlack];
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
};

}  // namespace

bool Utf8FoldedEqual(std::string_view a, std::string_view b) noexcept {
    if (a == b) {
        return true;
    }
    FoldedBytes x(a);
    FoldedBytes y(b);
    for (;;) {
        const std::size_t nx = x.Available();
        const std::size_t ny = y.Available();
        if (nx == 0 || ny == 0) {
            return nx == ny;
        }
        const std::size_t n = std::min(nx, ny);
        if (std::memcmp(x.Next(), y.Next(), n) != 0) {
            return false;
        }
        x.Take(n);
        y.Take(n);
    }
}

std::uint64_t Utf8FoldedHash(std::string_view line, std::uint64_t seed) noexcept {
    unsigned char block[kBlock + kSlack];
    std::size_t at = 0;
    std::size_t n = FoldSome(line, at, block);
    if (at == line.size()) {
        return XXH3_64bits_withSeed(block, n, seed);
    }
    XXH3_state_t state{};  // the reset reads the old seed, so it must not be garbage
    XXH3_64bits_reset_withSeed(&state, seed);
    for (;;) {
        XXH3_64bits_update(&state, block, n);
        if (at == line.size()) {
            return XXH3_64bits_digest(&state);
        }
        n = FoldSome(line, at, block);
    }
}

std::size_t Utf8FoldCodePoint(char32_t code, char32_t* out) noexcept {
    const std::uint32_t entry = FoldEntry(code);
    if (entry == 0) {
        out[0] = code;
        return 1;
    }
    if ((entry & kMany) == 0) {
        out[0] = entry;
        return 1;
    }
    const std::uint32_t* many = kUtf8FoldMany + (entry & ~kMany);
    for (std::uint32_t k = 1; k <= many[0]; ++k) {
        out[k - 1] = many[k];
    }
    return many[0];
}

}  // namespace quillex
