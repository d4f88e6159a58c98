#include "core/text_form.h"

#include "core/break_masks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
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

// The plain rule, a byte at a time.
Lines SplitByHand(const std::string& text) {
    Lines lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            line += text[i];
            open = true;
        }
    }
    if (open) {
        lines.push_back(line);
    }
    return lines;
}

// The text is scanned in blocks of 64 bytes: every kind of break, and a NUL, put on each side
// of the first block boundaries.
TEST(TextForm, BreaksAtBlockBoundaries) {
    for (const char* brk : {"\r\n", "\r", "\n", "\r\r\n", "\n\r"}) {
        for (std::size_t at = 58; at < 132; ++at) {
            for (const std::string& rest : {""s, "b\r\n"s, "b"s, "\0c\r\n"s}) {
                std::string text(at, 'a');
                for (std::size_t k = 10; k < at; k += 11) {
                    text[k - 1] = '\r';
                    text[k] = '\n';
                }
                text += brk;
                text += rest;
                ASSERT_EQ(SplitTextForm(text), SplitByHand(text)) << ::testing::PrintToString(text);
            }
        }
    }
}

// Only the widest mask builder the processor has runs in the scans, so each one is held to
// the bytes here: every byte value, a high mark among them.
TEST(BreakMasks, EveryBuilderAgreesWithTheBytes) {
    using Builder = breaks::BreakMasks (*)(const char*, char);
    std::vector<Builder> builders = {breaks::MasksPortable};
#if defined(QUILLEX_AVX2)
    if (__builtin_cpu_supports("avx2")) {
        builders.push_back(breaks::MasksAvx2);
    }
    if (__builtin_cpu_supports("avx512bw")) {
        builders.push_back(breaks::MasksAvx512);
    }
#endif
    constexpr char kBytes[] = {'\r', '\n', '\0', '\xB8', 'a'};
    std::uint32_t seed = 11;
    for (int round = 0; round < 2000; ++round) {
        char block[breaks::kBlock];
        for (char& c : block) {
            seed = seed * 1103515245u + 12345u;
            c = static_cast<char>(kBytes[(seed >> 16) % 5] + (round % 3 == 0 ? seed >> 24 : 0));
        }
        const char mark = round % 2 == 0 ? '\xB8' : 'a';
        const breaks::BreakMasks want = breaks::MasksByByte(block, breaks::kBlock, mark);
        for (const Builder builder : builders) {
            const breaks::BreakMasks got = builder(block, mark);
            ASSERT_EQ(got.cr, want.cr);
            ASSERT_EQ(got.lf, want.lf);
            ASSERT_EQ(got.nul, want.nul);
            ASSERT_EQ(got.mark, want.mark);
        }
    }
}

// The lines that end with the text, found from the breaks, against the lines split by hand:
// lines of every length around the 64-byte blocks, endings across block edges, adjoining
// kept lines; and any text not in the text form left as it was.
TEST(KeepLinesEndingWith, KeepsTheLinesThatEndWithTheText) {
    std::uint32_t seed = 7;
    auto next = [&seed](std::uint32_t below) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % below;
    };
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (std::uint32_t n = next(40) + 1; n > 0; --n) {
            std::string line(next(150), 'a');
            for (char& c : line) {
                c = ".ru"[next(4) % 3];
            }
            text += line + "\r\n";
        }
        for (const std::string ending : {".ru", "u", "a.ru"}) {
            Lines lines = SplitByHand(text);
            std::string kept;
            std::size_t count = 0;
            for (const std::string& line : lines) {
                if (line.ends_with(ending)) {
                    kept += line + "\r\n";
                    ++count;
                }
            }
            ByteBuffer bytes;
            bytes.Append(text.data(), text.size());
            const std::optional<KeptLines> got = KeepLinesEndingWith(bytes, ending);
            ASSERT_TRUE(got.has_value()) << text;
            EXPECT_EQ(std::string(bytes.data(), bytes.size()), kept) << text;
            EXPECT_EQ(got->lines, lines.size());
            EXPECT_EQ(got->kept, count);
        }
    }
    for (const std::string& text : {"a.ru"s, "a.ru\r"s, "a.ru\nb.ru\r\n"s, "a.ru\rb.ru\r\n"s,
                                    "a.ru\r\n\0.ru\r\n"s, std::string(70, 'a') + "\n.ru\r\n"}) {
        ByteBuffer bytes;
        bytes.Append(text.data(), text.size());
        EXPECT_FALSE(KeepLinesEndingWith(bytes, ".ru").has_value()) << text;
        EXPECT_EQ(std::string(bytes.data(), bytes.size()), text);
    }
}

}  // namespace
}  // namespace quillex
