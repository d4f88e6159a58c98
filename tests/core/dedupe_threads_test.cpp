// The duplicate functions on several threads keep the lines, count the groups and report the
// numbers of the same functions on one.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/block_pipeline.h"
#include "core/document_lines.h"
#include "core/line_operations.h"
#include "core/line_ordering.h"

namespace quillex {
namespace {

struct Result {
    std::string text;
    std::vector<std::size_t> numbers;
};

using Work = std::function<std::string(DocumentLines&, const Progress&)>;

Result On(unsigned threads, const DocumentLines& document, const Work& work) {
    SetWorkThreads(threads);
    Result result;
    DocumentLines copy = document;
    result.text = work(copy, [&](std::size_t n) { result.numbers.push_back(n); });
    SetWorkThreads(0);
    return result;
}

Work Mode(DuplicateKeep keep, bool exact, bool count) {
    return [=](DocumentLines& lines, const Progress& progress) {
        RemoveDuplicates(lines, {keep, exact, count}, progress);
        return lines.Text();
    };
}

// Enough lines for several rounds of the threads, with groups that differ in case only (Ё and ё
// in both encodings) and lines that come once.
TEST(DuplicatesOnThreads, DoWhatOneThreadDoes) {
    const std::vector<std::pair<const char*, Work>> works = {
        {"dedupe",
         [](DocumentLines& lines, const Progress& progress) {
             std::string text;
             for (std::string_view piece : lines.TextForm(RemoveDuplicateLines(lines, progress))) {
                 text.append(piece);
             }
             return text;
         }},
        {"first, exact", Mode(DuplicateKeep::First, true, false)},
        {"last, counted", Mode(DuplicateKeep::Last, false, true)},
        {"none", Mode(DuplicateKeep::None, false, false)},
        {"first, counted", Mode(DuplicateKeep::First, false, true)},
    };
    for (Encoding encoding : {Encoding::Windows1251, Encoding::Utf8}) {
        const std::string upper = encoding == Encoding::Utf8 ? "\xD0\x81" : "\xA8";
        const std::string lower = encoding == Encoding::Utf8 ? "\xD1\x91" : "\xB8";
        std::string text;
        for (std::size_t k = 0; k < 300000; ++k) {
            const std::size_t key = k * 2654435761u % 75000;
            text += (k % 2 == 0 ? upper : lower) + "w" + std::to_string(key % 7 == 0 ? k : key) +
                    (k % 3 == 0 ? "X" : "x") + "\r\n";
        }
        DocumentLines document;
        document.SetText(text);
        document.SetEncoding(encoding);
        for (const auto& [name, work] : works) {
            const Result one = On(1, document, work);
            const Result three = On(3, document, work);
            EXPECT_EQ(three.text, one.text) << name << ", " << EncodingName(encoding);
            EXPECT_EQ(three.numbers, one.numbers) << name << ", " << EncodingName(encoding);
            EXPECT_LT(one.numbers.size(), 300000u) << name;
        }
    }
}

}  // namespace
}  // namespace quillex
