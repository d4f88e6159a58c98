// Sorting lines: an item per line holds a 64-bit key and the line's number; items are sorted
// by key, lines of equal keys by what follows in them and at last by their number, which makes
// the sort stable; the document is then rebuilt once in the new order.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "core/encoded_text.h"
#include "core/line_ordering.h"
#include "core/line_reorder.h"
#include "core/sort_collation.h"

namespace quillex {

namespace {

using collation::Cp1251Chars;
using collation::IsDigit;
using collation::Utf8Chars;

struct Item {
    std::uint64_t key;
    std::uint32_t line;
    std::uint32_t rest;  // for the orders taken a window at a time (see collation::Window)
};

// The watcher hears of three passes over the lines: keys, sort, rebuild.
constexpr std::uint64_t kPasses = 3;

// Counts comparisons, about n log n of them, and lets the watcher hear of every millionth.
class SortMeter {
  public:
    SortMeter(const Progress& progress, std::size_t n)
        : progress_(progress), n_(n), expected_(std::uint64_t{n} * std::bit_width(n) + 1) {}
    void Count() {
        if ((++compared_ & 0xFFFFF) == 0) {
            progress_.Reach(n_ + std::min<std::uint64_t>(n_, compared_ * n_ / expected_),
                            kPasses * n_);
        }
    }

