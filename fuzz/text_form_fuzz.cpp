// The text form against a plain model of the split rule: whole, fed in pieces of every size
// (as a file is read in chunks), through the document, and back through the join.
#include <fuzzer/FuzzedDataProvider.h>

#include <random>

#include "core/document_lines.h"
#include "core/text_form.h"
#include "fuzz/finding.h"
#include "fuzz/split_model.h"

using namespace quillex;
using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto seed = in.ConsumeIntegral<std::uint32_t>();
    const std::string text = in.ConsumeRemainingBytesAsString();
    const std::vector<std::string> expected = fuzz::ModelSplit(text);

    Require(SplitTextForm(text) == expected, "SplitTextForm differs from the rule");

    // Pieces of random sizes, empty ones among them; a CR LF may fall across two pieces.
    std::vector<std::string> fed;
    LineSplitter splitter(fed);
    std::minstd_rand random(seed);
    bool going = true;
    for (std::size_t p = 0; p < text.size();) {
        const std::size_t n = std::min<std::size_t>(text.size() - p, random() % 9);
        const bool more = splitter.Feed(std::string_view(text).substr(p, n));
        Require(!more || going, "LineSplitter took text after a NUL");
        going = more;
        p += n;
    }
    splitter.Finish();
    Require(fed == expected, "LineSplitter in pieces differs from the rule");
    Require(going == !fuzz::ModelNulOffset(text), "LineSplitter did not stop at the NUL");

    DocumentLines document;
    document.SetText(text);
    Require(document.Count() == expected.size(), "SetText gives another line count");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        Require(document.Get(i) == expected[i], "SetText gives another line");
    }

    const std::string joined = JoinTextForm(expected);
    Require(joined.size() == TextFormSize(expected), "TextFormSize is not the joined size");
    Require(document.Text() == joined, "Text differs from JoinTextForm");
    Require(SplitTextForm(joined) == expected, "the joined lines do not split back");
    return 0;
}
