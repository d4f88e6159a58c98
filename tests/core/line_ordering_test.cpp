// Sort, reverse, shuffle and the duplicate modes against their rules written plainly: each
// line decoded to code points, compared by std::stable_sort or scanned pair by pair.

#include "core/line_ordering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "core/cp1251.h"
#include "core/encoding.h"
#include "core/utf8_case_fold.h"
#include "ops_reference.h"
#include "progress_log.h"

namespace quillex {
namespace {

using testing::ProgressLog;

// A character as the orders see it: its code point, and 1 for Ё and ё, which then come as
// Е and е do, right after them. A byte that begins no valid UTF-8 sequence comes after
// every code point.
using Char = std::pair<char32_t, int>;

Char Place(char32_t c) {
    if (c == U'Ё') {
        return {U'Е', 1};
    }
    if (c == U'ё') {
        return {U'е', 1};
    }
    return {c, 0};
}

std::vector<Char> Chars(const std::string& line, Encoding encoding, bool fold) {
    std::vector<Char> chars;
    for (std::size_t at = 0; at < line.size();) {
        if (encoding == Encoding::Windows1251) {
            const char16_t c = Cp1251ToUnicode(static_cast<unsigned char>(line[at++]));
            chars.push_back(Place(fold ? reference::LowerCase(c) : c));
            continue;
        }
        const std::optional<char32_t> code = DecodeUtf8At(line, at);
        if (!code) {
            chars.push_back({0x110000 + static_cast<unsigned char>(line[at++]), 0});
            continue;
        }
        at += Utf8CharLength(line, at);
        char32_t folded[3] = {*code};
        const std::size_t n = fold ? Utf8FoldCodePoint(*code, folded) : 1;
        for (std::size_t k = 0; k < n; ++k) {
            chars.push_back(Place(folded[k]));
        }
    }
    return chars;
}

// Natural order: a digit run is one token, valued by its digits without leading zeros.
struct Token {
    bool run = false;
    Char c;
    std::string digits;
};

std::vector<Token> Tokens(const std::string& line, Encoding encoding) {
    std::vector<Token> tokens;
    for (const Char& c : Chars(line, encoding, false)) {
        const bool digit = c.first >= U'0' && c.first <= U'9';
        if (digit && !tokens.empty() && tokens.back().run) {
            tokens.back().digits += static_cast<char>(c.first);
        } else if (digit) {
            tokens.push_back({true, {U'0', 0}, std::string(1, static_cast<char>(c.first))});
        } else {
            tokens.push_back({false, c, ""});
        }
    }
    for (Token& t : tokens) {
        t.digits.erase(0, std::min(t.digits.find_first_not_of('0'), t.digits.size()));
    }
    return tokens;
}

bool NaturalLess(const std::string& a, const std::string& b, Encoding encoding) {
    const std::vector<Token> x = Tokens(a, encoding);
    const std::vector<Token> y = Tokens(b, encoding);
    for (std::size_t k = 0; k < x.size() && k < y.size(); ++k) {
        if (x[k].run && y[k].run) {
            const auto vx = std::make_pair(x[k].digits.size(), x[k].digits);
            const auto vy = std::make_pair(y[k].digits.size(), y[k].digits);
            if (vx != vy) {
                return vx < vy;
            }
        } else if (x[k].c != y[k].c) {
            return x[k].c < y[k].c;
        }
    }
    return x.size() < y.size();
}

// The number at the start as its sign and its digits in fixed places: 40 whole digits, then
// 40 decimal ones; -0 is 0.
std::optional<std::pair<int, std::string>> LeadingNumber(const std::string& line) {
    static const std::regex number(R"(^[ \t]*([+-]?)([0-9]+)(\.([0-9]*))?)");
    std::smatch m;
    if (!std::regex_search(line, m, number)) {
        return std::nullopt;
    }
    const std::string digits = std::string(40 - m[2].length(), '0') + m[2].str() + m[4].str() +
                               std::string(40 - m[4].length(), '0');
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    return std::make_pair(m[1] == "-" && !zero ? -1 : 1, digits);
}

bool NumberLess(const std::string& a, const std::string& b) {
    const auto x = *LeadingNumber(a);
    const auto y = *LeadingNumber(b);
    if (x.first != y.first) {
        return x.first < y.first;
    }
    return x.first > 0 ? x.second < y.second : y.second < x.second;
}

std::size_t Length(const std::string& line, Encoding encoding) {
    return Chars(line, encoding, false).size();
}

Lines ReferenceSort(Lines lines, SortOrder order, bool descending, Encoding encoding) {
    std::function<bool(const std::string&, const std::string&)> less;
    Lines without;
    switch (order) {
        case SortOrder::Bytes:
            less = [](const std::string& a, const std::string& b) {
                return std::lexicographical_compare(
                    a.begin(), a.end(), b.begin(), b.end(),
                    [](unsigned char x, unsigned char y) { return x < y; });
            };
            break;
        case SortOrder::IgnoreCase:
            less = [&](const std::string& a, const std::string& b) {
                return Chars(a, encoding, true) < Chars(b, encoding, true);
            };
            break;
        case SortOrder::Number: {
            Lines with;
            for (const std::string& line : lines) {
                (LeadingNumber(line) ? with : without).push_back(line);
            }
            lines = with;
            less = NumberLess;
            break;
        }
        case SortOrder::Natural:
            less = [&](const std::string& a, const std::string& b) {
                return NaturalLess(a, b, encoding);
            };
            break;
        case SortOrder::Length:
            less = [&](const std::string& a, const std::string& b) {
                return Length(a, encoding) < Length(b, encoding);
            };
            break;
    }
    std::stable_sort(lines.begin(), lines.end(), [&](const std::string& a, const std::string& b) {
        return descending ? less(b, a) : less(a, b);
    });
    lines.insert(lines.end(), without.begin(), without.end());
    return lines;
}

// The same lines in both encodings: Latin and Cyrillic case pairs, е ё Ё Е ж, numbers with
// signs, zeros and decimals, digit runs, equal keys, empty lines.
const Lines kLines = {
    "b",
    "B",
    "a",
    "A",
    "е",
    "ё",
    "Ё",
    "Е",
    "ж",
    "Ж",
    "ёж",
    "еж",
    "Ёж",
    "",
    "10",
    "9",
    "-2.5",
    "+3",
    "-10",
    "  7 apples",
    "\t-7",
    "-0",
    "0",
    "0.0",
    "1.10",
    "1.1",
    "1.",
    "x10",
    "x9",
    "x09",
    "x9a",
    "x9b",
    "007",
    "7",
    "abc",
    "ABC",
    "aBc",
    "a b",
    "",
    "Z",
    "z",
    "АБ",
    "аб",
    "12abc",
    "12.5.6",
    "-",
    ".5",
    "1e5",
    "+",
    "-.5",
    "99999999999999999999.5",
    "99999999999999999999.49",
    "100000000000000000000",
    "a10b2",
    "a10b10",
    "a010b3",
    "Ab",
    "№1",
    "x\t",
    "x ",
    // Past the 64-bit keys: the same first characters, differing late.
    "Prefix shared, long: Ёж 10",
    "PREFIX shared, long: ёж 9",
    "prefix shared, long: еж 10",
    "prefix shared, long: ЁЖ 010",
    "prefix shared, long: ж",
    "prefix shared, long: ёж 9",
    "123456789012345678901234567890 b",
    "123456789012345678901234567890 a",
    "00123456789012345678901234567891",
    "-123456789012345678901234567890.5",
    "-123456789012345678901234567890.45",
    "A line long enough to be compared in full: Ёлка 10",
    "a LINE long enough to be compared in full: елка 9",
    "a line long enough to be compared in full: ёлка 9",
    "A line long enough to be compared in full: Ёлка 10",
};

// Lines only UTF-8 holds: a folding to two letters, letters beyond Windows-1251, broken bytes.
const Lines kUtf8Only = {"ß",     "SS",    "ss",   "Straße", "STRASSE", "ǅ",  "€", "😀",
                         "a\xD0", "a\xFF", "\x9F", "aé",     "AÉ",      "ȺB", "ⱥb"};

// Lines written here in UTF-8, in the encoding.
Lines InEncoding(const Lines& lines, Encoding encoding) {
    Lines bytes;
    for (const std::string& line : lines) {
        bytes.push_back(*Utf8ToEncoding(line, encoding));
    }
    return bytes;
}

struct Input {
    const char* name;
    Encoding encoding;
    Lines lines;
};

std::vector<Input> Inputs() {
    Lines utf8 = kLines;
    utf8.insert(utf8.end(), kUtf8Only.begin(), kUtf8Only.end());
    return {{"windows-1251", Encoding::Windows1251, InEncoding(kLines, Encoding::Windows1251)},
            {"utf-8", Encoding::Utf8, utf8}};
}

TEST(LineOrdering, SortMatchesTheRuleInEveryOrder) {
    const std::pair<SortOrder, const char*> orders[] = {
        {SortOrder::Bytes, "bytes"},   {SortOrder::IgnoreCase, "case"},
        {SortOrder::Number, "number"}, {SortOrder::Natural, "natural"},
        {SortOrder::Length, "length"},
    };
    for (const Input& input : Inputs()) {
        for (const auto& [order, name] : orders) {
            for (const bool descending : {false, true}) {
                DocumentLines document(input.lines);
                document.SetEncoding(input.encoding);
                ProgressLog log;
                SortLines(document, order, descending, log.Callback());
                EXPECT_EQ(document.ToLines(),
                          ReferenceSort(input.lines, order, descending, input.encoding))
                    << input.name << " " << name << (descending ? " descending" : "");
                EXPECT_EQ(log.calls, std::vector<std::size_t>{input.lines.size()});
            }
        }
    }
}

TEST(LineOrdering, ReorderingKeepsEveryByteAndTheLastBreak) {
    // No break after the last line: the rebuilt text ends in CR LF as every text form does.
    DocumentLines document;
    document.SetText("b\r\n\r\na");
    SortLines(document, SortOrder::Bytes, false, {});
    EXPECT_EQ(document.Text(), "\r\na\r\nb\r\n");
    ReverseLines(document, {});
    EXPECT_EQ(document.Text(), "b\r\na\r\n\r\n");

    DocumentLines empty;
    ProgressLog log;
    SortLines(empty, SortOrder::Natural, true, log.Callback());
    ShuffleLines(empty, 1, log.Callback());
    ReverseLines(empty, log.Callback());
    EXPECT_EQ(empty.Count(), 0u);
    EXPECT_TRUE(log.calls.empty());
}

TEST(LineOrdering, ShuffleIsARepeatablePermutation) {
    Lines lines;
    for (int i = 0; i < 10; ++i) {
        lines.push_back(std::to_string(i));
    }
    DocumentLines document(lines);
    ShuffleLines(document, 42, {});
    // Pinned: the same seed must give this order on every platform and in every version.
    EXPECT_EQ(document.ToLines(), (Lines{"7", "3", "8", "9", "5", "6", "4", "1", "0", "2"}));

    for (int i = 10; i < 1000; ++i) {
        lines.push_back(std::to_string(i));
    }
    DocumentLines a(lines);
    DocumentLines b(lines);
    ShuffleLines(a, 7, {});
    ShuffleLines(b, 7, {});
    EXPECT_EQ(a, b);
    Lines shuffled = a.ToLines();
    EXPECT_NE(shuffled, lines);
    std::sort(shuffled.begin(), shuffled.end());
    Lines sorted = lines;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(shuffled, sorted);

    DocumentLines reversed(lines);
    ReverseLines(reversed, {});
    EXPECT_EQ(reversed.ToLines(), Lines(lines.rbegin(), lines.rend()));
}

// The duplicate modes by scanning: each line's group is every line equal to it.
Lines ReferenceDuplicates(const Lines& lines, DuplicateMode mode, Encoding encoding,
                          std::vector<std::size_t>& calls) {
    auto equal = [&](const std::string& a, const std::string& b) {
        return mode.exact ? a == b : Chars(a, encoding, true) == Chars(b, encoding, true);
    };
    Lines kept;
    auto keep = [&](std::size_t i, std::size_t count) {
        kept.push_back(mode.count ? std::to_string(count) + "\t" + lines[i] : lines[i]);
        calls.push_back(i + 1);
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (mode.keep == DuplicateKeep::Adjacent) {
            if (i > 0 && equal(lines[i - 1], lines[i])) {
                continue;
            }
            std::size_t run = 1;
            while (i + run < lines.size() && equal(lines[i + run - 1], lines[i + run])) {
                ++run;
            }
            keep(i, run);
            continue;
        }
        std::size_t before = 0;
        std::size_t after = 0;
        for (std::size_t j = 0; j < lines.size(); ++j) {
            if (j != i && equal(lines[i], lines[j])) {
                ++(j < i ? before : after);
            }
        }
        const bool kept_here = mode.keep == DuplicateKeep::First  ? before == 0
                               : mode.keep == DuplicateKeep::Last ? after == 0
                                                                  : before + after == 0;
        if (kept_here) {
            keep(i, before + after + 1);
        }
    }
    return kept;
}

TEST(LineOrdering, DuplicateModesMatchTheRule) {
    const std::pair<DuplicateKeep, const char*> keeps[] = {
        {DuplicateKeep::First, "first"},
        {DuplicateKeep::Last, "last"},
        {DuplicateKeep::None, "none"},
        {DuplicateKeep::Adjacent, "adjacent"},
    };
    for (Input input : Inputs()) {
        // Runs of equal lines for the adjacent mode, and the same lines far apart.
        const Lines runs =
            InEncoding({"x", "X", "x", "", "", "y", "x", "ё", "Ё", "е"}, input.encoding);
        Lines lines = input.lines;
        lines.insert(lines.end(), runs.begin(), runs.end());
        for (const auto& [keep, name] : keeps) {
            for (const bool exact : {false, true}) {
                for (const bool count : {false, true}) {
                    const DuplicateMode mode{keep, exact, count};
                    DocumentLines document(lines);
                    document.SetEncoding(input.encoding);
                    ProgressLog log;
                    RemoveDuplicates(document, mode, log.Callback());
                    std::vector<std::size_t> calls;
                    const std::string what = std::string(input.name) + " " + name +
                                             (exact ? " exact" : "") + (count ? " count" : "");
                    EXPECT_EQ(document.ToLines(),
                              ReferenceDuplicates(lines, mode, input.encoding, calls))
                        << what;
                    EXPECT_EQ(log.calls, calls) << what;
                }
            }
        }
    }
}

}  // namespace
}  // namespace quillex
