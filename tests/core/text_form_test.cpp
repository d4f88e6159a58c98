#include "core/text_form.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace quillex {
namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;

struct SplitCase {
    const char* name;
    std::string text;
    Lines lines;
};

std::ostream& operator<<(std::ostream& os, const SplitCase& c) {
    return os << c.name;
}

class SplitTextFormTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTextFormTest, GivesTheLinesOfTheRule) {
    EXPECT_EQ(SplitTextForm(GetParam().text), GetParam().lines);
}

TEST_P(SplitTextFormTest, GivesTheSameLinesAfterLinesInTheTextForm) {
    // Text in the text form is indexed where it lies until the first other break; from there
    // it is rewritten, and the lines before must survive the switch.
    Lines lines = {"p", "", "q"};
    lines.insert(lines.end(), GetParam().lines.begin(), GetParam().lines.end());
    EXPECT_EQ(SplitTextForm("p\r\n\r\nq\r\n" + GetParam().text), lines);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, SplitTextFormTest,
    ::testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"OneLineNoBreak", "abc", {"abc"}},
                      SplitCase{"CrLf", "a\r\n", {"a"}}, SplitCase{"LoneCrLf", "\r\n", {""}},
                      SplitCase{"CrLfCrLf", "a\r\n\r\nb", {"a", "", "b"}},
                      SplitCase{"CrCr", "a\r\rb", {"a", "", "b"}},
                      SplitCase{"LoneLf", "a\nb\n", {"a", "b"}},
                      SplitCase{"LoneCr", "a\rb\r", {"a", "b"}},
                      SplitCase{"LfCrEndsTwoLines", "a\n\rb", {"a", "", "b"}},
                      SplitCase{"EndsInCrLfCrLf", "a\r\nb\r\n\r\n", {"a", "b", ""}},
                      SplitCase{"NulStops", "ab\0cd"s, {"ab"}},
                      SplitCase{"NulAtStart", "\0ab"s, {}},
                      SplitCase{"NulAfterBreak", "ab\r\n\0cd\r\n"s, {"ab"}},
                      SplitCase{"NulAfterCr", "ab\r\0\ncd"s, {"ab"}},
                      SplitCase{"OnlyBreaks", "\n\n\r", {"", "", ""}},
                      SplitCase{"HighBytesKept", "\xC0\xFF\x98\x1A", {"\xC0\xFF\x98\x1A"}},
                      SplitCase{"Utf16Le", "\xFF\xFE\x41\x00"s, {"\xFF\xFE\x41"}},
                      SplitCase{"Utf8Bom", "\xEF\xBB\xBFhi\r\n", {"\xEF\xBB\xBFhi"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JoinTextForm, EveryLineEndsInCrLfTheLastToo) {
    EXPECT_EQ(JoinTextForm({}), "");
    EXPECT_EQ(JoinTextForm({""}), "\r\n");
    EXPECT_EQ(JoinTextForm({"ab", "", "c"}), "ab\r\n\r\nc\r\n");
}

TEST(TextForm, RoundTripsLinesWithoutBreakBytes) {
    Lines lines = {"", "x", "", "\t \xA0", ""};
    EXPECT_EQ(SplitTextForm(JoinTextForm(lines)), lines);
}

}  // namespace
}  // namespace quillex
