#pragma once

// Where the breaks of a text lie, found 64 bytes a step with the widest vector instructions the
// processor has: for the scans that index or search a text in the text form.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace quillex::breaks {

constexpr std::size_t kBlock = 64;

// Bit i is set where byte i of a 64-byte block is a CR, an LF, a NUL, or the byte the scan
// marks (one it searches for; a scan that marks none passes CR, which costs no compare more).
struct BreakMasks {
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
    std::uint64_t nul = 0;
    std::uint64_t mark = 0;
};

inline BreakMasks MasksByByte(const char* p, std::size_t width, char mark) {
    BreakMasks masks;
    for (std::size_t i = 0; i < width; ++i) {
        masks.cr |= std::uint64_t{p[i] == '\r'} << i;
        masks.lf |= std::uint64_t{p[i] == '\n'} << i;
        masks.nul |= std::uint64_t{p[i] == '\0'} << i;
        masks.mark |= std::uint64_t{p[i] == mark} << i;
    }
    return masks;
}

#if defined(__SSE2__)
inline BreakMasks MasksSse2(const char* p, char mark) {
    BreakMasks masks;
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    const __m128i marked = _mm_set1_epi8(mark);
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
        masks.mark |= bits(marked);
    }
    return masks;
}
#endif

#if defined(__GNUC__) && defined(__x86_64__)
#define QUILLEX_AVX2 1
__attribute__((target("avx2"))) inline BreakMasks MasksAvx2(const char* p, char mark) {
    BreakMasks masks;
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i nul = _mm256_setzero_si256();
    const __m256i marked = _mm256_set1_epi8(mark);
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
        masks.mark |= bits(marked);
    }
    return masks;
}

// One compare a mask: a third of the instructions of the AVX2 builder.
__attribute__((target("avx512bw"))) inline BreakMasks MasksAvx512(const char* p, char mark) {
    const __m512i bytes = _mm512_loadu_si512(p);
    BreakMasks masks;
    masks.cr = _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8('\r'));
    masks.lf = _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8('\n'));
    masks.nul = _mm512_testn_epi8_mask(bytes, bytes);
    masks.mark = _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8(mark));
    return masks;
}
#endif

inline BreakMasks MasksPortable(const char* p, char mark) {
#if defined(__SSE2__)
    return MasksSse2(p, mark);
#else
    return MasksByByte(p, kBlock, mark);
#endif
}

#if defined(QUILLEX_AVX2)
// Each call within the scan is compiled into it, for these instructions: the masks of a block
// are then a few instructions in the loop rather than a call.
template <class Scan>
__attribute__((target("avx2,popcnt"), flatten)) auto ScanWithAvx2(Scan& scan) {
    return scan.template operator()<MasksAvx2>();
}

template <class Scan>
__attribute__((target("avx512bw,avx2,popcnt"), flatten)) auto ScanWithAvx512(Scan& scan) {
    return scan.template operator()<MasksAvx512>();
}
#endif

template <class Scan>
__attribute__((flatten)) auto ScanPortably(Scan& scan) {
    return scan.template operator()<MasksPortable>();
}

// Calls `scan.template operator()<Masks>()` with the widest mask builder the processor has.
template <class Scan>
auto WithBestMasks(Scan scan) {
#if defined(QUILLEX_AVX2)
    static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
    static const bool avx512 = avx2 && __builtin_cpu_supports("avx512bw");
    if (avx512) {
        return ScanWithAvx512(scan);
    }
    if (avx2) {
        return ScanWithAvx2(scan);
    }
#endif
    return ScanPortably(scan);
}

// How far a scan of the text form got.
struct Scan {
    enum Kind { TextForm, OtherBreak, Nul } kind;
    std::size_t nul_at = 0;
};

// Visits text whose every break is CR LF, a block of masks at a time: `block(at, masks)` hears
// each block's masks, its bits past the text cleared. In the text form each LF has a CR right
// before it and each CR an LF right after it, so the CR bits moved up by one are the LF bits.
// Stops at the first other break or at a NUL, having visited the blocks before it.
template <auto Masks, class Block>
Scan ScanCrLfBlocks(const char* begin, std::size_t size, char mark, Block block) {
    std::uint64_t carry = 0;  // the previous block ended with a CR
    for (std::size_t at = 0; at < size; at += kBlock) {
        const std::size_t width = std::min(kBlock, size - at);
        const BreakMasks m =
            width == kBlock ? Masks(begin + at, mark) : MasksByByte(begin + at, width, mark);
        if (m.nul != 0) {
            return {Scan::Nul, at + static_cast<std::size_t>(std::countr_zero(m.nul))};
        }
        const std::uint64_t all =
            width == kBlock ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
        if ((((m.cr << 1) | carry) & all) != m.lf) {
            return {Scan::OtherBreak};
        }
        carry = (m.cr >> (width - 1)) & 1u;
        block(at, m);
    }
    // A CR as the last byte has no LF after it.
    return {carry == 0 ? Scan::TextForm : Scan::OtherBreak};
}

// The same, calling `lineEnd(at)` with the offset just past each LF.
template <auto Masks, class LineEnd>
Scan ScanCrLfText(const char* begin, std::size_t size, LineEnd lineEnd) {
    return ScanCrLfBlocks<Masks>(begin, size, '\r', [&](std::size_t at, const BreakMasks& m) {
        for (std::uint64_t lf = m.lf; lf != 0; lf &= lf - 1) {
            lineEnd(at + static_cast<std::size_t>(std::countr_zero(lf)) + 1);
        }
    });
}

}  // namespace quillex::breaks
