// The text form against a plain model of the split rule: split, indexed in a buffer (text in
// any form, and text already in the text form, which is indexed where it lies), through the
// document, and back through the join.
#include "core/document_lines.h"
#include "core/text_form.h"
#include "fuzz/finding.h"
#include "fuzz/split_model.h"

using namespace quillex;
using fuzz::Require;

namespace {

ByteBuffer Bytes(std::string_view text) {
    ByteBuffer bytes;
    bytes.Append(text.data(), text.size());
    return bytes;
}

// Indexes `text` and checks the buffer and the index it leaves against the expected lines.
void CheckIndexed(std::string_view text, const std::vector<std::string>& expected) {
    ByteBuffer bytes = Bytes(text);
    LineIndex index;
    IndexTextForm(bytes, index);
    const std::string joined = JoinTextForm(expected);
    Require(std::string_view(bytes.data(), bytes.size()) == joined,
            "IndexTextForm leaves another text");
    Require(expected.empty() ? index.size() <= 1 : index.size() == expected.size() + 1,
            "IndexTextForm gives another line count");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        Require(index[i] <= index[i + 1] && index[i + 1] - index[i] == expected[i].size() + 2 &&
                    joined.compare(index[i], expected[i].size(), expected[i]) == 0,
                "IndexTextForm gives another line");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> expected = fuzz::ModelSplit(text);
    Require(SplitTextForm(text) == expected, "SplitTextForm differs from the rule");

    CheckIndexed(text, expected);
    // The text form itself, and without its last CR LF (where that does not drop an empty
    // last line), are indexed where they lie.
    const std::string joined = JoinTextForm(expected);
    CheckIndexed(joined, expected);
    if (!expected.empty() && !expected.back().empty()) {
        CheckIndexed(std::string_view(joined).substr(0, joined.size() - 2), expected);
    }

    DocumentLines document;
    document.SetText(text);
    Require(document.Count() == expected.size(), "SetText gives another line count");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        Require(document.Get(i) == expected[i], "SetText gives another line");
    }
    Require(document.Text() == joined, "Text differs from JoinTextForm");
    Require(document.ToLines() == expected, "ToLines differs from the rule");
    Require(DocumentLines(expected) == document, "a document of the lines differs");
    Require(SplitTextForm(joined) == expected, "the joined lines do not split back");
    return 0;
}
