#include "core/text_form.h"

#include <algorithm>
#include <cstring>

#include "core/document_lines.h"

namespace quillex {

namespace {

const char* Find(const char* p, const char* end, char c) {
    return static_cast<const char*>(std::memchr(p, c, static_cast<std::size_t>(end - p)));
}

// Lines in the first 64 KiB, scaled to the whole text: enough to size the index once for any
// file whose lines are alike, without a second scan.
std::size_t EstimateLines(const char* p, std::size_t size) {
    const std::size_t sample = std::min<std::size_t>(size, 64 << 10);
    const auto breaks = static_cast<std::size_t>(std::count(p, p + sample, '\n'));
    return sample == 0 ? 1 : breaks * (size / sample) + breaks / 8 + 16;
}

// The general rule, for text with lone breaks: every line copied once into `out`.
void Rewrite(const char* p, const char* end, ByteBuffer& out, LineIndex& index) {
    out.Reserve(static_cast<std::size_t>(end - p) + (static_cast<std::size_t>(end - p) >> 6) + 2);
    index.Clear();
    while (p < end) {
        const char* lf = Find(p, end, '\n');
        const char* stop = lf != nullptr ? lf : end;
        if (const char* cr = Find(p, stop, '\r')) {
            stop = cr;
        }
        index.Push(out.size());
        out.Append(p, static_cast<std::size_t>(stop - p));
        out.Append("\r\n", 2);
        if (stop == end) {
            break;
        }
        p = (*stop == '\r' && stop + 1 < end && stop[1] == '\n') ? stop + 2 : stop + 1;
    }
    index.Push(out.size());
}

}  // namespace

void IndexTextForm(ByteBuffer& text, LineIndex& index) {
    index.Clear();
    if (text.empty()) {
        return;
    }
    if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
        text.Resize(static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
        if (text.empty()) {
            return;
        }
    }
    index.Reserve(EstimateLines(text.data(), text.size()));
    const char* const begin = text.data();
    const char* p = begin;
    const char* end = begin + text.size();
    while (p < end) {
        index.Push(static_cast<std::uint64_t>(p - begin));
        const char* lf = Find(p, end, '\n');
        const char* stop = lf != nullptr ? lf : end;
        const char* cr = Find(p, stop, '\r');
        if (cr != nullptr && cr + 1 == lf) {
            p = lf + 1;
            continue;
        }
        if (lf == nullptr && cr == nullptr) {
            // The last line has no break: one is added where the text lies.
            text.Append("\r\n", 2);
            index.Push(text.size());
            return;
        }
        // A lone CR or LF: the text is not in the text form.
        ByteBuffer rewritten;
        Rewrite(begin, end, rewritten, index);
        text.swap(rewritten);
        return;
    }
    index.Push(text.size());
}

std::vector<std::string> SplitTextForm(std::string_view text) {
    DocumentLines document;
    document.SetText(text);
    return document.ToLines();
}

std::string JoinTextForm(const std::vector<std::string>& lines) {
    return DocumentLines(lines).Text();
}

}  // namespace quillex
