// The dedupe on several threads keeps the lines, and reports the numbers, of the dedupe on one.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/block_pipeline.h"
#include "core/document_lines.h"
#include "core/line_operations.h"

namespace quillex {
namespace {

struct Kept {
    std::vector<std::size_t> lines;
    std::vector<std::size_t> numbers;
};

Kept KeptOn(unsigned threads, const DocumentLines& document) {
    SetWorkThreads(threads);
    Kept kept;
    const LineSelection selection =
        RemoveDuplicateLines(document, [&](std::size_t n) { kept.numbers.push_back(n); });
    SetWorkThreads(0);
    for (const LineSelection::Run& run : selection.runs()) {
        for (std::size_t i = run.first; i < run.first + run.count; ++i) {
            kept.lines.push_back(i);
        }
    }
    return kept;
}

// Enough lines for several rounds of the threads, with groups that differ in case only (Ё and ё
// in both encodings) and lines that come once.
TEST(DedupeThreads, KeepTheLinesOfOneThread) {
    for (Encoding encoding : {Encoding::Windows1251, Encoding::Utf8}) {
        const std::string upper = encoding == Encoding::Utf8 ? "\xD0\x81" : "\xA8";
        const std::string lower = encoding == Encoding::Utf8 ? "\xD1\x91" : "\xB8";
        std::string text;
        for (std::size_t k = 0; k < 600000; ++k) {
            const std::size_t key = k * 2654435761u % 150000;
            text += (k % 2 == 0 ? upper : lower) + "w" + std::to_string(key % 7 == 0 ? k : key) +
                    (k % 3 == 0 ? "X" : "x") + "\r\n";
        }
        DocumentLines document;
        document.SetText(text);
        document.SetEncoding(encoding);
        const Kept one = KeptOn(1, document);
        const Kept three = KeptOn(3, document);
        EXPECT_EQ(three.lines, one.lines) << EncodingName(encoding);
        EXPECT_EQ(three.numbers, one.numbers) << EncodingName(encoding);
        EXPECT_LT(one.lines.size(), 600000u);
    }
}

}  // namespace
}  // namespace quillex
