// The line functions on UTF-8 documents, through the registry the window and the batch
// runner use: over ASCII alone a UTF-8 document gives exactly what a Windows-1251 one gives,
// a run stopped at a progress call too; and a document of valid UTF-8 stays valid UTF-8 under
// every function with valid UTF-8 texts, so no character is ever split.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "core/encoding.h"
#include "core/line_functions.h"
#include "fuzz/draw.h"
#include "fuzz/finding.h"
#include "tests/core/op_outcome.h"

using namespace quillex;
using fuzz::Entry;
using fuzz::Require;
using testing::Outcome;
using testing::RunOp;

namespace {

FunctionParams Draw(FuzzedDataProvider& in, Encoding encoding) {
    FunctionParams p;
    auto text = [&] { return in.ConsumeRandomLengthString(6); };
    p.count = in.ConsumeBool() ? std::to_string(in.ConsumeIntegralInRange(-2, 30)) : text();
    p.from = FirstChar(text(), encoding);
    p.to = FirstChar(text(), encoding);
    p.cut_word = text();
    p.left = text();
    p.add_left = in.ConsumeBool();
    p.right = text();
    p.add_right = in.ConsumeBool();
    p.condition = Entry<RemovalCondition>(in, 10);
    p.condition_text = text();
    p.char_class = Entry<CharClass>(in, 3);
    p.marker = in.ConsumeBool();
    p.drop_count = std::to_string(in.ConsumeIntegralInRange(-1, 20));
    p.extension = text();
    p.mode = in.ConsumeBool() ? FilterMode::KeepMatching : FilterMode::RemoveMatching;
    p.side = Entry<TrimSide>(in, 3);
    p.remove_word = text();
    p.sort_by = static_cast<SortOrder>(in.ConsumeIntegralInRange(0, 4));
    p.descending = in.ConsumeBool();
    p.seed = in.ConsumeIntegral<std::uint64_t>();  // so that two runs give one order
    p.duplicates.keep = static_cast<DuplicateKeep>(in.ConsumeIntegralInRange(0, 3));
    p.duplicates.exact = in.ConsumeBool();
    p.duplicates.count = in.ConsumeBool();
    return p;
}

bool Valid(const FunctionParams& p) {
    for (const std::string* t : {&p.count, &p.cut_word, &p.left, &p.right, &p.condition_text,
                                 &p.extension, &p.remove_word}) {
        if (!IsValidUtf8(*t)) {
            return false;
        }
    }
    return (!p.from || IsValidUtf8(*p.from)) && (!p.to || IsValidUtf8(*p.to));
}

bool Ascii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
}

Outcome Run(FunctionId id, const FunctionParams& params, Encoding encoding, const Lines& lines,
            std::optional<std::size_t> stopAt) {
    return RunOp(
        [&](Lines& l, const Progress& progress) {
            DocumentLines document(l);
            document.SetEncoding(encoding);
            std::vector<Lines> results;
            try {
                const FunctionResult r = RunLineFunction(id, params, document, progress);
                if (r.to_write) {
                    results.push_back(document.ToLines(*r.to_write));
                }
            } catch (...) {
                l = document.ToLines();
                throw;
            }
            l = document.ToLines();
            return results;
        },
        lines, stopAt);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto id = static_cast<FunctionId>(in.ConsumeIntegralInRange(0, kFunctionCount - 1));
    const std::optional<std::size_t> stopAt =
        in.ConsumeBool() ? std::optional<std::size_t>(in.ConsumeIntegralInRange(0, 20))
                         : std::nullopt;
    const FunctionParams params = Draw(in, Encoding::Utf8);
    Lines lines;
    while (in.remaining_bytes() > 0 && lines.size() < 32) {
        std::string line = in.ConsumeRandomLengthString(24);
        std::erase_if(line, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
        lines.push_back(std::move(line));
    }
    const bool asciiLines = std::all_of(lines.begin(), lines.end(), Ascii);
    const Outcome utf8 = Run(id, params, Encoding::Utf8, lines, stopAt);

    FunctionParams bytes = params;  // the same texts, each replace character a single byte
    bytes.from = params.from ? FirstChar(*params.from, Encoding::Windows1251) : std::nullopt;
    bytes.to = params.to ? FirstChar(*params.to, Encoding::Windows1251) : std::nullopt;
    if (asciiLines && Valid(params) && Ascii(params.from.value_or("")) &&
        Ascii(params.to.value_or("")) && Ascii(params.cut_word) && Ascii(params.remove_word) &&
        Ascii(params.condition_text) && Ascii(params.extension) && Ascii(params.left) &&
        Ascii(params.right)) {
        Require(Run(id, bytes, Encoding::Windows1251, lines, stopAt) == utf8,
                "ASCII reads differently in UTF-8");
    }
    const bool validLines = std::all_of(lines.begin(), lines.end(),
                                        [](const std::string& l) { return IsValidUtf8(l); });
    if (validLines && Valid(params)) {
        for (const std::string& line : utf8.lines) {
            Require(IsValidUtf8(line), "a function split a character");
        }
        for (const Lines& list : utf8.results) {
            for (const std::string& line : list) {
                Require(IsValidUtf8(line), "a written list split a character");
            }
        }
    }
    return 0;
}
