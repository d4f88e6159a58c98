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

// The length of the character at `at` (at < text.size()): that of the valid sequence there,
// or 1 for a byte that begins none.
std::size_t Utf8CharLength(std::string_view text, std::size_t at) noexcept;

// Whether a character starts at `at` (the end counts): true unless the byte there continues
// a valid sequence that started before it.
bool IsUtf8Boundary(std::string_view text, std::size_t at) noexcept;

// The code point of the valid sequence at `at`, or nullopt where the byte begins none.
std::optional<char32_t> DecodeUtf8At(std::string_view text, std::size_t at) noexcept;

// Writes the UTF-8 bytes of a code point (at most four) and returns how many.
std::size_t PutUtf8(char32_t code, unsigned char* out) noexcept;
// Appends the UTF-8 bytes of a code point.
void AppendUtf8(std::string& out, char32_t code);

// For display: every byte that begins no valid sequence becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes);

// Text of the window or the command line to document bytes: nullopt where a character has no
// place in the encoding.
std::optional<std::string> EncodeFromUnicode(std::u16string_view text, Encoding encoding);
// Valid UTF-8 text to document bytes, the same way.
std::optional<std::string> Utf8ToEncoding(std::string_view utf8, Encoding encoding);

}  // namespace quillex
