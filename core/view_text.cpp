#include "core/view_text.h"

#include <algorithm>

#include "core/encoded_text.h"

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
    std::size_t used = 0;  // characters, counted with CR LF breaks
    WithEncoding(lines.GetEncoding(), [&](auto text) {
        for (std::size_t i = 0; i < take; ++i) {
            const std::string_view line = lines.Get(i);
            const std::size_t room = capacity - used;
            const std::size_t length = text.CountUpTo(line, room);
            if (length + 2 > room) {
                AppendShown(result.text, line.substr(0, text.Skip(line, room)));
                result.overflow = true;
                break;
            }
            AppendShown(result.text, line);
            result.text += '\n';
            used += length + 2;
        }
    });
    return result;
}

ViewCounts CountViewText(std::u16string_view text) noexcept {
    const auto breaks = static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n'));
    // The second half of a surrogate pair is no character of its own.
    const auto halves = static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char16_t c) { return c >= 0xDC00 && c < 0xE000; }));
    ViewCounts counts;
    counts.lines = breaks + ((text.empty() || text.back() == u'\n') ? 0 : 1);
    counts.characters = text.size() - halves + breaks;
    return counts;
}

std::size_t LongestLineLength(const DocumentLines& lines) noexcept {
    std::size_t longest = 0;
    WithEncoding(lines.GetEncoding(), [&](auto text) {
        for (std::size_t i = 0; i < lines.Count(); ++i) {
            const std::string_view line = lines.Get(i);
            // No more characters than bytes: a line no longer in bytes need not be counted.
            if (line.size() > longest) {
                longest = std::max(longest, text.CountUpTo(line, line.size()));
            }
        }
    });
    return longest;
}

std::size_t CaretEndPosition(std::u16string_view text) noexcept {
    if (!text.empty() && text.back() == u'\n') {
        return text.size() - 1;
    }
    return text.size();
}

namespace {

template <class Char, class IsRed>
std::vector<ColourRun> RunsOf(std::basic_string_view<Char> text, IsRed isRed) {
    std::vector<ColourRun> runs;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool red = isRed(text[i]);
        if (runs.empty() || runs.back().red != red) {
            runs.push_back(ColourRun{.start = i, .length = 0, .red = red});
        }
        ++runs.back().length;
    }
    return runs;
}

}  // namespace

std::vector<ColourRun> CyrillicRuns(std::string_view bytes) {
    return RunsOf(bytes, [](char c) { return static_cast<unsigned char>(c) >= 0xC0; });
}

std::vector<ColourRun> CyrillicRuns(std::u16string_view text) {
    return RunsOf(text, [](char16_t c) { return c >= u'А' && c <= u'я'; });
}

std::string LabelWithNumber(std::string_view prefix, std::size_t number) {
    std::string text(prefix);
    text += std::to_string(number);
    return text;
}

}  // namespace quillex
