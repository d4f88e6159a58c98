// The operations that take whole lines out: conditional removal and word removal compact the
// document where it lies; positional removal and the extension filter give lists of the lines
// to write, without copying a line.

#include <algorithm>
#include <vector>

#include "core/document_editor.h"
#include "core/encoded_text.h"
#include "core/line_operations.h"

namespace quillex {

namespace {

// Visits k = n - 1 down to 0 as a visit that deletes each selected line at once would, and
// then moves every kept run of lines once. `visited(k, removed)` runs after line k. If
// anything throws, the lines visited so far are removed and the rest stay, just as with
// deleting one line at a time.
template <class Select, class Visited>
void RemoveDownward(DocumentLines& lines, Select select, Visited visited,
                    const Progress& progress) {
    DocumentEditor e(lines);
    const std::size_t n = e.Count();
    std::vector<bool> removed(n);
    auto compact = [&] {
        LineSelection kept;
        for (std::size_t i = 0; i < n; ++i) {
            if (!removed[i]) {
                kept.Add(i);
            }
        }
        if (kept.Count() != n) {
            e.Keep(kept);
        }
    };
    try {
        for (std::size_t k = n; k-- > 0;) {
            removed[k] = select(e.Line(k));
            visited(k, static_cast<bool>(removed[k]));
            progress.Step(n - k, n);
        }
    } catch (...) {
        compact();
        throw;
    }
    compact();
}

// The number of characters of the line without what excess-space removal strips at either
// end, counted no further than `limit`: the conditions only ask whether it passes a bound. A
// line that trimming would empty has length 0, in either encoding.
template <class Text>
std::size_t TrimmedLength(std::string_view line, std::size_t limit) {
    return Text::CountUpTo(Text::TrimBlanksEnd(Text::TrimBlanksStart(line)), limit);
}

template <class Text>
bool Contains(std::string_view line, std::string_view text) {
    return !text.empty() && Text::Find(line, text) != std::string_view::npos;
}

template <class Text>
bool Meets(RemovalCondition condition, std::string_view text, std::string_view line) {
    switch (condition) {
        case RemovalCondition::LengthIs0:
            return TrimmedLength<Text>(line, 1) == 0;
        case RemovalCondition::LengthBelow5:
            return TrimmedLength<Text>(line, 5) < 5;
        case RemovalCondition::LengthBelow20:
            return TrimmedLength<Text>(line, 20) < 20;
        case RemovalCondition::LengthAbove1:
            return TrimmedLength<Text>(line, 2) > 1;
        case RemovalCondition::LengthAbove5:
            return TrimmedLength<Text>(line, 6) > 5;
        case RemovalCondition::LengthAbove20:
            return TrimmedLength<Text>(line, 21) > 20;
        case RemovalCondition::ContainsPercent:
            return line.find('%') != std::string_view::npos;
        case RemovalCondition::ContainsQuestionMark:
            return line.find('?') != std::string_view::npos;
        case RemovalCondition::ContainsDollar:
            return line.find('$') != std::string_view::npos;
        case RemovalCondition::ContainsText:
            return Contains<Text>(line, text);
    }
    return false;
}

}  // namespace

void RemoveLinesByCondition(DocumentLines& lines, std::optional<RemovalCondition> condition,
                            std::string_view text, const Progress& progress) {
    if (!condition) {
        return;
    }
    std::size_t removed_count = 0;
    WithEncoding(lines.GetEncoding(), [&](auto encoded) {
        RemoveDownward(
            lines,
            [&](std::string_view line) { return Meets<decltype(encoded)>(*condition, text, line); },
            [&](std::size_t, bool removed) {
                if (removed) {
                    progress(++removed_count);
                }
            },
            progress);
    });
}

void RemoveLinesWithWord(DocumentLines& lines, std::string_view word, const Progress& progress) {
    WithEncoding(lines.GetEncoding(), [&](auto encoded) {
        RemoveDownward(
            lines, [&](std::string_view line) { return Contains<decltype(encoded)>(line, word); },
            [&](std::size_t k, bool) { progress(k); }, progress);
    });
}

LineSelection RemoveLinesBefore(const DocumentLines& lines, std::int32_t n,
                                const Progress& progress) {
    if (n < 0) {
        throw RunError("line index out of range: " + std::to_string(n));
    }
    LineSelection rest;
    const auto first = static_cast<std::size_t>(n);
    for (std::size_t i = first; i < lines.Count(); ++i) {
        progress(i + 1);
        progress.Step(i + 1, lines.Count());
    }
    if (first < lines.Count()) {
        rest.AddRange(first, lines.Count() - first);
    }
    return rest;
}

namespace {

bool Separates(char c) {
    return c == '.' || c == '\\' || c == ':';
}

// Whether LineExtension(line) == text, without looking at more of the line than needed: a
// text that is an extension (a full stop, then no separator) is the line's extension exactly
// when the line ends with it; any other text but the empty one is no line's extension.
bool IsExtension(std::string_view text) {
    return !text.empty() && text.front() == '.' &&
           std::none_of(text.begin() + 1, text.end(), Separates);
}

bool HasExtension(std::string_view line, std::string_view text) {
    if (text.empty()) {
        return LineExtension(line).empty();
    }
    if (!IsExtension(text)) {
        return false;
    }
    return line.size() >= text.size() && line.substr(line.size() - text.size()) == text;
}

}  // namespace

std::string_view LineExtension(std::string_view line) {
    // The last full stop, backslash or colon; only a full stop starts an extension.
    std::size_t at = line.size();
    while (at > 0 && !Separates(line[at - 1])) {
        --at;
    }
    if (at == 0 || line[at - 1] != '.') {
        return {};
    }
    return line.substr(at - 1);
}

ExtensionSplit FilterLinesByExtension(const DocumentLines& lines, std::string_view text,
                                      const Progress& progress) {
    ExtensionSplit split;
    const std::size_t n = lines.Count();
    for (std::size_t i = 0; i < n; ++i) {
        if (HasExtension(lines.Get(i), text)) {
            split.matching.Add(i);
        } else {
            split.others.Add(i);
        }
        progress(split.matching.Count());  // how far the kept part has grown: the matches so far
        progress.Step(i + 1, n);
    }
    return split;
}

std::optional<KeptLines> KeepBlockLinesWithExtension(ByteBuffer& block, std::string_view text) {
    if (!IsExtension(text)) {
        return std::nullopt;
    }
    return KeepLinesEndingWith(block, text);
}

std::optional<KeptLines> CopyBlockLinesWithExtension(std::string_view block, std::string_view text,
                                                     ByteBuffer& into) {
    if (!IsExtension(text)) {
        return std::nullopt;
    }
    return CopyLinesEndingWith(block, text, into);
}

}  // namespace quillex
