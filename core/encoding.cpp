#include "core/encoding.h"

#include <cstdint>
#include <cstring>

#include "core/cp1251.h"

namespace quillex {

namespace {

bool IsContinuation(unsigned char b) noexcept {
    return (b & 0xC0) == 0x80;
}

const unsigned char* Bytes(std::string_view text) noexcept {
    return reinterpret_cast<const unsigned char*>(text.data());
}

// Whether the next 32 bytes are all ASCII, read as four 64-bit words the compiler can keep
// in vector registers.
bool AsciiBlock(const unsigned char* p) noexcept {
    std::uint64_t w[4];
    std::memcpy(w, p, sizeof w);
    return ((w[0] | w[1] | w[2] | w[3]) & 0x8080808080808080ULL) == 0;
}

}  // namespace

std::string_view EncodingName(Encoding encoding) noexcept {
    return encoding == Encoding::Utf8 ? "UTF-8" : "Windows-1251";
}

bool IsValidUtf8(std::string_view bytes, bool* multiByte) noexcept {
    const unsigned char* p = Bytes(bytes);
    const unsigned char* end = p + bytes.size();
    bool many = false;
    while (p != end) {
        if (end - p >= 32 && AsciiBlock(p)) {
            p += 32;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(p, end);
        if (length == 0) {
            return false;
        }
        many = many || length > 1;
        p += length;
    }
    if (multiByte != nullptr) {
        *multiByte = many;
    }
    return true;
}

Encoding DetectEncoding(std::string_view bytes) noexcept {
    bool multiByte = false;
    if (StartsWithUtf8Bom(bytes) || (IsValidUtf8(bytes, &multiByte) && multiByte)) {
        return Encoding::Utf8;
    }
    return Encoding::Windows1251;
}

bool IsUtf8Boundary(std::string_view text, std::size_t at) noexcept {
    if (at == 0 || at >= text.size() || !IsContinuation(Bytes(text)[at])) {
        return true;
    }
    // A continuation byte is inside a character only if the nearest byte before it that is no
    // continuation begins a valid sequence reaching past it.
    for (std::size_t back = 1; back <= 3 && back <= at; ++back) {
        if (!IsContinuation(Bytes(text)[at - back])) {
            return Utf8CharLength(text, at - back) <= back;
        }
    }
    return true;
}

std::optional<char32_t> DecodeUtf8At(std::string_view text, std::size_t at) noexcept {
    const unsigned char* p = Bytes(text) + at;
    switch (Utf8SequenceLength(p, Bytes(text) + text.size())) {
        case 1:
            return p[0];
        case 2:
            return static_cast<char32_t>((p[0] & 0x1F) << 6 | (p[1] & 0x3F));
        case 3:
            return static_cast<char32_t>((p[0] & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
        case 4:
            return static_cast<char32_t>((p[0] & 0x07) << 18 | (p[1] & 0x3F) << 12 |
                                         (p[2] & 0x3F) << 6 | (p[3] & 0x3F));
        default:
            return std::nullopt;
    }
}

void AppendUtf8(std::string& out, char32_t code) {
    unsigned char bytes[4];
    out.append(reinterpret_cast<const char*>(bytes), PutUtf8(code, bytes));
}

std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const unsigned char b = Bytes(bytes)[at];
        if (b < 0x80) {
            text += static_cast<char16_t>(b);
            ++at;
            continue;
        }
        const std::optional<char32_t> code = DecodeUtf8At(bytes, at);
        if (!code) {
            text += u'\uFFFD';
            ++at;
            continue;
        }
        if (*code < 0x10000) {
            text += static_cast<char16_t>(*code);
        } else {
            text += static_cast<char16_t>(0xD800 + ((*code - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((*code - 0x10000) & 0x3FF));
        }
        at += Utf8CharLength(bytes, at);
    }
    return text;
}

std::optional<std::string> EncodeFromUnicode(std::u16string_view text, Encoding encoding) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code < 0xE000) {
            return std::nullopt;  // half a pair names no character
        }
        if (encoding == Encoding::Utf8) {
            AppendUtf8(out, code);
            continue;
        }
        const std::u16string one(1, static_cast<char16_t>(code));
        const std::string byte = code < 0x10000 ? EncodeCp1251(one) : "?";
        if (byte == "?" && code != u'?') {
            return std::nullopt;
        }
        out += byte;
    }
    return out;
}

std::optional<std::string> Utf8ToEncoding(std::string_view utf8, Encoding encoding) {
    if (encoding == Encoding::Utf8) {
        return std::string(utf8);
    }
    return EncodeFromUnicode(DecodeUtf8(utf8), encoding);
}

std::string EncodingToUtf8(std::string_view bytes, Encoding encoding) {
    if (encoding == Encoding::Utf8) {
        return std::string(bytes);
    }
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char16_t c : DecodeCp1251(bytes)) {
        AppendUtf8(utf8, c);
    }
    return utf8;
}

}  // namespace quillex
