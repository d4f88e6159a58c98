#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "core/document_editor.h"
#include "core/line_operations.h"
#include "core/text_form.h"

namespace quillex {

namespace {

// In the text form every line brings one CR and one LF of its own: any more, or a NUL, lie
// inside lines.
bool LinesHoldBreakBytes(const DocumentLines& lines) {
    const BreakCounts counts = CountBreakBytes(lines.TextForm());
    return counts.cr != lines.Count() || counts.lf != lines.Count() || counts.nul != 0;
}

// The join by the text form, step by step: every line + CR LF, then each CR LF becomes the
// marker (or every CR and LF goes), then the text is split again. Only lines that hold CR, LF
// or NUL need this; for all others the direct joins give the same lines.
void JoinThroughTextForm(DocumentLines& lines, bool marker) {
    const std::string_view text = lines.TextForm();
    std::string joined;
    joined.reserve(marker ? text.size() * 2 : text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (marker && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            joined += "<br>";
            ++i;
        } else if (marker || (text[i] != '\r' && text[i] != '\n')) {
            joined += text[i];
        }
    }
    lines.SetText(joined);
}

// Without the marker the lines only lose their breaks: packed where they lie.
void JoinPacked(DocumentLines& lines) {
    DocumentEditor e(lines);
    const std::size_t n = e.Count();
    char* base = e.text().data();
    std::uint64_t at = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view line = e.Line(i);
        if (base + at != line.data()) {
            std::memmove(base + at, line.data(), line.size());
        }
        at += line.size();
    }
    if (at == 0) {
        e.Finish(0, 0);  // only empty lines: nothing is left
        return;
    }
    base[at] = '\r';
    base[at + 1] = '\n';
    e.index() = LineIndex();
    e.index().Push(0);
    e.index().Push(at + 2);
    e.text().Resize(static_cast<std::size_t>(at + 2));
}

// With the marker every CR LF becomes "<br>", two bytes more a line: the buffer grows once
// and the lines move up from the last one.
void JoinMarked(DocumentLines& lines) {
    DocumentEditor e(lines);
    const std::size_t n = e.Count();
    const std::size_t size = e.text().size();
    if (n > (std::numeric_limits<std::size_t>::max() - size - 2) / 2) {
        throw std::bad_alloc();
    }
    const std::size_t grown = size + 2 * n + 2;
    e.text().Reserve(grown);
    LineIndex joined;
    joined.Prepare(grown);
    joined.Push(0);
    joined.Push(grown);
    char* base = e.text().data();
    std::uint64_t end = e.index()[n];
    for (std::size_t i = n; i-- > 0;) {
        const std::uint64_t from = e.index()[i];
        const auto length = static_cast<std::size_t>(end - from - 2);
        const std::uint64_t to = from + 2 * i;
        std::memmove(base + to, base + from, length);
        std::memcpy(base + to + length, "<br>", 4);
        end = from;
    }
    base[grown - 2] = '\r';
    base[grown - 1] = '\n';
    e.text().Resize(grown);
    e.index() = std::move(joined);
}

}  // namespace

void RemoveLineFolds(DocumentLines& lines, bool marker, const Progress& progress) {
    progress(lines.Count());
    if (lines.Count() == 0) {
        return;
    }
    if (LinesHoldBreakBytes(lines)) {
        JoinThroughTextForm(lines, marker);
    } else if (marker) {
        JoinMarked(lines);
    } else {
        JoinPacked(lines);
    }
}

}  // namespace quillex
