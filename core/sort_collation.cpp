#include "core/sort_collation.h"

#include <algorithm>
#include <numeric>

#include "core/case_fold.h"
#include "core/cp1251.h"
#include "core/utf8_case_fold.h"

namespace quillex::collation {

namespace {

Cp1251Ranks BuildRanks() {
    std::array<unsigned char, 256> bytes{};
    std::iota(bytes.begin(), bytes.end(), 0);
    std::sort(bytes.begin(), bytes.end(), [](unsigned char a, unsigned char b) {
        return CodePointRank(Cp1251ToUnicode(a)) < CodePointRank(Cp1251ToUnicode(b));
    });
    Cp1251Ranks ranks{};
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        ranks.plain[bytes[k]] = static_cast<std::uint16_t>(k);
    }
    for (std::size_t b = 0; b < 256; ++b) {
        ranks.folded[b] = ranks.plain[FoldCase(static_cast<unsigned char>(b))];
    }
    return ranks;
}

}  // namespace

const Cp1251Ranks& Cp1251RankTable() {
    static const Cp1251Ranks ranks = BuildRanks();
    return ranks;
}

std::size_t FoldInto(char32_t code, std::uint32_t* out) noexcept {
    char32_t folded[3];
    const std::size_t n = Utf8FoldCodePoint(code, folded);
    for (std::size_t k = 0; k < n; ++k) {
        out[k] = CodePointRank(folded[k]);
    }
    return n;
}

}  // namespace quillex::collation
