#include "core/view_text.h"

#include "vector_ops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillex {
namespace {

using Lines = std::vector<std::string>;

TEST(ComposeViewText, EveryTakenLineFollowedByABreak) {
    const Lines lines = {"ab", "", "c", "d"};
    EXPECT_EQ(ComposeViewText(lines, 3).text, "ab\n\nc\n");
    EXPECT_EQ(ComposeViewText(lines, 10).text, "ab\n\nc\nd\n");
    EXPECT_EQ(ComposeViewText(lines, 0).text, "");
    EXPECT_FALSE(ComposeViewText(lines, 4).overflow);
}

TEST(ComposeViewText, CapacityCountsBreaksAsCrLf) {
    // Two lines of 3 fill exactly 10 characters with their CR LF breaks.
    const Lines lines = {"abc", "def", "ghi"};
    EXPECT_EQ(ComposeViewText(lines, 2, 10).text, "abc\ndef\n");
    EXPECT_FALSE(ComposeViewText(lines, 2, 10).overflow);
    const ViewText cut = ComposeViewText(lines, 3, 12);
    EXPECT_TRUE(cut.overflow);
    EXPECT_EQ(cut.text, "abc\ndef\ngh");  // the last line kept as far as it fits
    const ViewText noRoom = ComposeViewText(lines, 3, 10);
    EXPECT_TRUE(noRoom.overflow);
    EXPECT_EQ(noRoom.text, "abc\ndef\n");
}

TEST(ComposeViewText, OneHugeLineIsCutAtTheCapacity) {
    const Lines lines = {std::string(100'000'000, 'x')};
    const ViewText view = ComposeViewText(lines, 1);
    EXPECT_TRUE(view.overflow);
    EXPECT_EQ(view.text.size(), kViewCapacity);
}

TEST(ComposeViewText, BreaksInsideALineStayOnItsViewLine) {
    const Lines lines = {"a\rb\nc", "d"};
    EXPECT_EQ(ComposeViewText(lines, 2).text,
              "a\x1A"
              "b\x1A"
              "c\nd\n");
}

TEST(CountViewText, LinesAndCharacters) {
    EXPECT_EQ(CountViewText(u""), (ViewCounts{0, 0}));
    EXPECT_EQ(CountViewText(u"\n"), (ViewCounts{1, 2}));         // one empty line
    EXPECT_EQ(CountViewText(u"ab\nc\n\n"), (ViewCounts{3, 9}));  // "ab", "c", ""
    EXPECT_EQ(CountViewText(u"ab\ncd"), (ViewCounts{2, 6}));     // a cut last line
}

TEST(LongestLineLength, WholeDocument) {
    EXPECT_EQ(LongestLineLength(Lines{}), 0u);
    EXPECT_EQ(LongestLineLength(Lines{"ab", "c", ""}), 2u);
    EXPECT_EQ(LongestLineLength(Lines{"", "abcd", "abc", "abcd"}), 4u);
}

TEST(CaretEndPosition, EndOfTheLastLineBeforeItsBreak) {
    EXPECT_EQ(CaretEndPosition(u""), 0u);
    EXPECT_EQ(CaretEndPosition(u"ab\ncd\n"), 5u);
    EXPECT_EQ(CaretEndPosition(u"ab\ncd"), 5u);
    EXPECT_EQ(CaretEndPosition(u"\n"), 0u);
}

TEST(CyrillicRuns, OnlyA0ToFFAreRed) {
    // "Abc Где ёж": A b c space Г д е space ё ж in Windows-1251.
    const std::string bytes = "Abc \xC3\xE4\xE5 \xB8\xE6";
    const std::vector<ColourRun> expected = {
        {0, 4, false}, {4, 3, true}, {7, 2, false}, {9, 1, true}};
    EXPECT_EQ(CyrillicRuns(bytes), expected);
    EXPECT_TRUE(CyrillicRuns("").empty());
    EXPECT_EQ(CyrillicRuns("\xBF\xC0\xFF"), (std::vector<ColourRun>{{0, 1, false}, {1, 2, true}}));
}

TEST(LabelWithNumber, PrefixThenDecimalDigits) {
    EXPECT_EQ(LabelWithNumber("Lines: ", 0), "Lines: 0");
    EXPECT_EQ(LabelWithNumber("Строк: ", 1000000), "Строк: 1000000");
    EXPECT_EQ(LabelWithNumber("", 42), "42");
}

}  // namespace
}  // namespace quillex
