#include "core/text_form.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

constexpr std::size_t kBlock = 64;

// Bit i of `cr` and `lf` is set where byte i of the block is a CR or an LF.
struct BreakMasks {
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
};

BreakMasks MasksOf(const char* p, std::size_t width) {
    BreakMasks masks;
#if defined(__SSE2__)
    if (width == kBlock) {
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        for (std::size_t k = 0; k < kBlock; k += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
            const auto crBits =
                static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr)));
            const auto lfBits =
                static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)));
            masks.cr |= std::uint64_t{crBits} << k;
            masks.lf |= std::uint64_t{lfBits} << k;
        }
        return masks;
    }
#endif
    for (std::size_t i = 0; i < width; ++i) {
        masks.cr |= std::uint64_t{p[i] == '\r'} << i;
        masks.lf |= std::uint64_t{p[i] == '\n'} << i;
    }
    return masks;
}

// Indexes text whose every break is CR LF, 64 bytes a step: in the text form each LF has a
// CR right before it and each CR an LF right after it, so the CR bits moved up by one are the
// LF bits. Returns false at the first other break, having pushed some starts.
bool IndexCrLfText(const char* begin, std::size_t size, LineIndex& index) {
    index.Push(0);
    std::uint64_t carry = 0;  // the previous block ended with a CR
    for (std::size_t at = 0; at < size; at += kBlock) {
        const std::size_t width = std::min(kBlock, size - at);
        const BreakMasks m = MasksOf(begin + at, width);
        const std::uint64_t all =
            width == kBlock ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
        if ((((m.cr << 1) | carry) & all) != m.lf) {
            return false;
        }
        carry = (m.cr >> (width - 1)) & 1u;
        for (std::uint64_t lf = m.lf; lf != 0; lf &= lf - 1) {
            index.Push(at + static_cast<std::size_t>(std::countr_zero(lf)) + 1);
        }
    }
    return carry == 0;  // a CR as the last byte has no LF after it
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
    if (IndexCrLfText(text.data(), text.size(), index)) {
        if (index[index.size() - 1] != text.size()) {
            // The last line has no break: one is added where the text lies.
            text.Append("\r\n", 2);
            index.Push(text.size());
        }
        return;
    }
    // A lone CR or LF: the text is not in the text form.
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
