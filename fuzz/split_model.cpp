#include "fuzz/split_model.h"

namespace quillex::fuzz {

namespace {

bool EndsLine(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

}  // namespace

std::vector<std::string> ModelSplit(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t p = 0;
    while (p < text.size() && text[p] != '\0') {
        std::size_t end = p;
        while (end < text.size() && !EndsLine(text[end])) {
            ++end;
        }
        lines.emplace_back(text.substr(p, end - p));
        p = end;
        if (p < text.size() && text[p] == '\r') {
            ++p;
        }
        if (p < text.size() && text[p] == '\n') {
            ++p;
        }
    }
    return lines;
}

std::optional<std::size_t> ModelNulOffset(std::string_view text) {
    const std::size_t at = text.find('\0');
    return at == text.npos ? std::nullopt : std::optional<std::size_t>(at);
}

}  // namespace quillex::fuzz
