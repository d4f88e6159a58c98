#include "core/view_text.h"

#include <algorithm>

namespace quillex {

namespace {

// A line function may leave CR or LF inside a line; shown as they are they would split one
// document line over two view lines.
void AppendShown(std::string& view, std::string_view line) {
    const std::size_t start = view.size();
    view += line;
    std::replace_if(
        view.begin() + static_cast<std::ptrdiff_t>(start), view.end(),
        [](char c) { return c == '\r' || c == '\n'; }, kLineBreakStandIn);
}

}  // namespace

ViewText ComposeViewText(const DocumentLines& lines, std::size_t take, std::size_t capacity) {
    ViewText result;
    take = std::min(take, lines.Count());
    std::size_t used = 0;  // counted with CR LF breaks
    for (std::size_t i = 0; i < take; ++i) {
        const std::string_view line = lines.Get(i);
        const std::size_t room = capacity - used;
        if (line.size() + 2 > room) {
            AppendShown(result.text, line.substr(0, room));
            result.overflow = true;
            break;
        }
        AppendShown(result.text, line);
        result.text += '\n';
        used += line.size() + 2;
    }
    return result;
}

ViewCounts CountViewText(std::u16string_view text) noexcept {
    const auto breaks = static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n'));
    ViewCounts counts;
    counts.lines = breaks + ((text.empty() || text.back() == u'\n') ? 0 : 1);
    counts.characters = text.size() + breaks;
    return counts;
}

std::size_t LongestLineLength(const DocumentLines& lines) noexcept {
    std::size_t longest = 0;
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        longest = std::max(longest, lines.Get(i).size());
    }
    return longest;
}

std::size_t CaretEndPosition(std::u16string_view text) noexcept {
    if (!text.empty() && text.back() == u'\n') {
        return text.size() - 1;
    }
    return text.size();
}

std::vector<ColourRun> CyrillicRuns(std::string_view bytes) {
    std::vector<ColourRun> runs;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool red = static_cast<unsigned char>(bytes[i]) >= 0xC0;
        if (runs.empty() || runs.back().red != red) {
            runs.push_back(ColourRun{.start = i, .length = 0, .red = red});
        }
        ++runs.back().length;
    }
    return runs;
}

std::string LabelWithNumber(std::string_view prefix, std::size_t number) {
    std::string text(prefix);
    text += std::to_string(number);
    return text;
}

}  // namespace quillex
