#include <bit>
#include <cstring>
#include <vector>

#include "core/break_masks.h"
#include "core/text_form.h"

namespace quillex {

using breaks::BreakMasks;

namespace {

struct Run {
    std::size_t from, to;
};

// The kept lines of `text` as runs of adjoining lines, for KeepLinesEndingWith and
// CopyLinesEndingWith.
std::optional<KeptLines> FindLinesEndingWith(std::string_view all, std::string_view ending,
                                             std::vector<Run>& runs) {
    const std::size_t size = all.size();
    const char* const p = all.data();
    if (ending.empty() || size < 2 || p[size - 2] != '\r' || p[size - 1] != '\n') {
        return std::nullopt;
    }
    KeptLines counts;
    const std::size_t n = ending.size();
    std::uint64_t carried = 0;  // the marks of the last two bytes before the block, as bits 0 and 1
    // Only the LFs two bytes after the ending's last byte are looked at: on a list of many
    // lines, a few of them. A line that began in an earlier block finds its start backwards,
    // which is cheaper than following every line's start.
    auto block = [&](std::size_t at, const BreakMasks& m) {
        counts.lines += static_cast<std::size_t>(std::popcount(m.lf));
        std::uint64_t ends = m.lf & ((m.mark << 2) | carried);
        carried = m.mark >> 62;
        for (; ends != 0; ends &= ends - 1) {
            const int bit = std::countr_zero(ends);
            const std::uint64_t before = m.lf & ((std::uint64_t{1} << bit) - 1);
            std::size_t start = 0;
            if (before != 0) {
                start = at + static_cast<std::size_t>(64 - std::countl_zero(before));
            } else if (at != 0) {
                const std::size_t lf = all.rfind('\n', at - 1);
                start = lf == std::string_view::npos ? 0 : lf + 1;
            }
            const std::size_t next = at + static_cast<std::size_t>(bit) + 1;
            const std::size_t end = next - 2;  // before its CR LF
            if (end - start >= n && std::memcmp(p + end - n, ending.data(), n) == 0) {
                ++counts.kept;
                if (!runs.empty() && runs.back().to == start) {
                    runs.back().to = next;
                } else {
                    runs.push_back({start, next});
                }
            }
        }
    };
    const breaks::Scan scan = breaks::WithBestMasks([&]<auto Masks>() {
        return breaks::ScanCrLfBlocks<Masks>(p, size, ending.back(), block);
    });
    if (scan.kind != breaks::Scan::TextForm) {
        return std::nullopt;
    }
    return counts;
}

}  // namespace

std::optional<KeptLines> KeepLinesEndingWith(ByteBuffer& text, std::string_view ending) {
    std::vector<Run> runs;
    const std::optional<KeptLines> counts =
        FindLinesEndingWith({text.data(), text.size()}, ending, runs);
    if (counts) {
        std::size_t out = 0;
        for (const Run& run : runs) {
            std::memmove(text.data() + out, text.data() + run.from, run.to - run.from);
            out += run.to - run.from;
        }
        text.Resize(out);
    }
    return counts;
}

std::optional<KeptLines> CopyLinesEndingWith(std::string_view text, std::string_view ending,
                                             ByteBuffer& into) {
    std::vector<Run> runs;
    const std::optional<KeptLines> counts = FindLinesEndingWith(text, ending, runs);
    if (counts) {
        into.Clear();
        for (const Run& run : runs) {
            into.Append(text.data() + run.from, run.to - run.from);
        }
    }
    return counts;
}

}  // namespace quillex
