#pragma once

// How the sort orders beyond bytes see a line: as a stream of values compared one after the
// other, and that stream coded as bytes, which the sort takes eight at a time as 64-bit
// keys, so that most comparisons of a sort take one integer comparison. Core-internal.
//
// A character's value is its rank: its code point with Ё and ё moved right after Е and е
// (every code point above them moves up to make room), a byte that begins no valid UTF-8
// sequence after every code point, by its value. In Windows-1251 it is the rank of the code
// point the byte stands for, numbered 0..255. Natural order turns a run of ASCII digits into
// the rank of "0", the count of its digits after leading zeros, and those digits, so that
// runs compare by value and as a whole like their first digit against other characters.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/encoding.h"

namespace quillex::collation {

constexpr std::uint32_t kLowE = 0x0435;      // е
constexpr std::uint32_t kCapitalE = 0x0415;  // Е

constexpr std::uint32_t CodePointRank(char32_t c) noexcept {
    if (c == 0x0401) {  // Ё
        return kCapitalE + 1;
    }
    if (c == 0x0451) {  // ё
        return kLowE + 2;
    }
    return c + (c > kCapitalE ? 1 : 0) + (c > kLowE ? 1 : 0);
}
constexpr std::uint32_t InvalidByteRank(unsigned char b) noexcept {
    return CodePointRank(0x10FFFF) + 1 + b;
}

// The rank of every Windows-1251 byte, as it is and after folding.
struct Cp1251Ranks {
    std::array<std::uint16_t, 256> plain;
    std::array<std::uint16_t, 256> folded;
};
const Cp1251Ranks& Cp1251RankTable();

// Each reads the character at `at`, moves `at` past it and writes its ranks to `out` (three
// at most: a folding may make one character several), returning how many.
struct Cp1251Chars {
    const std::uint16_t* rank;
    std::size_t Read(std::string_view line, std::size_t& at, std::uint32_t* out) const noexcept {
        out[0] = rank[static_cast<unsigned char>(line[at++])];
        return 1;
    }
    std::uint32_t Zero() const noexcept { return rank['0']; }
    // Whether, in two lines alike up to some place, a character starts there in both, given
    // the byte before it: always, a byte being a character.
    static bool Boundary(unsigned char) noexcept { return true; }
};

// The ranks of what a code point folds to.
std::size_t FoldInto(char32_t code, std::uint32_t* out) noexcept;

template <bool kFold>
struct Utf8Chars {
    std::size_t Read(std::string_view line, std::size_t& at, std::uint32_t* out) const noexcept {
        const auto* p = reinterpret_cast<const unsigned char*>(line.data());
        const unsigned char b = p[at];
        if (b < 0x80) {
            ++at;
            out[0] = kFold && b >= 'A' && b <= 'Z' ? b + 0x20u : b;
            return 1;
        }
        const std::size_t length = Utf8SequenceLength(p + at, p + line.size());
        if (length == 0) {
            ++at;
            out[0] = InvalidByteRank(b);
            return 1;
        }
        char32_t code = length == 2 ? b & 0x1Fu : length == 3 ? b & 0x0Fu : b & 0x07u;
        for (std::size_t k = 1; k < length; ++k) {
            code = code << 6 | (p[at + k] & 0x3Fu);
        }
        at += length;
        if constexpr (kFold) {
            return FoldInto(code, out);
        }
        out[0] = CodePointRank(code);
        return 1;
    }
    std::uint32_t Zero() const noexcept { return '0'; }
    // An ASCII byte is a character of its own in both lines, so the bytes before it split
    // into the same characters.
    static bool Boundary(unsigned char before) noexcept { return before < 0x80; }
};

inline bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// The values of a line from byte `at` on (a place where a character starts and no digit run
// goes on): each rank plus one, then 0 at the end and after it.
template <class Chars, bool kNatural>
class Units {
  public:
    Units(const Chars& chars, std::string_view line, std::size_t at) noexcept
        : chars_(chars), line_(line), at_(at) {}

