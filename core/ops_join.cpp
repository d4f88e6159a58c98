#include <algorithm>
#include <cstring>

#include "core/line_operations.h"
#include "core/text_form.h"

namespace quillex {

namespace {

bool HoldsBreakBytes(const Lines& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return std::memchr(line.data(), '\r', line.size()) != nullptr ||
               std::memchr(line.data(), '\n', line.size()) != nullptr ||
               std::memchr(line.data(), '\0', line.size()) != nullptr;
    });
}

// The join by the text form, step by step: every line + CR LF, then each CR LF becomes the
// marker (or every CR and LF goes), then the text is split again. Only lines that hold CR, LF
// or NUL need this; for all others JoinDirect gives the same lines.
Lines JoinThroughTextForm(const Lines& lines, bool marker) {
    std::string text = JoinTextForm(lines);
    if (marker) {
        std::string replaced;
        replaced.reserve(text.size() * 2);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                replaced += "<br>";
                ++i;
            } else {
                replaced += text[i];
            }
        }
        text = std::move(replaced);
    } else {
        std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    }
    return SplitTextForm(text);
}

Lines JoinDirect(const Lines& lines, bool marker) {
    std::string joined;
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + (marker ? 4 : 0);
    }
    joined.reserve(size);
    for (const std::string& line : lines) {
        joined += line;
        if (marker) {
            joined += "<br>";
        }
    }
    Lines result;
    if (!joined.empty()) {
        result.push_back(std::move(joined));
    }
    return result;
}

}  // namespace

void RemoveLineFolds(Lines& lines, bool marker, const Progress& progress) {
    progress(lines.size());
    // Built aside and swapped in, so that a lack of memory leaves the document as it was.
    Lines joined =
        HoldsBreakBytes(lines) ? JoinThroughTextForm(lines, marker) : JoinDirect(lines, marker);
    lines.swap(joined);
}

}  // namespace quillex
