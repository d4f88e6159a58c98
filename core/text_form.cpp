#include "core/text_form.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "core/document_lines.h"

namespace quillex {

namespace {

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

}  // namespace

namespace {

constexpr std::size_t kBlock = 64;

// Bit i is set where byte i of a 64-byte block is a CR, an LF or a NUL.
struct BreakMasks {
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
    std::uint64_t nul = 0;
};

BreakMasks MasksByByte(const char* p, std::size_t width) {
    BreakMasks masks;
    for (std::size_t i = 0; i < width; ++i) {
        masks.cr |= std::uint64_t{p[i] == '\r'} << i;
        masks.lf |= std::uint64_t{p[i] == '\n'} << i;
        masks.nul |= std::uint64_t{p[i] == '\0'} << i;
    }
    return masks;
}

#if defined(__SSE2__)
BreakMasks MasksSse2(const char* p) {
    BreakMasks masks;
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (std::size_t k = 0; k < kBlock; k += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
        auto bits = [&](__m128i c) {
            return std::uint64_t{
                       static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, c)))}
                   << k;
        };
        masks.cr |= bits(cr);
        masks.lf |= bits(lf);
        masks.nul |= bits(nul);
    }
    return masks;
}
#endif

#if defined(__GNUC__) && defined(__x86_64__)
#define QUILLEX_AVX2 1
__attribute__((target("avx2"))) BreakMasks MasksAvx2(const char* p) {
    BreakMasks masks;
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i nul = _mm256_setzero_si256();
    for (std::size_t k = 0; k < kBlock; k += 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + k));
        auto bits = [&](__m256i c) __attribute__((target("avx2"))) {
            return std::uint64_t{static_cast<std::uint32_t>(
                       _mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, c)))}
                   << k;
        };
        masks.cr |= bits(cr);
        masks.lf |= bits(lf);
        masks.nul |= bits(nul);
    }
    return masks;
}
#endif

// How far the fast scan got.
struct Scan {
    enum Kind { TextForm, OtherBreak, Nul } kind;
    std::size_t nul_at = 0;
};

// Indexes text whose every break is CR LF, 64 bytes a step: in the text form each LF has a
// CR right before it and each CR an LF right after it, so the CR bits moved up by one are the
// LF bits. Stops at the first other break or at a NUL, having pushed some starts.
template <BreakMasks (*Masks)(const char*)>
Scan IndexCrLfText(const char* begin, std::size_t size, LineIndex& index) {
    index.Push(0);
    std::uint64_t carry = 0;  // the previous block ended with a CR
    for (std::size_t at = 0; at < size; at += kBlock) {
        const std::size_t width = std::min(kBlock, size - at);
        const BreakMasks m = width == kBlock ? Masks(begin + at) : MasksByByte(begin + at, width);
        if (m.nul != 0) {
            return {Scan::Nul, at + static_cast<std::size_t>(std::countr_zero(m.nul))};
        }
        const std::uint64_t all =
            width == kBlock ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
        if ((((m.cr << 1) | carry) & all) != m.lf) {
            return {Scan::OtherBreak};
        }
        carry = (m.cr >> (width - 1)) & 1u;
        for (std::uint64_t lf = m.lf; lf != 0; lf &= lf - 1) {
            index.Push(at + static_cast<std::size_t>(std::countr_zero(lf)) + 1);
        }
    }
    // A CR as the last byte has no LF after it.
    return {carry == 0 ? Scan::TextForm : Scan::OtherBreak};
}

BreakMasks MasksPortable(const char* p) {
#if defined(__SSE2__)
    return MasksSse2(p);
#else
    return MasksByByte(p, kBlock);
#endif
}

// Calls `scan.template operator()<Masks>()` with the widest mask builder the processor has.
template <class Scan>
auto WithBestMasks(Scan scan) {
#if defined(QUILLEX_AVX2)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) {
        return scan.template operator()<MasksAvx2>();
    }
#endif
    return scan.template operator()<MasksPortable>();
}

Scan IndexCrLf(const char* begin, std::size_t size, LineIndex& index) {
    return WithBestMasks([&]<BreakMasks (*Masks)(const char*)>() {
        return IndexCrLfText<Masks>(begin, size, index);
    });
}

template <BreakMasks (*Masks)(const char*)>
BreakCounts CountWith(std::string_view text) {
    BreakCounts counts;
    auto add = [&](const BreakMasks& m) {
        counts.cr += static_cast<std::size_t>(std::popcount(m.cr));
        counts.lf += static_cast<std::size_t>(std::popcount(m.lf));
        counts.nul += static_cast<std::size_t>(std::popcount(m.nul));
    };
    std::size_t at = 0;
    for (; at + kBlock <= text.size(); at += kBlock) {
        add(Masks(text.data() + at));
    }
    add(MasksByByte(text.data() + at, text.size() - at));
    return counts;
}

}  // namespace

BreakCounts CountBreakBytes(std::string_view text) {
    return WithBestMasks(
        [&]<BreakMasks (*Masks)(const char*)>() { return CountWith<Masks>(text); });
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
