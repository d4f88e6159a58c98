#include "core/text_form.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "core/break_masks.h"
#include "core/document_lines.h"

namespace quillex {

namespace {

using breaks::BreakMasks;
using breaks::kBlock;
using breaks::MasksByByte;
using breaks::Scan;
using breaks::ScanCrLfText;
using breaks::WithBestMasks;

const char* Find(const char* p, const char* end, char c) {
    return static_cast<const char*>(std::memchr(p, c, static_cast<std::size_t>(end - p)));
}

// Lines in the first 64 KiB, scaled to the whole text with a quarter more: enough to size the
// index once for any file whose lines are alike, without a second scan. Room that is reserved
// but never written costs no memory.
std::size_t EstimateLines(const char* p, std::size_t size) {
    const std::size_t sample = std::min<std::size_t>(size, 64 << 10);
    const auto breaks = static_cast<double>(std::count(p, p + sample, '\n'));
    return static_cast<std::size_t>(breaks * static_cast<double>(size) /
                                    static_cast<double>(sample) * 1.25) +
           16;
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

Scan IndexCrLf(const char* begin, std::size_t size, LineIndex& index) {
    index.Push(0);
    return WithBestMasks([&]<auto Masks>() {
        return ScanCrLfText<Masks>(begin, size, [&](std::size_t next) { index.Push(next); });
    });
}

template <auto Masks>
BreakCounts CountWith(std::string_view text) {
    BreakCounts counts;
    auto add = [&](const BreakMasks& m) {
        counts.cr += static_cast<std::size_t>(std::popcount(m.cr));
        counts.lf += static_cast<std::size_t>(std::popcount(m.lf));
        counts.nul += static_cast<std::size_t>(std::popcount(m.nul));
    };
    std::size_t at = 0;
    for (; at + kBlock <= text.size(); at += kBlock) {
        add(Masks(text.data() + at, '\r'));
    }
    add(MasksByByte(text.data() + at, text.size() - at, '\r'));
    return counts;
}

}  // namespace

BreakCounts CountBreakBytes(std::string_view text) {
    return WithBestMasks([&]<auto Masks>() { return CountWith<Masks>(text); });
}

void IndexTextForm(ByteBuffer& text, LineIndex& index) {
    index.Clear();
    if (text.empty()) {
        return;
    }
    index.Reserve(EstimateLines(text.data(), text.size()));
    const Scan scan = IndexCrLf(text.data(), text.size(), index);
    if (scan.kind == Scan::Nul) {
        // The first NUL ends the text; what comes before it is read again by the same rule.
        text.Resize(scan.nul_at);
        IndexTextForm(text, index);
        return;
    }
    if (scan.kind == Scan::TextForm) {
        if (index[index.size() - 1] != text.size()) {
            // The last line has no break: one is added where the text lies.
            text.Append("\r\n", 2);
            index.Push(text.size());
        }
        return;
    }
    // A lone CR or LF: the text is not in the text form. The scan stopped there, so a NUL
    // after it is still to be found.
    if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
        text.Resize(static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
    }
    ByteBuffer rewritten;
    Rewrite(text.data(), text.data() + text.size(), rewritten, index);
    text.swap(rewritten);
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
