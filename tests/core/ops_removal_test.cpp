// The functions that remove or join lines: 4, 5, 7, 8, 9 and 11.

#include <gtest/gtest.h>

#include "op_case.h"

namespace quillex {
namespace {

using testing::OpCase;

auto Condition(std::optional<RemovalCondition> condition, std::string text = "") {
    return [=](Lines& l, const Progress& p) { RemoveLinesByCondition(l, condition, text, p); };
}

TEST(RemoveLinesByCondition, Table) {
    using C = RemovalCondition;
    const std::string len20(20, 'x'), len21(21, 'x');
    const OpCase cases[] = {
        {"0: empty and blank lines, not a no-break space",
         {"", " \t", "\xA0", "a", "\x01"},
         Condition(C::LengthIs0),
         {"\xA0", "a"},
         {1, 2, 3}},
        {"1: trimmed length below 5",
         {" ab ", "abcde", " abcd\t"},
         Condition(C::LengthBelow5),
         {"abcde"},
         {1, 2}},
        {"2: below 20", {len20, " abc "}, Condition(C::LengthBelow20), {len20}, {1}},
        {"3: above 1", {"a", "  a  ", "ab"}, Condition(C::LengthAbove1), {"a", "  a  "}, {1}},
        {"4: above 5, long lines 2 and 4",
         {"a", "abcdef", "b", "  abcdefg ", "c"},
         Condition(C::LengthAbove5),
         {"a", "b", "c"},
         {1, 2}},
        {"5: above 20",
         {len20, len21, " " + len20 + " "},
         Condition(C::LengthAbove20),
         {len20, " " + len20 + " "},
         {1}},
        {"6: percent",
         {"50% off", "50 percent"},
         Condition(C::ContainsPercent),
         {"50 percent"},
         {1}},
        {"7: question mark", {"why?", "ok"}, Condition(C::ContainsQuestionMark), {"ok"}, {1}},
        {"8: dollar", {"$5", "5"}, Condition(C::ContainsDollar), {"5"}, {1}},
        {"9: text as stored", {"xa b", "xa"}, Condition(C::ContainsText, "a "), {"xa"}, {1}},
        {"9: case-sensitive",
         {"xxabcxx", "xxABCxx"},
         Condition(C::ContainsText, "abc"),
         {"xxABCxx"},
         {1}},
        {"9: empty text removes nothing, reports nothing",
         {"a", ""},
         Condition(C::ContainsText, ""),
         {"a", ""},
         {}},
        {"bytes above 0x7F count in the length",
         {"\xC0\xC1\xC2\xC3\xC4\xC5"},
         Condition(C::LengthAbove5),
         {},
         {1}},
        {"no condition", {"", "a"}, Condition(std::nullopt), {"", "a"}, {}},
        {"empty document", {}, Condition(C::LengthIs0), {}, {}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
}

auto Word(std::string word) {
    return [=](Lines& l, const Progress& p) { RemoveLinesWithWord(l, word, p); };
}

TEST(RemoveLinesWithWord, Table) {
    const OpCase cases[] = {
        {"anywhere, case-sensitive; progress counts down to 0",
         {"console", "Console", "falcon", "CON", "a con b"},
         Word("con"),
         {"Console", "CON"},
         {4, 3, 2, 1, 0}},
        {"nothing removed still reports", {"a", "b"}, Word("z"), {"a", "b"}, {1, 0}},
        {"empty word removes nothing", {"a", ""}, Word(""), {"a", ""}, {1, 0}},
        {"Cyrillic", {"\xE0\xE1", "\xC0\xC1"}, Word("\xE1"), {"\xC0\xC1"}, {1, 0}},
        {"empty document", {}, Word("con"), {}, {}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
}

// Removal visits run downwards: a failure after some lines keeps exactly those removed.
TEST(RemoveLinesWithWord, AFailureKeepsTheLinesRemovedSoFar) {
    Lines lines = {"con1", "a", "con2", "b", "con3"};
    testing::ProgressLog log(1);  // fails after visiting lines 4 and 3
    EXPECT_THROW(RemoveLinesWithWord(lines, "con", log.Callback()), testing::StopRun);
    EXPECT_EQ(lines, (Lines{"con1", "a", "con2", "b"}));
}

auto Join(bool marker) {
    return [=](Lines& l, const Progress& p) { RemoveLineFolds(l, marker, p); };
}

TEST(RemoveLineFolds, Table) {
    const OpCase cases[] = {
        {"plain", {"ab", "cd"}, Join(false), {"abcd"}, {2}},
        {"marker", {"ab", "cd"}, Join(true), {"ab<br>cd<br>"}, {2}},
        {"one line", {"x"}, Join(false), {"x"}, {1}},
        {"one line, marker", {"x"}, Join(true), {"x<br>"}, {1}},
        {"empty lines vanish", {"", "", ""}, Join(false), {}, {3}},
        {"empty lines, marker", {"", "", ""}, Join(true), {"<br><br><br>"}, {3}},
        {"twice with the marker", {"ab<br>cd<br>"}, Join(true), {"ab<br>cd<br><br>"}, {1}},
        {"empty document reports 0", {}, Join(false), {}, {0}},
        {"empty document, marker", {}, Join(true), {}, {0}},
        {"a CR inside a line ends a line of its own",
         {"a\r", "b"},
         Join(true),
         {"a", "<br>b<br>"},
         {2}},
        {"a NUL inside a line ends the text",
         {"a", std::string("b\0c", 3), "d"},
         Join(false),
         {"ab"},
         {3}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
}

// The round-trip functions return their list; the lines they are given stay as they were.
template <class F>
auto Returning(F f) {
    return [f](Lines& l, const Progress& p) {
        const Lines& given = l;
        l = f(given, p);
    };
}

TEST(RemoveDuplicateLines, Table) {
    auto dedupe =
        Returning([](const Lines& l, const Progress& p) { return RemoveDuplicateLines(l, p); });
    const OpCase cases[] = {
        {"case ignored, blanks count", {"a", "b", "A", "b "}, dedupe, {"a", "b", "b "}, {1, 2, 4}},
        {"ends at the last kept line", {"a", "b", "a"}, dedupe, {"a", "b"}, {1, 2}},
        {"first of a group keeps its case", {"Abc", "aBC", "abc"}, dedupe, {"Abc"}, {1}},
        {"Cyrillic pairs",
         {"\xC0\xE1\xA8", "\xE0\xC1\xB8", "\xA1\xA3\xA5", "\xA2\xBC\xB4"},
         dedupe,
         {"\xC0\xE1\xA8", "\xA1\xA3\xA5"},
         {1, 3}},
        {"no-break space differs from a blank",
         {"a b",
          "a\xA0"
          "b"},
         dedupe,
         {"a b",
          "a\xA0"
          "b"},
         {1, 2}},
        {"empty lines are equal", {"", "x", ""}, dedupe, {"", "x"}, {1, 2}},
        {"empty document", {}, dedupe, {}, {}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
    const Lines lines = {"a", "A"};
    RemoveDuplicateLines(lines, [](std::size_t) {});
    EXPECT_EQ(lines, (Lines{"a", "A"}));
}

TEST(RemoveDuplicateLines, KeepsFindingLinesWhileItsSetGrows) {
    // Far more distinct lines than the set starts with, each seen again in capitals later.
    Lines lines;
    Lines firsts;
    for (int i = 0; i < 3000; ++i) {
        firsts.push_back("line " + std::to_string(i) + " x");
    }
    lines = firsts;
    for (int i = 2999; i >= 0; --i) {
        lines.push_back("LINE " + std::to_string(i) + " X");
    }
    EXPECT_EQ(RemoveDuplicateLines(lines, [](std::size_t) {}), firsts);
}

TEST(RemoveLinesBefore, Table) {
    auto before = [](std::int32_t n) {
        return Returning(
            [n](const Lines& l, const Progress& p) { return RemoveLinesBefore(l, n, p); });
    };
    const OpCase cases[] = {
        {"0 keeps everything", {"a", "b"}, before(0), {"a", "b"}, {1, 2}},
        {"drops the first n", {"a", "b", "c", "d"}, before(2), {"c", "d"}, {3, 4}},
        {"n = count: empty, nothing reported", {"a", "b"}, before(2), {}, {}},
        {"n beyond the count", {"a"}, before(50), {}, {}},
        {"negative fails at once", {"a", "b"}, before(-1), {"a", "b"}, {}, &typeid(RunError)},
        {"empty document", {}, before(0), {}, {}},
    };
    for (const auto& c : cases) {
        Check(c);
    }
    Lines doc;
    for (int i = 1; i <= 120; ++i) {
        doc.push_back(std::to_string(i));
    }
    testing::ProgressLog log;
    const Lines result = RemoveLinesBefore(doc, 50, log.Callback());
    ASSERT_EQ(result.size(), 70u);
    EXPECT_EQ(result.front(), "51");
    EXPECT_EQ(log.calls.back(), 120u);
}

TEST(LineExtension, Table) {
    const struct {
        const char* line;
        const char* extension;
    } cases[] = {
        {"report.txt", ".txt"},
        {"archive.tar.gz", ".gz"},
        {"report.txt ", ".txt "},
        {"list.txt/backup", ".txt/backup"},
        {"C:\\dir.old\\readme", ""},
        {"list.txt:2", ""},
        {"readme", ""},
        {"end.", "."},
        {".txt", ".txt"},
        {"", ""},
        {"a.\xC0\xE1", ".\xC0\xE1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LineExtension(c.line), c.extension) << c.line;
    }
}

TEST(FilterLinesByExtension, SplitsAndReportsTheMatchingLinesSoFar) {
    const Lines doc = {"report.txt",  "report.TXT",     "a.txt",
                       "report.txt ", "report.txt.bak", "C:\\data.txt\\notes"};
    testing::ProgressLog log;
    const DocumentLines document(doc);
    const ExtensionSplit split = FilterLinesByExtension(document, ".txt", log.Callback());
    EXPECT_EQ(document.ToLines(split.matching), (Lines{"report.txt", "a.txt"}));
    EXPECT_EQ(document.ToLines(split.others),
              (Lines{"report.TXT", "report.txt ", "report.txt.bak", "C:\\data.txt\\notes"}));
    EXPECT_EQ(log.calls, (std::vector<std::size_t>{1, 1, 2, 2, 2, 2}));
    EXPECT_EQ(&split.ToWrite(FilterMode::KeepMatching), &split.matching);
    EXPECT_EQ(&split.ToWrite(FilterMode::RemoveMatching), &split.others);
    EXPECT_EQ(doc.size(), 6u);  // the caller replaces the document
}

TEST(FilterLinesByExtension, EmptyTextMatchesLinesWithoutExtension) {
    testing::ProgressLog log;
    const auto split =
        FilterLinesByExtension(Lines{"readme", "a.b", "c:\\x.y\\z", "q"}, "", log.Callback());
    EXPECT_EQ(split.matching, (Lines{"readme", "c:\\x.y\\z", "q"}));
    EXPECT_EQ(split.others, (Lines{"a.b"}));
    EXPECT_EQ(log.calls, (std::vector<std::size_t>{1, 1, 2, 3}));
}

TEST(FilterLinesByExtension, EmptyDocumentReportsNothing) {
    testing::ProgressLog log;
    const auto split = FilterLinesByExtension(Lines{}, ".ru", log.Callback());
    EXPECT_TRUE(split.matching.empty());
    EXPECT_TRUE(split.others.empty());
    EXPECT_TRUE(log.calls.empty());
}

}  // namespace
}  // namespace quillex
