#include "core/display_limit.h"

#include <algorithm>
#include <array>

namespace quillex {

std::size_t LinesToShow(int displayLimit, std::size_t count) noexcept {
    constexpr std::array<std::size_t, 4> kCaps = {100, 200, 500, 1000};
    if (displayLimit < 0 || displayLimit >= static_cast<int>(kCaps.size())) {
        return count;  // no cap
    }
    return std::min(count, kCaps[static_cast<std::size_t>(displayLimit)]);
}

}  // namespace quillex
