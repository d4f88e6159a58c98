#pragma once

#include <cstddef>

namespace quillex {

// The view's display limit: 0..3 show the first 100, 200, 500 or 1000 lines, 4 shows all.
inline constexpr int kDisplayLimitAll = 4;

// How many of the document's first lines the view takes under `displayLimit`.
std::size_t LinesToShow(int displayLimit, std::size_t count) noexcept;

}  // namespace quillex