  private:
    const Progress& progress_;
    std::uint64_t n_;
    std::uint64_t expected_;
    std::uint64_t compared_ = 0;
};

// Orders lines of equal keys by `tie(a, b)` (-1, 0, 1), then by their numbers.
template <class Tie>
auto ByKeyThenTie(const DocumentEditor& e, bool descending, SortMeter& meter, Tie tie) {
    return [&e, descending, &meter, tie](const Item& a, const Item& b) {
        meter.Count();
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
}

// Sorts by the window at depth 0, then each group of lines alike in it that go on by the next
// window, and so on: each line's bytes are read once a window rather than at every
// comparison. Groups still alike at `fullDepth` are sorted by `tie`, the full comparison.
template <class WindowAt, class Tie>
void SortByWindows(const DocumentEditor& e, std::span<Item> items, bool descending,
                   SortMeter& meter, WindowAt window, std::size_t fullDepth, Tie tie) {
    auto byWindow = [&](const Item& a, const Item& b) {
        meter.Count();
        if (a.key != b.key) {
            return (a.key < b.key) != descending;
        }
        if (a.rest != b.rest) {
            return (a.rest < b.rest) != descending;
        }
        return a.line < b.line;
    };
    struct Group {
        std::size_t first;
        std::size_t last;
        std::size_t depth;
    };
    std::vector<Group> pending{{0, items.size(), 0}};
    while (!pending.empty()) {
        const Group g = pending.back();
        pending.pop_back();
        const auto first = items.begin() + static_cast<std::ptrdiff_t>(g.first);
        const auto last = items.begin() + static_cast<std::ptrdiff_t>(g.last);
        if (g.depth >= fullDepth) {
            std::sort(first, last, ByKeyThenTie(e, descending, meter, tie));
            continue;
        }
        if (g.depth > 0) {
            for (std::size_t k = g.first; k < g.last; ++k) {
                if (k + 2 * kAhead < g.last) {
                    e.IndexAhead(items[k + 2 * kAhead].line);
                }
                if (k + kAhead < g.last) {
                    e.LineAhead(items[k + kAhead].line, g.depth);
                }
                Item& item = items[k];
                item.key = window(e.Line(item.line), g.depth, item.rest);
            }
        }
        std::sort(first, last, byWindow);
        for (std::size_t k = g.first; k < g.last;) {
            std::size_t end = k + 1;
            while (end < g.last && items[end].key == items[k].key &&
                   items[end].rest == items[k].rest) {
                ++end;
            }
            if (end - k > 1 && items[k].rest > 8) {
                pending.push_back({k, end, g.depth + 8});
            }
            k = end;
        }
    }
}

// `keyOf(line, item)` sets the item's key and rest and says whether the line takes part (the
// number order leaves out lines without a number, which follow the others in their order);
// `sort(e, items, meter)` sorts the items.
template <class KeyOf, class Sort>
std::vector<std::uint32_t> OrderBy(const DocumentLines& document, const Progress& progress,
                                   KeyOf keyOf, Sort sort) {
    CheckLineCount(document);
    const DocumentEditor e(const_cast<DocumentLines&>(document));  // only reads
    const std::size_t n = e.Count();
    // The items lie in the storage of the order they give, an item in the room of four line
    // numbers from the front, the lines without a key a number each from the back; the order
    // is written over them once they are sorted, so that the line numbers are never held
    // twice (a batch sort's peak is the document and the items).
    static_assert(sizeof(Item) == 4 * sizeof(std::uint32_t) &&
                  alignof(Item) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
    std::vector<std::uint32_t> order(4 * n);
    std::byte* const storage = reinterpret_cast<std::byte*>(order.data());
    std::size_t taking = 0;
    std::size_t lacking = 0;
    auto lackingAt = [&](std::size_t j) {
        return storage + (4 * n - 1 - j) * sizeof(std::uint32_t);
    };
    for (std::size_t i = 0; i < n; ++i) {
        Item item{0, static_cast<std::uint32_t>(i), 0};
        if (keyOf(e.Line(i), item)) {
            new (storage + taking++ * sizeof(Item)) Item(item);
        } else {
            std::memcpy(lackingAt(lacking++), &item.line, sizeof item.line);
        }
        progress.Step(i + 1, kPasses * n);
    }
    const std::span<Item> items(std::launder(reinterpret_cast<Item*>(storage)), taking);
    SortMeter meter(progress, n);
    sort(e, items, meter);
    progress.Reach(2 * std::uint64_t{n}, kPasses * n);
    // Number k goes to bytes 4k..4k+3, which no item after item k lies in, and no line
    // without a key, which lie beyond 12n bytes.
    for (std::size_t k = 0; k < taking; ++k) {
        const std::uint32_t line = items[k].line;
        std::memcpy(storage + k * sizeof(std::uint32_t), &line, sizeof line);
    }
    for (std::size_t j = 0; j < lacking; ++j) {
        std::memmove(storage + (taking + j) * sizeof(std::uint32_t), lackingAt(j),
                     sizeof(std::uint32_t));
    }
    order.resize(n);
    return order;
}

// Sorted by 64-bit keys taken a window at a time, `tie` past `fullDepth`.
template <class WindowAt, class Tie>
std::vector<std::uint32_t> OrderByWindows(const DocumentLines& lines, bool descending,
                                          const Progress& progress, WindowAt window,
                                          std::size_t fullDepth, Tie tie) {
    return OrderBy(
        lines, progress,
        [&](std::string_view line, Item& item) {
            item.key = window(line, 0, item.rest);
            return true;
        },
        [&](const DocumentEditor& e, std::span<Item> items, SortMeter& meter) {
            SortByWindows(e, items, descending, meter, window, fullDepth, tie);
        });
}

// Sorted by one key a line, `tie` for equal keys.
template <class KeyOf, class Tie>
std::vector<std::uint32_t> OrderByKey(const DocumentLines& lines, bool descending,
                                      const Progress& progress, KeyOf keyOf, Tie tie) {
    return OrderBy(lines, progress, keyOf,
                   [&](const DocumentEditor& e, std::span<Item> items, SortMeter& meter) {
                       std::sort(items.begin(), items.end(),
                                 ByKeyThenTie(e, descending, meter, tie));
                   });
}

// The window at `depth` of a code of one byte a byte: the byte itself, or its rank.
template <class Code>
std::uint64_t ByteWindow(std::string_view line, std::size_t depth, std::uint32_t& rest,
                         Code code) noexcept {
    const std::size_t left = line.size() - depth;
    rest = static_cast<std::uint32_t>(std::min<std::size_t>(left, 9));
    std::uint64_t key = 0;
    for (std::size_t k = 0; k < 8; ++k) {
        key = key << 8 | (k < left ? code(static_cast<unsigned char>(line[depth + k])) : 0u);
    }
    return key;
}

std::uint64_t BytesWindow(std::string_view line, std::size_t depth, std::uint32_t& rest) noexcept {
    return ByteWindow(line, depth, rest, [](unsigned char b) { return b; });
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

// Lines alike in their first windows are compared in full from this depth of their codes on,
// rather than have their first bytes coded again for every window (a window of the orders by
// character is coded from the line's start). Deep enough that the groups left to the full
// comparison are small also where many lines begin alike, as words of one list do.
constexpr std::size_t kUnitsFullDepth = 64;
constexpr std::size_t kBytesFullDepth = 256;

template <class Chars, bool kNatural>
std::vector<std::uint32_t> OrderByUnits(const DocumentLines& lines, bool descending,
                                        const Progress& progress, const Chars& chars) {
    return OrderByWindows(
        lines, descending, progress,
        [&](std::string_view line, std::size_t depth, std::uint32_t& rest) {
            return collation::Window<Chars, kNatural>(chars, line, depth, rest);
        },
        kUnitsFullDepth,
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
    if constexpr (!kNatural) {
        // Without digit runs a Windows-1251 rank (0..255) is its own one-byte code, so a
        // window is read straight from the line's bytes.
        return OrderByWindows(
            lines, descending, progress,
            [&](std::string_view line, std::size_t depth, std::uint32_t& rest) {
                return ByteWindow(line, depth, rest,
                                  [&](unsigned char b) { return chars.rank[b]; });
            },
            kBytesFullDepth,
            [&](std::string_view a, std::string_view b) {
                return collation::Compare<Cp1251Chars, false>(chars, a, b);
            });
    }
    return OrderByUnits<Cp1251Chars, kNatural>(lines, descending, progress, chars);
}

}  // namespace

std::vector<std::uint32_t> SortedLineOrder(const DocumentLines& lines, SortOrder order,
                                           bool descending, const Progress& progress) {
    switch (order) {
        case SortOrder::Bytes:
            return OrderByWindows(lines, descending, progress, BytesWindow, kBytesFullDepth,
                                  CompareBytes);
        case SortOrder::IgnoreCase:
            return OrderByCharacters<false>(lines, descending, progress);
        case SortOrder::Natural:
            return OrderByCharacters<true>(lines, descending, progress);
        case SortOrder::Number:
            return OrderByKey(
                lines, descending, progress,
                [](std::string_view line, Item& item) {
                    const std::optional<Number> number = ParseNumber(line);
                    item.key = number ? NumberKey(*number) : 0;
                    return number.has_value();
                },
                [](std::string_view a, std::string_view b) {
                    return CompareNumbers(*ParseNumber(a), *ParseNumber(b));
                });
        case SortOrder::Length:
            return WithEncoding(lines.GetEncoding(), [&](auto text) {
                return OrderByKey(
                    lines, descending, progress,
                    [](std::string_view line, Item& item) {
                        item.key = decltype(text)::CountUpTo(line, line.size());
                        return true;
                    },
                    [](std::string_view, std::string_view) { return 0; });
            });
    }
    throw std::invalid_argument("unknown sort order");
}

namespace {

// The comparison of OrderByCharacters.
template <bool kNatural>
LineComparison CharacterComparison(bool utf8) {
    if (utf8) {
        return {[](std::string_view a, std::string_view b) {
            return collation::Compare<Utf8Chars<!kNatural>, kNatural>({}, a, b);
        }};
    }
    return {[](std::string_view a, std::string_view b) {
        const collation::Cp1251Ranks& ranks = collation::Cp1251RankTable();
        const Cp1251Chars chars{kNatural ? ranks.plain.data() : ranks.folded.data()};
        return collation::Compare<Cp1251Chars, kNatural>(chars, a, b);
    }};
}

}  // namespace

LineComparison SortComparison(SortOrder order, Encoding encoding) {
    const bool utf8 = encoding == Encoding::Utf8;
    switch (order) {
        case SortOrder::Bytes:
            return {CompareBytes};
        case SortOrder::IgnoreCase:
            return CharacterComparison<false>(utf8);
        case SortOrder::Natural:
            return CharacterComparison<true>(utf8);
        case SortOrder::Number:
            return {[](std::string_view a, std::string_view b) {
                        return CompareNumbers(*ParseNumber(a), *ParseNumber(b));
                    },
                    [](std::string_view line) { return !ParseNumber(line).has_value(); }};
        case SortOrder::Length:
            if (utf8) {
                return {[](std::string_view a, std::string_view b) {
                    const std::size_t x = Utf8Text::CountUpTo(a, a.size());
                    const std::size_t y = Utf8Text::CountUpTo(b, b.size());
                    return x < y ? -1 : x > y ? 1 : 0;
                }};
            }
            return {[](std::string_view a, std::string_view b) {
                return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
            }};
    }
    throw std::invalid_argument("unknown sort order");
}

void SortLines(DocumentLines& lines, SortOrder order, bool descending, const Progress& progress) {
    const std::size_t n = lines.Count();
    if (n == 0) {
        return;
    }
    std::vector<std::uint32_t> sorted = SortedLineOrder(lines, order, descending, progress);
    sorted.shrink_to_fit();  // the items' room, not held beside the rebuilt text
    RebuildInOrder(
        lines, [&](std::size_t k) { return sorted[k]; }, progress, 2 * std::uint64_t{n},
        kPasses * n);
    progress(n);
}

}  // namespace quillex
