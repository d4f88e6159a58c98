// Sorting lines: an item per line holds its 64-bit key and its number; items are sorted by
// key, lines of equal keys by the full comparison of their order and then by their number,
// which makes the sort stable; the document is then rebuilt once in the new order.

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <vector>

#include "core/encoded_text.h"
#include "core/line_ordering.h"
#include "core/line_reorder.h"
#include "core/sort_collation.h"

namespace quillex {

namespace {

using collation::Cp1251Chars;
using collation::Utf8Chars;

struct Item {
    std::uint64_t key;
    std::uint32_t line;
};

// The watcher hears of three passes over the lines: keys, sort, rebuild.
constexpr std::uint64_t kPasses = 3;

// `keyOf(line, key)` sets the key and says whether the line takes part (the number order
// leaves out lines without a number, which follow the others in their order); `tie(a, b)`
// compares lines of equal keys (-1, 0, 1).
template <class KeyOf, class Tie>
std::vector<std::uint32_t> OrderBy(const DocumentLines& document, bool descending,
                                   const Progress& progress, KeyOf keyOf, Tie tie) {
    CheckLineCount(document);
    DocumentEditor e(const_cast<DocumentLines&>(document));  // only reads
    const std::size_t n = e.Count();
    const std::uint64_t total = kPasses * n;
    std::vector<Item> items;
    items.reserve(n);
    std::vector<std::uint32_t> lacking;
    for (std::size_t i = 0; i < n; ++i) {
        std::uint64_t key = 0;
        if (keyOf(e.Line(i), key)) {
            items.push_back({key, static_cast<std::uint32_t>(i)});
        } else {
            lacking.push_back(static_cast<std::uint32_t>(i));
        }
        progress.Step(i + 1, total);
    }
    // About n log n comparisons; the watcher hears of every millionth.
    const std::uint64_t expected = std::uint64_t{n} * std::bit_width(n) + 1;
    std::uint64_t compared = 0;
    auto before = [&](const Item& a, const Item& b) {
        if ((++compared & 0xFFFFF) == 0) {
            progress.Reach(n + std::min<std::uint64_t>(n, compared * n / expected), total);
        }
        if (a.key != b.key) {
            return (a.key < b.key) != descending;
        }
        if (a.line == b.line) {
            return false;
        }
        const int t = tie(e.Line(a.line), e.Line(b.line));
        if (t != 0) {
            return (t < 0) != descending;
        }
        return a.line < b.line;
    };
    std::sort(items.begin(), items.end(), before);
    progress.Reach(2 * std::uint64_t{n}, total);
    std::vector<std::uint32_t> order;
    order.reserve(n);
    for (const Item& item : items) {
        order.push_back(item.line);
    }
    order.insert(order.end(), lacking.begin(), lacking.end());
    return order;
}

std::uint64_t BytesKey(std::string_view line) noexcept {
    unsigned char bytes[8] = {};
    std::memcpy(bytes, line.data(), std::min<std::size_t>(8, line.size()));
    std::uint64_t key = 0;
    for (unsigned char b : bytes) {
        key = key << 8 | b;
    }
    return key;
}

int CompareBytes(std::string_view a, std::string_view b) noexcept {
    const int c = a.compare(b);  // char_traits<char> compares unsigned, as memcmp does
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// The number at the start of a line: its digits after leading zeros and its decimal digits
// without trailing zeros, so that equal values are equal here.
struct Number {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
};

bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

std::optional<Number> ParseNumber(std::string_view line) noexcept {
    std::size_t at = 0;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
        ++at;
    }
    Number number;
    if (at < line.size() && (line[at] == '+' || line[at] == '-')) {
        number.negative = line[at] == '-';
        ++at;
    }
    const std::size_t start = at;
    while (at < line.size() && IsDigit(line[at])) {
        ++at;
    }
    if (at == start) {
        return std::nullopt;
    }
    std::size_t first = start;
    while (first < at && line[first] == '0') {
        ++first;
    }
    number.whole = line.substr(first, at - first);
    if (at < line.size() && line[at] == '.') {
        const std::size_t from = ++at;
        while (at < line.size() && IsDigit(line[at])) {
            ++at;
        }
        while (at > from && line[at - 1] == '0') {
            --at;
        }
        number.fraction = line.substr(from, at - from);
    }
    if (number.whole.empty() && number.fraction.empty()) {
        number.negative = false;  // -0 is 0
    }
    return number;
}

int CompareNumbers(const Number& a, const Number& b) noexcept {
    if (a.negative != b.negative) {
        return a.negative ? -1 : 1;
    }
    int c = 0;
    if (a.whole.size() != b.whole.size()) {
        c = a.whole.size() < b.whole.size() ? -1 : 1;
    } else {
        c = CompareBytes(a.whole, b.whole);
        if (c == 0) {
            c = CompareBytes(a.fraction, b.fraction);
        }
    }
    return a.negative ? -c : c;
}

// The sign in the top bit, then (complemented for a negative number) the count of whole
// digits in 14 bits and the first twelve digits, whole then decimal, four bits each. A count
// too large for its bits takes no digits, so keys never order lines against their numbers.
std::uint64_t NumberKey(const Number& number) noexcept {
    constexpr std::size_t kMaxCount = 0x3FFF;
    std::uint64_t payload = 0;
    if (number.whole.size() >= kMaxCount) {
        payload = std::uint64_t{kMaxCount} << 48;
    } else {
        payload = std::uint64_t{number.whole.size()} << 48;
        std::size_t k = 0;
        for (std::string_view part : {number.whole, number.fraction}) {
            for (std::size_t at = 0; at < part.size() && k < 12; ++at, ++k) {
                payload |= std::uint64_t(part[at] - '0') << (44 - 4 * k);
            }
        }
    }
    constexpr std::uint64_t kPayloadBits = (std::uint64_t{1} << 62) - 1;
    return number.negative ? kPayloadBits - payload : std::uint64_t{1} << 63 | payload;
}

template <class Chars, bool kNatural>
std::vector<std::uint32_t> OrderByUnits(const DocumentLines& lines, bool descending,
                                        const Progress& progress, const Chars& chars) {
    return OrderBy(
        lines, descending, progress,
        [&](std::string_view line, std::uint64_t& key) {
            key = collation::Key<Chars, kNatural>(chars, line);
            return true;
        },
        [&](std::string_view a, std::string_view b) {
            return collation::Compare<Chars, kNatural>(chars, a, b);
        });
}

template <bool kNatural>
std::vector<std::uint32_t> OrderByCharacters(const DocumentLines& lines, bool descending,
                                             const Progress& progress) {
    if (lines.GetEncoding() == Encoding::Utf8) {
        return OrderByUnits<Utf8Chars<!kNatural>, kNatural>(lines, descending, progress, {});
    }
    const collation::Cp1251Ranks& ranks = collation::Cp1251RankTable();
    const Cp1251Chars chars{kNatural ? ranks.plain.data() : ranks.folded.data()};
    return OrderByUnits<Cp1251Chars, kNatural>(lines, descending, progress, chars);
}

}  // namespace

std::vector<std::uint32_t> SortedLineOrder(const DocumentLines& lines, SortOrder order,
                                           bool descending, const Progress& progress) {
    auto noTie = [](std::string_view, std::string_view) { return 0; };
    switch (order) {
        case SortOrder::Bytes:
            return OrderBy(
                lines, descending, progress,
                [](std::string_view line, std::uint64_t& key) {
                    key = BytesKey(line);
                    return true;
                },
                CompareBytes);
        case SortOrder::IgnoreCase:
            return OrderByCharacters<false>(lines, descending, progress);
        case SortOrder::Natural:
            return OrderByCharacters<true>(lines, descending, progress);
        case SortOrder::Number:
            return OrderBy(
                lines, descending, progress,
                [](std::string_view line, std::uint64_t& key) {
                    const std::optional<Number> number = ParseNumber(line);
                    key = number ? NumberKey(*number) : 0;
                    return number.has_value();
                },
                [](std::string_view a, std::string_view b) {
                    return CompareNumbers(*ParseNumber(a), *ParseNumber(b));
                });
        case SortOrder::Length:
            return WithEncoding(lines.GetEncoding(), [&](auto text) {
                return OrderBy(
                    lines, descending, progress,
                    [](std::string_view line, std::uint64_t& key) {
                        key = decltype(text)::CountUpTo(line, line.size());
                        return true;
                    },
                    noTie);
            });
    }
    throw std::invalid_argument("unknown sort order");
}

void SortLines(DocumentLines& lines, SortOrder order, bool descending, const Progress& progress) {
    const std::size_t n = lines.Count();
    if (n == 0) {
        return;
    }
    const std::vector<std::uint32_t> sorted = SortedLineOrder(lines, order, descending, progress);
    RebuildInOrder(
        lines, [&](std::size_t k) { return sorted[k]; }, progress, 2 * std::uint64_t{n},
        kPasses * n);
    progress(n);
}

}  // namespace quillex
