#pragma once

// The character steps of the line functions in each encoding, so that each function's loop
// is written once: a Windows-1251 character is a byte, a UTF-8 character a code point (or a
// byte that begins no valid sequence). ASCII bytes never occur inside a UTF-8 sequence, so
// steps over ASCII members need no encoding of their own.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/encoding.h"
#include "core/line_trim.h"

namespace quillex {

struct SingleByteText {
    // How many bytes the first n characters take (all of the line if it is shorter).
    static std::size_t Skip(std::string_view line, std::size_t n) noexcept {
        return std::min(line.size(), n);
    }
    // The number of characters, counted no further than `limit`.
    static std::size_t CountUpTo(std::string_view line, std::size_t limit) noexcept {
        return std::min(line.size(), limit);
    }
    static std::size_t Find(std::string_view line, std::string_view text) noexcept {
        return line.find(text);
    }
    static std::size_t CharLength(std::string_view, std::size_t) noexcept { return 1; }
    // Blanks and control characters: what excess-space removal strips and the length
    // conditions of remove-if leave uncounted at the ends.
    static std::string_view TrimBlanksStart(std::string_view line) noexcept {
        return TrimStart(line);
    }
    static std::string_view TrimBlanksEnd(std::string_view line) noexcept { return TrimEnd(line); }
};

struct Utf8Text {
    static std::size_t Skip(std::string_view line, std::size_t n) noexcept {
        std::size_t at = 0;
        for (; n > 0 && at < line.size(); --n) {
            at += static_cast<unsigned char>(line[at]) < 0x80 ? 1 : Utf8CharLength(line, at);
        }
        return at;
    }
    static std::size_t CountUpTo(std::string_view line, std::size_t limit) noexcept {
        // A character takes one to four bytes, so the byte count alone often answers.
        if (line.size() / 4 >= limit) {
            return limit;
        }
        limit = std::min(limit, line.size());
        std::size_t count = 0;
        for (std::size_t at = 0; count < limit && at < line.size(); ++count) {
            at += static_cast<unsigned char>(line[at]) < 0x80 ? 1 : Utf8CharLength(line, at);
        }
        return count;
    }
    // The first occurrence that begins and ends on character boundaries: a text that is valid
    // UTF-8 only ever matches there; one that is not may match inside a character, which
    // would split it.
    // Sought by one byte of the text, then compared: its first byte where that is ASCII,
    // otherwise its second. A letter's first byte is shared by a whole alphabet in UTF-8
    // (every Cyrillic capital and half the small letters begin with 0xD0); the second tells
    // the letter, as a Windows-1251 byte does.
    static std::size_t Find(std::string_view line, std::string_view text) noexcept {
        if (text.empty()) {
            return 0;
        }
        const std::size_t k = static_cast<unsigned char>(text[0]) < 0x80 ? 0 : 1;
        if (text.size() <= k) {
            return FindByte(line, text);
        }
        for (std::size_t probe = k; probe < line.size(); ++probe) {
            const void* hit = std::memchr(line.data() + probe, text[k], line.size() - probe);
            if (hit == nullptr) {
                break;
            }
            probe = static_cast<std::size_t>(static_cast<const char*>(hit) - line.data());
            const std::size_t at = probe - k;
            if (line.size() - at >= text.size() &&
                std::memcmp(line.data() + at, text.data(), text.size()) == 0 &&
                IsUtf8Boundary(line, at) && IsUtf8Boundary(line, at + text.size())) {
                return at;
            }
        }
        return std::string_view::npos;
    }
    // The same for a text of one byte.
    static std::size_t FindByte(std::string_view line, std::string_view text) noexcept {
        for (std::size_t at = line.find(text); at != std::string_view::npos;
             at = line.find(text, at + 1)) {
            if (IsUtf8Boundary(line, at) && IsUtf8Boundary(line, at + text.size())) {
                return at;
            }
        }
        return std::string_view::npos;
    }
    static std::size_t CharLength(std::string_view line, std::size_t at) noexcept {
        return Utf8CharLength(line, at);
    }
    // Also the no-break space U+00A0, which in UTF-8 is a character like any other blank; the
    // length conditions leave it uncounted at the ends too.
    static std::string_view TrimBlanksStart(std::string_view line) noexcept {
        std::size_t start = 0;
        while (start < line.size()) {
            if (IsStrippable(line[start])) {
                ++start;
            } else if (line.substr(start, 2) == kNoBreakSpace) {
                start += 2;
            } else {
                break;
            }
        }
        return line.substr(start);
    }
    static std::string_view TrimBlanksEnd(std::string_view line) noexcept {
        std::size_t end = line.size();
        while (end > 0) {
            if (IsStrippable(line[end - 1])) {
                --end;
            } else if (end >= 2 && line.substr(end - 2, 2) == kNoBreakSpace) {
                end -= 2;
            } else {
                break;
            }
        }
        return line.substr(0, end);
    }

    static constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
};

// Runs `f` with the steps of the document's encoding.
template <class F>
decltype(auto) WithEncoding(Encoding encoding, F&& f) {
    if (encoding == Encoding::Utf8) {
        return f(Utf8Text{});
    }
    return f(SingleByteText{});
}

// The first character of a text in an encoding, or none for an empty text.
inline std::optional<std::string> FirstChar(std::string_view text, Encoding encoding) {
    if (text.empty()) {
        return std::nullopt;
    }
    return std::string(
        text.substr(0, encoding == Encoding::Utf8 ? Utf8CharLength(text, 0) : std::size_t{1}));
}

}  // namespace quillex
