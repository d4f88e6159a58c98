#pragma once

// Rebuilding a document in a new order of its lines, for sort, reverse and shuffle.
// Core-internal.

#include <cstddef>
#include <cstdint>
#include <limits>

#include "core/document_editor.h"
#include "core/line_operations.h"

namespace quillex {

// Line numbers of the reordering functions are 32 bits wide.
inline void CheckLineCount(const DocumentLines& lines) {
    if (lines.Count() >= std::numeric_limits<std::uint32_t>::max()) {
        throw RunError("too many lines to reorder");
    }
}

// How many lines ahead a pass in a new order asks the memory for a line.
constexpr std::size_t kAhead = 8;

// Builds the document anew with line `source(k)` as its line k, each line copied once with
// its CR LF, and puts it in place of the old one at the end; the watcher hears of line k as
// unit `done + k + 1` of `total`. A failure or a cancel leaves the document as it was.
template <class Source>
void RebuildInOrder(DocumentLines& document, Source source, const Progress& progress,
                    std::uint64_t done, std::uint64_t total) {
    DocumentEditor e(document);
    const std::size_t n = e.Count();
    if (n == 0) {
        return;
    }
    TextBuilder built(e.text().size(), n);
    for (std::size_t k = 0; k < n; ++k) {
        if (k + 2 * kAhead < n) {
            e.IndexAhead(source(k + 2 * kAhead));
        }
        if (k + kAhead < n) {
            e.LineAhead(source(k + kAhead));
        }
        const std::string_view line = e.Line(source(k));
        built.StartLine();
        built.text().Append(line.data(), line.size() + 2);  // every line is followed by its CR LF
        progress.Step(done + k + 1, total);
    }
    built.PutInPlace(e);
}

}  // namespace quillex
