#include <limits>

#include "core/folded_line_set.h"
#include "core/line_operations.h"

namespace quillex {

namespace {

template <class Fold>
LineSelection KeepFirstOfEach(const DocumentLines& lines, const Progress& progress) {
    FoldedLineSet<Fold> seen(lines, RunSeed());
    LineSelection kept;
    seen.AddAll(
        [&](std::size_t i, std::size_t first) {
            if (first == i) {
                kept.Add(i);
                progress(i + 1);
            }
        },
        progress, 0, lines.Count());
    return kept;
}

}  // namespace

LineSelection RemoveDuplicateLines(const DocumentLines& lines, const Progress& progress) {
    if (lines.Count() >= std::numeric_limits<std::uint32_t>::max()) {
        throw RunError("too many lines to compare");
    }
    if (lines.GetEncoding() == Encoding::Utf8) {
        return KeepFirstOfEach<Utf8Fold>(lines, progress);
    }
    return KeepFirstOfEach<Cp1251Fold>(lines, progress);
}

}  // namespace quillex
