#pragma once

// The two encodings a document can be in. A Windows-1251 document has one character a byte;
// a UTF-8 document one character a code point, where a byte that does not begin a valid
// sequence is a character of its own, so that such bytes pass through every function as they
// are.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillex {

enum class Encoding { Windows1251, Utf8 };

// "Windows-1251" or "UTF-8", as the window shows it.
std::string_view EncodingName(Encoding encoding) noexcept;

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

inline bool StartsWithUtf8Bom(std::string_view bytes) noexcept {
    return bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
}

// A byte-order mark, or valid UTF-8 holding at least one multi-byte sequence, is UTF-8;
// anything else (pure ASCII too, which reads the same either way) is Windows-1251.
Encoding DetectEncoding(std::string_view bytes) noexcept;

// Whether the bytes are valid UTF-8 throughout; ASCII runs are checked 32 bytes at a time.
// `multiByte`, where given, says whether any sequence is longer than one byte.
bool IsValidUtf8(std::string_view bytes, bool* multiByte = nullptr) noexcept;

// The length of the valid UTF-8 sequence at `p` (p < end), or 0 where none begins there. The
// second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
// Inline: the line functions take this step for every character.
inline std::size_t Utf8SequenceLength(const unsigned char* p, const unsigned char* end) noexcept {
    const unsigned char b = p[0];
    if (b < 0x80) {
        return 1;
    }
    const std::size_t room = static_cast<std::size_t>(end - p);
    auto continues = [](unsigned char c) { return (c & 0xC0) == 0x80; };
    if (b >= 0xC2 && b <= 0xDF) {
        return room >= 2 && continues(p[1]) ? 2 : 0;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (room < length || p[1] < low || p[1] > high || !continues(p[2]) ||
        (length == 4 && !continues(p[3]))) {
        return 0;
    }
    return length;
}

// The length of the character at `at` (at < text.size()): that of the valid sequence there,
// or 1 for a byte that begins none.
inline std::size_t Utf8CharLength(std::string_view text, std::size_t at) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t length = Utf8SequenceLength(p + at, p + text.size());
    return length == 0 ? 1 : length;
}

// Whether a character starts at `at` (the end counts): true unless the byte there continues
// a valid sequence that started before it.
bool IsUtf8Boundary(std::string_view text, std::size_t at) noexcept;

// The code point of the valid sequence at `at`, or nullopt where the byte begins none.
std::optional<char32_t> DecodeUtf8At(std::string_view text, std::size_t at) noexcept;

// Writes the UTF-8 bytes of a code point (at most four) and returns how many.
inline std::size_t PutUtf8(char32_t code, unsigned char* out) noexcept {
    if (code < 0x80) {
        out[0] = static_cast<unsigned char>(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | code >> 6);
        out[1] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = static_cast<unsigned char>(0xE0 | code >> 12);
        out[1] = static_cast<unsigned char>(0x80 | (code >> 6 & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        return 3;
    }
    out[0] = static_cast<unsigned char>(0xF0 | code >> 18);
    out[1] = static_cast<unsigned char>(0x80 | (code >> 12 & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | (code >> 6 & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (code & 0x3F));
    return 4;
}
// Appends the UTF-8 bytes of a code point.
void AppendUtf8(std::string& out, char32_t code);

// For display: every byte that begins no valid sequence becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes);

// Text of the window or the command line to document bytes: nullopt where a character has no
// place in the encoding.
std::optional<std::string> EncodeFromUnicode(std::u16string_view text, Encoding encoding);
// Valid UTF-8 text to document bytes, the same way.
std::optional<std::string> Utf8ToEncoding(std::string_view utf8, Encoding encoding);
// Document bytes to UTF-8: a Windows-1251 byte by the character it stands for, UTF-8 as it is.
std::string EncodingToUtf8(std::string_view bytes, Encoding encoding);

}  // namespace quillex
