#include <cstdint>
#include <string>

#include "core/line_operations.h"

namespace quillex {

namespace {

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

[[noreturn]] void Fail(std::string_view text) {
    std::string message = "'";
    message.append(text).append("' is not a valid integer value");
    throw ConversionError(message);
}

}  // namespace

std::int32_t ParseCountText(std::string_view text) {
    std::size_t p = 0;
    while (p < text.size() && text[p] == ' ') {
        ++p;
    }
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    int base = 10;
    if (p < text.size() && text[p] == '$') {
        base = 16;
        p += 1;
    } else if (text.substr(p, 2) == "0x" || text.substr(p, 2) == "0X") {
        base = 16;
        p += 2;
    }
    if (p == text.size()) {
        Fail(text);  // no digits at all
    }
    // The magnitude may reach 2^31 for a negative value; anything larger is out of range.
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; p < text.size(); ++p) {
        int digit = DigitValue(text[p], base);
        if (digit < 0) {
            Fail(text);
        }
        magnitude = magnitude * base + digit;
        if (magnitude > kLimit) {
            Fail(text);
        }
    }
    if (!negative && magnitude == kLimit) {
        Fail(text);
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace quillex
