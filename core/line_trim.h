#pragma once

#include <string_view>

namespace quillex {

// The blank, the tab and every other control character: what trimming drops at a line's ends.
// Bytes above 0x20, the no-break space 0xA0 among them, stay.
inline bool IsStrippable(char c) noexcept {
    return static_cast<unsigned char>(c) <= 0x20;
}

inline std::string_view TrimStart(std::string_view line) noexcept {
    std::size_t start = 0;
    while (start < line.size() && IsStrippable(line[start])) {
        ++start;
    }
    return line.substr(start);
}

inline std::string_view TrimEnd(std::string_view line) noexcept {
    std::size_t end = line.size();
    while (end > 0 && IsStrippable(line[end - 1])) {
        --end;
    }
    return line.substr(0, end);
}

}  // namespace quillex
