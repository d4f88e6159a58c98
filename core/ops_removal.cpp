// The operations that take whole lines out: conditional removal and word removal delete in
// place, positional removal and the extension filter build new lists.

#include <algorithm>

#include "core/line_operations.h"
#include "core/line_trim.h"

namespace quillex {

namespace {

// Visits k = n - 1 down to 0, like a visit that deletes each selected line at once, but moves
// every kept line only once: kept lines gather at the back and the gap they leave is erased
// at the end. `visited(k, removed)` runs after line k. If anything throws, the lines visited
// so far are removed and the rest stay, just as with deleting one line at a time.
template <class Select, class Visited>
void RemoveDownward(Lines& lines, Select select, Visited visited) {
    struct CloseGap {
        Lines& lines;
        std::size_t gap_start;  // [gap_start, kept) holds removed or moved-from lines
        std::size_t kept;       // [kept, n) holds the kept lines, in order
        ~CloseGap() {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(gap_start),
                        lines.begin() + static_cast<std::ptrdiff_t>(kept));
        }
    } gap{lines, lines.size(), lines.size()};

    for (std::size_t k = lines.size(); k-- > 0;) {
        const bool removed = select(std::string_view(lines[k]));
        if (!removed && --gap.kept != k) {
            lines[gap.kept] = std::move(lines[k]);
        }
        gap.gap_start = k;
        visited(k, removed);
    }
}

std::size_t TrimmedLength(std::string_view line) {
    return TrimEnd(TrimStart(line)).size();
}

bool Contains(std::string_view line, std::string_view text) {
    return !text.empty() && line.find(text) != std::string_view::npos;
}

bool Meets(RemovalCondition condition, std::string_view text, std::string_view line) {
    switch (condition) {
        case RemovalCondition::LengthIs0:
            return TrimmedLength(line) == 0;
        case RemovalCondition::LengthBelow5:
            return TrimmedLength(line) < 5;
        case RemovalCondition::LengthBelow20:
            return TrimmedLength(line) < 20;
        case RemovalCondition::LengthAbove1:
            return TrimmedLength(line) > 1;
        case RemovalCondition::LengthAbove5:
            return TrimmedLength(line) > 5;
        case RemovalCondition::LengthAbove20:
            return TrimmedLength(line) > 20;
        case RemovalCondition::ContainsPercent:
            return line.find('%') != std::string_view::npos;
        case RemovalCondition::ContainsQuestionMark:
            return line.find('?') != std::string_view::npos;
        case RemovalCondition::ContainsDollar:
            return line.find('$') != std::string_view::npos;
        case RemovalCondition::ContainsText:
            return Contains(line, text);
    }
    return false;
}

}  // namespace

void RemoveLinesByCondition(Lines& lines, std::optional<RemovalCondition> condition,
                            std::string_view text, const Progress& progress) {
    if (!condition) {
        return;
    }
    std::size_t removed_count = 0;
    RemoveDownward(
        lines, [&](std::string_view line) { return Meets(*condition, text, line); },
        [&](std::size_t, bool removed) {
            if (removed) {
                progress(++removed_count);
            }
        });
}

void RemoveLinesWithWord(Lines& lines, std::string_view word, const Progress& progress) {
    RemoveDownward(
        lines, [&](std::string_view line) { return Contains(line, word); },
        [&](std::size_t k, bool) { progress(k); });
}

Lines RemoveLinesBefore(const Lines& lines, std::int32_t n, const Progress& progress) {
    if (n < 0) {
        throw RunError("line index out of range: " + std::to_string(n));
    }
    Lines result;
    const auto first = static_cast<std::size_t>(n);
    if (first < lines.size()) {
        result.reserve(lines.size() - first);
    }
    for (std::size_t i = first; i < lines.size(); ++i) {
        result.push_back(lines[i]);
        progress(i + 1);
    }
    return result;
}

std::string_view LineExtension(std::string_view line) {
    // The last full stop, backslash or colon; only a full stop starts an extension.
    const std::size_t at = line.find_last_of(".\\:");
    if (at == std::string_view::npos || line[at] != '.') {
        return {};
    }
    return line.substr(at);
}

ExtensionSplit FilterLinesByExtension(const Lines& lines, std::string_view text,
                                      const Progress& progress) {
    ExtensionSplit split;
    std::size_t matched = 0;
    for (const std::string& line : lines) {
        if (LineExtension(line) == text) {
            split.matching.push_back(line);
            ++matched;
        } else {
            split.others.push_back(line);
        }
        progress(matched);  // the index the visit stands at: the matching lines so far
    }
    return split;
}

}  // namespace quillex
