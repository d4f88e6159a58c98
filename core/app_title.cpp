#include "core/app_title.h"

#include <algorithm>

namespace quillex {

std::string ApplicationTitle(std::string_view programPath) {
    std::string_view name = programPath;
    if (auto slash = name.find_last_of("/\\"); slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    name = name.substr(0, name.find('.'));
    std::string title(name);
    if (!title.empty()) {
        std::transform(title.begin() + 1, title.end(), title.begin() + 1, [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        });
    }
    return title;
}

}  // namespace quillex