    std::uint64_t Next() noexcept {
        if (pos_ < count_) {
            return std::uint64_t{pending_[pos_++]} + 1;
        }
        if constexpr (kNatural) {
            if (runLength_) {
                runLength_ = false;
                return std::uint64_t{runEnd_ - at_} + 1;
            }
            if (at_ < runEnd_) {
                return std::uint64_t{chars_.Zero()} + (line_[at_++] - '0') + 1;
            }
        }
        if (at_ == line_.size()) {
            return 0;
        }
        if constexpr (kNatural) {
            if (IsDigit(line_[at_])) {
                runEnd_ = at_;
                while (runEnd_ < line_.size() && IsDigit(line_[runEnd_])) {
                    ++runEnd_;
                }
                while (at_ < runEnd_ && line_[at_] == '0') {
                    ++at_;
                }
                runLength_ = true;
                return std::uint64_t{chars_.Zero()} + 1;
            }
        }
        count_ = chars_.Read(line_, at_, pending_.data());
        pos_ = 1;
        return std::uint64_t{pending_[0]} + 1;
    }

  private:
    const Chars& chars_;
    std::string_view line_;
    std::size_t at_;
    std::array<std::uint32_t, 3> pending_{};
    std::size_t count_ = 0;
    std::size_t pos_ = 0;
    std::size_t runEnd_ = 0;  // natural order: the end of the digit run being read
    bool runLength_ = false;  // its length is the next value
};

// -1, 0 or 1 as a is before, alike with or after b.
template <class Chars, bool kNatural>
int Compare(const Chars& chars, std::string_view a, std::string_view b) noexcept {
    // The bytes both lines share give the same values; start at the last place before the
    // first difference where both are at the start of a character outside a digit run.
    std::size_t at = 0;
    const std::size_t common = std::min(a.size(), b.size());
    while (at < common && a[at] == b[at]) {
        ++at;
    }
    while (at > 0) {
        const char before = a[at - 1];
        if (Chars::Boundary(static_cast<unsigned char>(before)) && !(kNatural && IsDigit(before))) {
            break;
        }
        --at;
    }
    Units<Chars, kNatural> x(chars, a, at);
    Units<Chars, kNatural> y(chars, b, at);
    for (;;) {
        const std::uint64_t u = x.Next();
        const std::uint64_t v = y.Next();
        if (u != v) {
            return u < v ? -1 : 1;
        }
        if (u == 0) {
            return 0;
        }
    }
}

// A line's values as bytes, in an order-preserving code without prefixes: one byte up to
// 0x7F, the two- to four-byte forms of UTF-8 up to 0x1FFFFF, then 0xF8 and eight bytes (only a
// natural order's run of over two million digits). Two lines' codes compare byte by byte,
// the shorter first where one begins the other, as their values do.
//
// The window at `depth` is the bytes of the code from there on packed into 64 bits, zero past
// the end; `rest` says how many of them the line fills, 9 where it goes on past them. Lines
// of equal windows and a rest below 9 are alike; ordered by window and rest, the lines are
// ordered as by their values, up to the lines alike in the window that go on.
template <class Chars, bool kNatural>
std::uint64_t Window(const Chars& chars, std::string_view line, std::size_t depth,
                     std::uint32_t& rest) noexcept {
    Units<Chars, kNatural> units(chars, line, 0);
    unsigned char window[9] = {};
    std::size_t n = 0;
    std::size_t at = 0;  // bytes of the code so far
    while (n < 9) {
        const std::uint64_t u = units.Next();
        if (u == 0) {
            break;
        }
        unsigned char code[9];
        std::size_t length = 0;
        if (u - 1 <= 0x1FFFFF) {
            length = PutUtf8(static_cast<char32_t>(u - 1), code);
        } else {
            code[0] = 0xF8;
            for (std::size_t k = 0; k < 8; ++k) {
                code[1 + k] = static_cast<unsigned char>((u - 1) >> (56 - 8 * k));
            }
            length = 9;
        }
        for (std::size_t k = 0; k < length && n < 9; ++k, ++at) {
            if (at >= depth) {
                window[n++] = code[k];
            }
        }
    }
    rest = static_cast<std::uint32_t>(n);
    std::uint64_t key = 0;
    for (std::size_t k = 0; k < 8; ++k) {
        key = key << 8 | window[k];
    }
    return key;
}

}  // namespace quillex::collation
