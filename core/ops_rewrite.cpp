// The in-place rewrites: every line is visited upwards and stored back at its own index.
// Each line is changed only once nothing can fail any more for it, so a failure leaves the
// line it struck unchanged.

#include <algorithm>
#include <array>
#include <cstring>

#include "core/line_operations.h"
#include "core/line_trim.h"

namespace quillex {

void RemoveLeadingChars(Lines& lines, std::string_view countText, const Progress& progress) {
    if (lines.empty()) {
        return;  // the count text is read at the first line only
    }
    const std::int32_t n = ParseCountText(countText);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (n >= 1) {
            std::string& line = lines[i];
            line.erase(0, std::min(line.size(), static_cast<std::size_t>(n)));
        }
        progress(i + 1);
    }
}

void ReplaceChar(Lines& lines, std::optional<char> c1, std::optional<char> c2,
                 const Progress& progress) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i];
        if (!line.empty()) {
            if (!c1) {
                throw RunError("no character to replace");
            }
            char* hit = static_cast<char*>(std::memchr(line.data(), *c1, line.size()));
            if (hit != nullptr) {
                if (!c2) {
                    throw RunError("no replacement character");
                }
                std::replace(hit, line.data() + line.size(), *c1, *c2);
            }
        }
        progress(i);
    }
}

void TruncateAtWord(Lines& lines, std::string_view word, const Progress& progress) {
    if (word.empty()) {
        return;  // an empty word occurs nowhere
    }
    std::size_t cut = 0;
    for (std::string& line : lines) {
        std::size_t at = std::string_view(line).find(word);
        if (at != std::string_view::npos) {
            progress(++cut);  // reported before the cut line is stored
            line.resize(at);
        }
    }
}

void AddTextToLines(Lines& lines, std::string_view left, std::string_view right,
                    const Progress& progress) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i];
        if (!left.empty()) {
            // One allocation for the whole new line rather than an insert and a regrowth.
            std::string joined;
            joined.reserve(left.size() + line.size() + right.size());
            joined.append(left).append(line).append(right);
            line = std::move(joined);
        } else {
            line.append(right);
        }
        progress(i + 1);
    }
}

namespace {

using ByteSet = std::array<bool, 256>;

ByteSet ClassBytes(CharClass charClass) {
    ByteSet set{};
    const char* members = charClass == CharClass::Marks     ? ".;,:!?"
                          : charClass == CharClass::Numbers ? "0123456789"
                                                            : " ";
    for (const char* p = members; *p != '\0'; ++p) {
        set[static_cast<unsigned char>(*p)] = true;
    }
    return set;
}

}  // namespace

void RemoveCharClass(Lines& lines, std::optional<CharClass> charClass, const Progress& progress) {
    const ByteSet remove = charClass ? ClassBytes(*charClass) : ByteSet{};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (charClass) {
            std::erase_if(lines[i], [&](char c) { return remove[static_cast<unsigned char>(c)]; });
        }
        progress(i + 1);
    }
}

void TrimLines(Lines& lines, std::optional<TrimSide> side, const Progress& progress) {
    for (std::size_t k = 0; k < lines.size(); ++k) {
        std::string& line = lines[k];
        if (side == TrimSide::AtEnd || side == TrimSide::AtBothEnds) {
            line.resize(TrimEnd(line).size());
        }
        if (side == TrimSide::AtStart || side == TrimSide::AtBothEnds) {
            line.erase(0, line.size() - TrimStart(line).size());
        }
        progress(k);
    }
}

}  // namespace quillex
