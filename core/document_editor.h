#pragma once

// The core's own access to a document's buffer and index, for the line functions that
// rewrite, compact or regroup lines in one pass. Nothing outside core/ includes this.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/document_lines.h"
#include "core/line_selection.h"
#include "core/progress.h"

namespace quillex {

class DocumentEditor {
  public:
    explicit DocumentEditor(DocumentLines& document) noexcept : d_(document) {}

    std::size_t Count() const noexcept { return d_.Count(); }
    ByteBuffer& text() noexcept { return d_.text_; }
    LineIndex& index() noexcept { return d_.index_; }
    std::string_view Line(std::size_t i) const noexcept {
        return {d_.text_.data() + d_.Start(i), d_.Length(i)};
    }
    // For a pass over lines in an order of their own: line i's index entry is fetched far
    // ahead (`IndexAhead`), then its first bytes nearer (`LineAhead`, which reads the entry),
    // so that the memory serves many lines at once.
    void IndexAhead(std::size_t i) const noexcept { d_.index_.Prefetch(i); }
    void LineAhead(std::size_t i, std::size_t offset = 0) const noexcept {
        __builtin_prefetch(d_.text_.data() + d_.Start(i) + offset);
    }

    // Moves lines first..Count-1, each a subrange of its present bytes given by `part`, down
    // so that line `first` starts at `at`; the index follows. No allocation, so it serves to
    // close a gap after a failure too.
    template <class Part>
    void PackFrom(std::size_t first, std::uint64_t at, Part part) noexcept {
        char* base = d_.text_.data();
        const std::size_t n = Count();
        for (std::size_t j = first; j < n; ++j) {
            const std::string_view piece = part(j, Line(j));
            d_.index_.Set(j, at);
            if (base + at != piece.data()) {
                std::memmove(base + at, piece.data(), piece.size());
            }
            at += piece.size();
            base[at] = '\r';
            base[at + 1] = '\n';
            at += 2;
        }
        Finish(n, at);
    }

    // Closes the gap between the lines packed so far (ending at `at`) and line `first`, which
    // is still where it was.
    void CloseGap(std::size_t first, std::uint64_t at) noexcept {
        PackFrom(first, at, [](std::size_t, std::string_view line) { return line; });
    }

    // Keeps only the selected lines, in order, moving each run of them once.
    void Keep(const LineSelection& kept) noexcept;

    // The end of the text after `count` lines: the index and the buffer end there.
    void Finish(std::size_t count, std::uint64_t end) noexcept {
        if (count == 0) {
            d_.index_.Clear();
            d_.text_.Clear();
            return;
        }
        d_.index_.Set(count, end);
        d_.index_.Truncate(count + 1);
        d_.text_.Resize(static_cast<std::size_t>(end));
    }

    // Reads the same bytes in `encoding`, a byte-order mark at the start of the first line
    // included: for lines taken from within a text, where such a mark is part of a line.
    void ReadAs(Encoding encoding) noexcept { d_.encoding_ = encoding; }

  private:
    DocumentLines& d_;
};

// Rewrites every line where it lies, in order. `rewrite(i, line, out)` writes the new line at
// `out` (which is at or before line.data(), so the copy must run forward) and returns its
// length, no more than the line's; it may throw before it writes. `after(i)` runs once line
// i is stored, and then `progress` hears how many lines are done. A failure leaves the lines
// before it rewritten and the rest as they were.
template <class Rewrite, class After>
void RewriteInPlace(DocumentLines& document, Rewrite rewrite, After after,
                    const Progress& progress) {
    DocumentEditor e(document);
    const std::size_t n = e.Count();
    char* base = e.text().data();
    std::uint64_t at = 0;
    std::size_t next = 0;  // the first line not yet stored
    try {
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t length = rewrite(i, e.Line(i), base + at);
            e.index().Set(i, at);
            at += length;
            base[at] = '\r';
            base[at + 1] = '\n';
            at += 2;
            next = i + 1;
            after(i);
            progress.Step(next, n);
        }
    } catch (...) {
        e.CloseGap(next, at);
        throw;
    }
    e.Finish(n, at);
}

// Rewrites every line into a new buffer, for a rewrite that may lengthen lines: `rewrite(i,
// line, out)` appends the new line to `out`, and may throw before it appends anything.
// `after(i)` runs once line i is stored. A failure leaves the lines before it rewritten and
// the rest as they were.
// A document's text built anew, line by line, put in place of the old text at the end.
class TextBuilder {
  public:
    // Room for `size` bytes in `lines` lines, made first so that a pass that fits cannot fail.
    TextBuilder(std::size_t size, std::size_t lines) {
        text_.Reserve(size);
        index_.Prepare(size);
        index_.Reserve(lines + 1);
    }

    // A line starts at the end of the text.
    void StartLine() { index_.Push(text_.size()); }
    ByteBuffer& text() noexcept { return text_; }
    LineIndex& index() noexcept { return index_; }

    void PutInPlace(DocumentEditor& e) {
        if (index_.empty()) {
            e.Finish(0, 0);
            return;
        }
        index_.Push(text_.size());
        e.text().swap(text_);
        e.index() = std::move(index_);
    }

  private:
    ByteBuffer text_;
    LineIndex index_;
};

template <class Rewrite, class After>
void RewriteGrowing(DocumentLines& document, Rewrite rewrite, After after) {
    DocumentEditor e(document);
    const std::size_t n = e.Count();
    if (n == 0) {
        return;
    }
    TextBuilder built(e.text().size(), n);
    ByteBuffer& text = built.text();
    auto store = [&](std::size_t i, auto fill) {
        built.StartLine();
        fill(i, e.Line(i), text);
        text.Append("\r\n", 2);
    };
    auto finish = [&] { built.PutInPlace(e); };
    std::size_t next = 0;  // the first line not yet stored
    try {
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t mark = text.size();
            try {
                store(i, rewrite);
            } catch (...) {
                built.index().Truncate(i);
                text.Resize(mark);
                throw;
            }
            next = i + 1;
            after(i);
        }
    } catch (...) {
        for (std::size_t i = next; i < n; ++i) {
            store(i, [](std::size_t, std::string_view line, ByteBuffer& out) {
                out.Append(line.data(), line.size());
            });
        }
        finish();
        throw;
    }
    finish();
}

}  // namespace quillex
