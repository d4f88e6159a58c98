#include <limits>

#include "core/folded_groups.h"
#include "core/line_operations.h"

namespace quillex {

LineSelection RemoveDuplicateLines(const DocumentLines& lines, const Progress& progress) {
    if (lines.Count() >= std::numeric_limits<std::uint32_t>::max()) {
        throw RunError("too many lines to compare");
    }
    if (lines.GetEncoding() == Encoding::Utf8) {
        return FirstOfEachGroup<Utf8Fold>(lines, progress);
    }
    return FirstOfEachGroup<Cp1251Fold>(lines, progress);
}

}  // namespace quillex
