#include "core/encoding.h"

#include <cstdint>
#include <cstring>

#include "core/cp1251.h"

namespace quillex {

namespace {

bool IsContinuation(unsigned char b) noexcept {
    return (b & 0xC0) == 0x80;
}

// The length of the valid sequence at `p` (p < end), or 0 where none begins there. The
// second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
std::size_t SequenceLength(const unsigned char* p, const unsigned char* end) noexcept {
    const unsigned char b = p[0];
    if (b < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
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
    if (static_cast<std::size_t>(end - p) < length || p[1] < low || p[1] > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (!IsContinuation(p[k])) {
            return 0;
        }
    }
    return length;
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
        const std::size_t length = SequenceLength(p, end);
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

std::size_t Utf8CharLength(std::string_view text, std::size_t at) noexcept {
    const std::size_t length = SequenceLength(Bytes(text) + at, Bytes(text) + text.size());
    return length == 0 ? 1 : length;
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
    switch (SequenceLength(p, Bytes(text) + text.size())) {
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

std::size_t PutUtf8(char32_t code, unsigned char* out) noexcept {
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

}  // namespace quillex
