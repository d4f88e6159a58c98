#pragma once

// The line operations over plain lists, for the tables and the equivalence tests that speak of
// lists: each copies the list into a document, runs the operation there and copies the
// document back, a failure included, so what the tests assert is what the document holds.

#include "core/line_operations.h"
#include "core/view_text.h"

namespace quillex {

template <class Run>
void OnDocument(Lines& lines, Run run) {
    DocumentLines document(lines);
    try {
        run(document);
    } catch (...) {
        lines = document.ToLines();
        throw;
    }
    lines = document.ToLines();
}

inline void RemoveLeadingChars(Lines& l, std::string_view count, const Progress& p) {
    OnDocument(l, [&](DocumentLines& d) { RemoveLeadingChars(d, count, p); });
}
inline void ReplaceChar(Lines& l, std::optional<char> c1, std::optional<char> c2,
                        const Progress& p) {
    OnDocument(l, [&](DocumentLines& d) { ReplaceChar(d, c1, c2, p); });
}
inline void TruncateAtWord(Lines& l, std::string_view word, const Progress& p) {
    OnDocument(l, [&](DocumentLines& d) { TruncateAtWord(d, word, p); });
}
inline void AddTextToLines(Lines& l, std::string_view left, std::string_view right,
                           const Progress& p) {
    OnDocument(l, [&](DocumentLines& d) { AddTextToLines(d, left, right, p); });
}
inline void RemoveLinesByCondition(Lines& l, std::optional<RemovalCondition> condition,
                                   std::string_view text, const Progress& p) {
    OnDocument(l, [&](DocumentLines& d) { RemoveLinesByCondition(d, condition, text, p); });
}
inline Lines RemoveDuplicateLines(const Lines& l, const Progress& p) {
    const DocumentLines d(l);
    return d.ToLines(RemoveDuplicateLines(d, p));
}
inline void RemoveCharClass(Lines& l, std::optional<CharClass> charClass, const Progress& p) {
    OnDocument(l, [&](DocumentLines& d) { RemoveCharClass(d, charClass, p); });
}
inline void RemoveLineFolds(Lines& l, bool marker, const Progress& p) {
    OnDocument(l, [&](DocumentLines& d) { RemoveLineFolds(d, marker, p); });
}
inline Lines RemoveLinesBefore(const Lines& l, std::int32_t n, const Progress& p) {
    const DocumentLines d(l);
    return d.ToLines(RemoveLinesBefore(d, n, p));
}
struct ListSplit {
    Lines matching;
    Lines others;
};
inline ListSplit FilterLinesByExtension(const Lines& l, std::string_view text, const Progress& p) {
    const DocumentLines d(l);
    const ExtensionSplit split = FilterLinesByExtension(d, text, p);
    return {d.ToLines(split.matching), d.ToLines(split.others)};
}
inline void TrimLines(Lines& l, std::optional<TrimSide> side, const Progress& p) {
    OnDocument(l, [&](DocumentLines& d) { TrimLines(d, side, p); });
}
inline void RemoveLinesWithWord(Lines& l, std::string_view word, const Progress& p) {
    OnDocument(l, [&](DocumentLines& d) { RemoveLinesWithWord(d, word, p); });
}

inline ViewText ComposeViewText(const Lines& l, std::size_t take,
                                std::size_t capacity = kViewCapacity) {
    return ComposeViewText(DocumentLines(l), take, capacity);
}
inline std::size_t LongestLineLength(const Lines& l) {
    return LongestLineLength(DocumentLines(l));
}

}  // namespace quillex
