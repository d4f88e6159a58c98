// The in-place rewrites: functions 0, 1, 2, 3, 6 and 10.

#include <gtest/gtest.h>

#include "op_case.h"

namespace quillex {
namespace {

using testing::OpCase;

auto Leading(std::string count) {
    return [count](Lines& l, const Progress& p) { RemoveLeadingChars(l, count, p); };
}

TEST(RemoveLeadingChars, Table) {
    const OpCase cases[] = {
        {"one", {"abc", "x", ""}, Leading("1"), {"bc", "", ""}, {1, 2, 3}},
        {"more than the line", {"abc"}, Leading("5"), {""}, {1}},
        {"blanks count", {" ab", "\tab"}, Leading("2"), {"b", "b"}, {1, 2}},
        {"zero", {"abc", "de"}, Leading("0"), {"abc", "de"}, {1, 2}},
        {"negative", {"abc"}, Leading("-3"), {"abc"}, {1}},
        {"leading blank in the count", {"abcdefghij"}, Leading(" 7"), {"hij"}, {1}},
        {"hexadecimal", {"abcdefghijklmnopqrstu"}, Leading("$10"), {"qrstu"}, {1}},
        {"bytes above 0x7F", {"\xC0\xE1\xA8z"}, Leading("3"), {"z"}, {1}},
        {"invalid count: no line changed, nothing reported",
         {"abc", "de"},
         Leading("12a"),
         {"abc", "de"},
         {},
         &typeid(ConversionError)},
        {"empty count", {"abc"}, Leading(""), {"abc"}, {}, &typeid(ConversionError)},
        {"empty document never reads the count", {}, Leading("x"), {}, {}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
}

auto Replace(std::optional<char> c1, std::optional<char> c2) {
    return [=](Lines& l, const Progress& p) { ReplaceChar(l, c1, c2, p); };
}

TEST(ReplaceChar, Table) {
    const std::nullopt_t none = std::nullopt;
    const OpCase cases[] = {
        {"every occurrence, 0-based progress",
         {"a?b??", "", "?"},
         Replace('?', '.'),
         {"a.b..", "", "."},
         {0, 1, 2}},
        {"one line ends at 0", {"x"}, Replace('?', '.'), {"x"}, {0}},
        {"case-sensitive", {"aA", "\xE0\xC0"}, Replace('a', 'b'), {"bA", "\xE0\xC0"}, {0, 1}},
        {"Cyrillic", {"\xE0\xC0"}, Replace('\xC0', '\xB8'), {"\xE0\xB8"}, {0}},
        {"same character", {"aa", "b"}, Replace('a', 'a'), {"aa", "b"}, {0, 1}},
        {"a replaced character is not looked at again", {"ab"}, Replace('a', 'b'), {"bb"}, {0}},
        {"empty first field fails at the first non-empty line",
         {"", "", "ab", "c"},
         Replace(none, 'x'),
         {"", "", "ab", "c"},
         {0, 1},
         &typeid(RunError)},
        {"empty first field, first line non-empty",
         {"ab"},
         Replace(none, 'x'),
         {"ab"},
         {},
         &typeid(RunError)},
        {"empty first field over empty lines only", {"", ""}, Replace(none, 'x'), {"", ""}, {0, 1}},
        {"empty second field fails at the first line holding c1",
         {"xy", "zaz", "a"},
         Replace('a', none),
         {"xy", "zaz", "a"},
         {0},
         &typeid(RunError)},
        {"empty second field, c1 nowhere", {"xy", "z"}, Replace('a', none), {"xy", "z"}, {0, 1}},
        {"empty document", {}, Replace(none, none), {}, {}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
}

auto Truncate(std::string word) {
    return [word](Lines& l, const Progress& p) { TruncateAtWord(l, word, p); };
}

TEST(TruncateAtWord, Table) {
    const OpCase cases[] = {
        {"cut before the word, blanks stay",
         {"x=1 Result: ok", "result: ok"},
         Truncate("Result:"),
         {"x=1 ", "result: ok"},
         {1}},
        {"first occurrence", {"xabyab"}, Truncate("ab"), {"x"}, {1}},
        {"a line beginning with the word stays, empty",
         {"abc", "q"},
         Truncate("ab"),
         {"", "q"},
         {1}},
        {"only cut lines count",
         {"a", "b word", "c", "word"},
         Truncate("word"),
         {"a", "b ", "c", ""},
         {1, 2}},
        {"empty word: nothing changes, nothing reported",
         {"abc", ""},
         Truncate(""),
         {"abc", ""},
         {}},
        {"no line cut: nothing reported", {"abc"}, Truncate("zz"), {"abc"}, {}},
        {"Cyrillic word, case-sensitive",
         {"\xE0\xE1\xE2", "\xC0\xC1\xC2"},
         Truncate("\xE1"),
         {"\xE0", "\xC0\xC1\xC2"},
         {1}},
        {"word with a blank", {"a b c"}, Truncate(" c"), {"a b"}, {1}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
}

auto Add(std::string left, std::string right) {
    return [=](Lines& l, const Progress& p) { AddTextToLines(l, left, right, p); };
}

TEST(AddTextToLines, Table) {
    const OpCase cases[] = {
        {"both sides, empty line too", {"abc", ""}, Add("<", ">"), {"<abc>", "<>"}, {1, 2}},
        {"right only", {"a"}, Add("", "\";"), {"a\";"}, {1}},
        {"left only", {"a"}, Add(" \"", ""), {" \"a"}, {1}},
        {"neither: unchanged but counted",
         {"a", "b", "c"},
         Add("", ""),
         {"a", "b", "c"},
         {1, 2, 3}},
        {"added again on a second run", {"<a>"}, Add("<", ">"), {"<<a>>"}, {1}},
        {"empty document", {}, Add("<", ">"), {}, {}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
}

auto Classes(std::optional<CharClass> cls) {
    return [=](Lines& l, const Progress& p) { RemoveCharClass(l, cls, p); };
}

TEST(RemoveCharClass, Table) {
    const std::string price = "Price: 3,75 rub.; ok?";
    const OpCase cases[] = {
        {"marks",
         {price, "a...b", "?!."},
         Classes(CharClass::Marks),
         {"Price 375 rub ok", "ab", ""},
         {1, 2, 3}},
        {"other punctuation stays",
         {"a-b'c\"(d)/[e]"},
         Classes(CharClass::Marks),
         {"a-b'c\"(d)/[e]"},
         {1}},
        {"numbers", {price}, Classes(CharClass::Numbers), {"Price: , rub.; ok?"}, {1}},
        {"spaces, not tabs",
         {price, "  x \t y  "},
         Classes(CharClass::InternalSpaces),
         {"Price:3,75rub.;ok?", "x\ty"},
         {1, 2}},
        {"bytes above 0x7F stay",
         {"\xC0 \xA0\xAB\x96\x97\xBB"
          "1."},
         Classes(CharClass::Marks),
         {"\xC0 \xA0\xAB\x96\x97\xBB"
          "1"},
         {1}},
        {"no class: unchanged, still counted",
         {"a.1 ", ""},
         Classes(std::nullopt),
         {"a.1 ", ""},
         {1, 2}},
        {"empty document", {}, Classes(CharClass::Numbers), {}, {}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
}

auto Trim(std::optional<TrimSide> side) {
    return [=](Lines& l, const Progress& p) { TrimLines(l, side, p); };
}

TEST(TrimLines, Table) {
    const Lines doc = {"  a  b  ", " \t ", "", "\tx", "\xA0y\xA0", "\x01z\x1F"};
    const OpCase cases[] = {
        {"at start",
         doc,
         Trim(TrimSide::AtStart),
         {"a  b  ", "", "", "x", "\xA0y\xA0", "z\x1F"},
         {0, 1, 2, 3, 4, 5}},
        {"at end",
         doc,
         Trim(TrimSide::AtEnd),
         {"  a  b", "", "", "\tx", "\xA0y\xA0", "\x01z"},
         {0, 1, 2, 3, 4, 5}},
        {"both",
         doc,
         Trim(TrimSide::AtBothEnds),
         {"a  b", "", "", "x", "\xA0y\xA0", "z"},
         {0, 1, 2, 3, 4, 5}},
        {"no side: unchanged, 0-based progress", doc, Trim(std::nullopt), doc, {0, 1, 2, 3, 4, 5}},
        {"one line ends at 0", {" a"}, Trim(TrimSide::AtStart), {"a"}, {0}},
        {"empty document", {}, Trim(TrimSide::AtBothEnds), {}, {}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
}

// A failure part-way (here from the progress callback, after line 1) keeps the lines already
// rewritten and leaves the rest as they were.
TEST(InPlaceRewrites, AFailureKeepsTheLinesAlreadyWritten) {
    Lines lines = {" a", " b", " c"};
    testing::ProgressLog log(1);
    EXPECT_THROW(TrimLines(lines, TrimSide::AtStart, log.Callback()), testing::StopRun);
    EXPECT_EQ(lines, (Lines{"a", "b", " c"}));
}

}  // namespace
}  // namespace quillex
