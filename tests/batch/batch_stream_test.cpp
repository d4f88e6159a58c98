// The steps run a block at a time against the same steps over the whole loaded text: the
// bytes, every step's last number and the failure must not depend on where the blocks end or
// on how many threads work on them.

#include <gtest/gtest.h>

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "app/batch_stream.h"
#include "core/document_lines.h"
#include "core/input_check.h"
#include "core/temp_dir.h"

namespace quillex::batch {
namespace {

using quillex::testing::TempDir;
using quillex::testing::WriteBytes;

// What a run gave: the bytes, each step's count, or the failure's message.
struct Outcome {
    std::string bytes;
    std::vector<LastCount> counts;
    std::optional<std::string> failure;
};

std::vector<RecipeStep> StepsOf(const std::vector<std::vector<std::string>>& words,
                                Encoding encoding) {
    std::vector<RecipeStep> steps;
    for (std::size_t k = 0; k < words.size(); ++k) {
        RecipeStep step{k + 1, ParseFunctionWords(words[k])};
        ApplyTexts(step.call.texts, encoding, step.call.params);
        steps.push_back(std::move(step));
    }
    return steps;
}

Outcome Whole(const std::filesystem::path& file, Encoding encoding,
              const std::vector<RecipeStep>& steps, bool recipe) {
    Outcome outcome;
    outcome.counts.resize(steps.size());
    try {
        DocumentLines document;
        document.LoadFromFile(file);
        document.SetEncoding(encoding);
        if (recipe) {
            RunSteps(steps, document, [&](std::size_t k) {
                return Progress([&outcome, k](std::size_t n) { outcome.counts[k].Hear(n); });
            });
        } else {
            const FunctionResult result =
                RunLineFunction(steps[0].call.function, steps[0].call.params, document,
                                [&outcome](std::size_t n) { outcome.counts[0].Hear(n); });
            if (result.to_write) {
                document.Keep(*result.to_write);
            }
        }
        for (std::string_view piece : document.FileForm()) {
            outcome.bytes += piece;
        }
    } catch (const std::exception& e) {
        outcome = {};
        outcome.failure = e.what();
    }
    return outcome;
}

Outcome Streamed(const std::filesystem::path& file, Encoding encoding,
                 const std::vector<RecipeStep>& steps, bool recipe, std::size_t block,
                 unsigned threads) {
    Outcome outcome;
    try {
        BlockReader reader(file, block);
        StreamSettings settings;
        settings.threads = threads;
        settings.blockBytes = block;
        settings.recipe = recipe;
        outcome.counts =
            StreamSteps(reader, encoding, steps, settings,
                        [&outcome](std::string_view piece) { outcome.bytes += piece; });
    } catch (const std::exception& e) {
        outcome = {};
        outcome.failure = e.what();
    }
    return outcome;
}

TEST(BatchStream, BlocksGiveWhatTheWholeTextGives) {
    // Breaks of every kind, a CR LF and a lone CR where small blocks end, a NUL, a
    // byte-order mark, Cyrillic in both encodings, and no final break.
    const std::vector<std::string> inputs = {
        "",
        "\r\n\r\n\n",
        "one\r\ntwo\rthree\nfour",
        "\xEF\xBB\xBF"
        "ab.ru\r\n\r\ncd com\r\r\n \xD0\x81\xD0\xB6 x.ru \n?\r",
        "al\xE0 \xC0\xE1.ru\r\n  b%\r\nc$d\rrest\0after\r\n",
        "\xEF\xBB\xBF",
        "\xEF\xBB\xBF\r\n\xEF\xBB\xBFsecond\r\n",
        "x\r\n\xEF\xBB\xBF"
        "b.ru\r\n",  // a mark on a later line is the line's own
    };
    const std::vector<std::vector<std::vector<std::string>>> runs = {
        {{"cut-leading", "--count", "2"}},
        {{"replace-char", "--from", "r", "--to", "\xD0\xAF"}},
        {{"replace-char", "--from", "o", "--to", ""}},
        {{"cut-at-word", "--word", "."}},
        {{"add-text", "--left", "<", "--right", ">"}},
        {{"remove-if", "--condition", "1"}},
        {{"remove-if", "--condition", "9", "--text", "c"}},
        {{"remove-class", "--class", "2"}},
        {{"join"}},
        {{"join", "--br"}},
        {{"drop-first", "--lines", "2"}},
        {{"drop-first", "--lines", "-1"}},
        {{"filter-ext", "--text", ".ru"}},
        {{"filter-ext", "--text", ".ru", "--drop"}},
        {{"trim", "--side", "2"}},
        {{"remove-with-word", "--word", "o"}},
        // A recipe: steps apart, one that goes in order, then each line alone again, a join.
        {{"trim"}, {"drop-first", "--lines", "1"}, {"remove-if", "--condition", "0"}, {"join"}},
        // The extension filter first finds its lines in the blocks' bytes; the next step
        // takes them on.
        {{"filter-ext", "--text", ".ru"}, {"add-text", "--left", "<"}},
        // The later step fails first in the text, the earlier one only further on.
        {{"cut-at-word", "--word", "zz"}, {"replace-char", "--from", "t", "--to", ""}},
        {{"replace-char", "--from", "\xD0\x81", "--to", ""}, {"drop-first", "--lines", "1"}},
    };
    TempDir dir;
    const std::filesystem::path file = dir / "in.txt";
    for (const std::string& input : inputs) {
        WriteBytes(file, input);
        for (const Encoding encoding : {Encoding::Windows1251, Encoding::Utf8}) {
            for (const auto& words : runs) {
                const std::vector<RecipeStep> steps = StepsOf(words, encoding);
                ASSERT_TRUE(Streams(steps)) << words[0][0];
                const bool recipe = words.size() > 1;
                const Outcome whole = Whole(file, encoding, steps, recipe);
                for (const std::size_t block : {1, 2, 3, 7, 1 << 20}) {
                    for (const unsigned threads : {1u, 3u}) {
                        const Outcome streamed =
                            Streamed(file, encoding, steps, recipe, block, threads);
                        const std::string shown = words[0][0] + " over '" + input + "', block " +
                                                  std::to_string(block) + ", threads " +
                                                  std::to_string(threads);
                        ASSERT_EQ(streamed.failure, whole.failure) << shown;
                        EXPECT_EQ(streamed.bytes, whole.bytes) << shown;
                        ASSERT_EQ(streamed.counts.size(), whole.counts.size()) << shown;
                        for (std::size_t k = 0; k < whole.counts.size(); ++k) {
                            EXPECT_EQ(streamed.counts[k].reported, whole.counts[k].reported)
                                << shown << ", step " << k;
                            EXPECT_EQ(streamed.counts[k].last, whole.counts[k].last)
                                << shown << ", step " << k;
                        }
                    }
                }
            }
        }
    }
}

TEST(BatchStream, LinesLongerThanTheLookForABlocksEndStayWhole) {
    // Where a block ends is looked for in its last few KiB, then in more before it grows.
    std::string input;
    for (const std::size_t length : {10, 5000, 10, 70000, 3000, 9000, 10}) {
        input.append(length, 'a').append(".ru\r\n");
    }
    TempDir dir;
    const std::filesystem::path file = dir / "in.txt";
    WriteBytes(file, input);
    for (const auto& words : std::vector<std::vector<std::vector<std::string>>>{
             {{"cut-leading", "--count", "1"}}, {{"filter-ext", "--text", ".ru"}}}) {
        const std::vector<RecipeStep> steps = StepsOf(words, Encoding::Windows1251);
        const Outcome whole = Whole(file, Encoding::Windows1251, steps, false);
        for (const std::size_t block : {4096, 16384}) {
            const Outcome streamed = Streamed(file, Encoding::Windows1251, steps, false, block, 3);
            EXPECT_EQ(streamed.bytes, whole.bytes) << words[0][0] << ", block " << block;
        }
    }
}

TEST(BatchStream, OnlyStepsThatNeedNoWholeTextStream) {
    const auto streams = [](const std::vector<std::vector<std::string>>& words) {
        return Streams(StepsOf(words, Encoding::Windows1251));
    };
    EXPECT_FALSE(streams({{"dedupe"}}));
    EXPECT_FALSE(streams({{"trim"}, {"sort"}}));
    EXPECT_FALSE(streams({{"join"}, {"trim"}}));  // the rest of the text is one line
    // A break put into a line would be split again by the join.
    EXPECT_FALSE(streams({{"replace-char", "--from", "a", "--to", "\n"}, {"join"}}));
    EXPECT_TRUE(streams({{"replace-char", "--from", "a", "--to", "\n"}, {"trim"}}));
}

}  // namespace
}  // namespace quillex::batch
