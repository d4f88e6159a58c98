// The count-text conversion against a model built from the standard number parser, and every
// value it accepts written back as decimal and hexadecimal text.
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/line_operations.h"
#include "fuzz/finding.h"

using namespace quillex;
using fuzz::Require;

namespace {

// Blanks, a sign, "$" or "0x" for hexadecimal, then digits only, within 32 bits.
std::optional<std::int32_t> Model(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    const char* digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
    if (text.empty() || text.find_first_not_of(digits) != text.npos) {
        return std::nullopt;
    }
    text.remove_prefix(std::min(text.find_first_not_of('0'), text.size() - 1));
    if (text.size() > 10) {
        return std::nullopt;
    }
    std::int64_t magnitude = 0;
    std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> Parse(std::string_view text) {
    try {
        return ParseCountText(text);
    } catch (const ConversionError& e) {
        const std::string message = "'" + std::string(text) + "' is not a valid integer value";
        // Compared as C text: a message is one, cut at a NUL the text may hold.
        Require(std::strcmp(e.what(), message.c_str()) == 0, "the conversion message is wrong");
        return std::nullopt;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> value = Parse(text);
    Require(value == Model(text), "ParseCountText differs from the model");
    if (value) {
        const std::int64_t v = *value;
        const std::string sign = v < 0 ? "-" : "";
        char hex[16];
        auto end = std::to_chars(hex, hex + sizeof hex, v < 0 ? -v : v, 16).ptr;
        Require(Parse(std::to_string(v)) == value, "the decimal text of a value differs");
        Require(Parse(sign + "$" + std::string(hex, end)) == value, "the $ text differs");
        Require(Parse(sign + "0X" + std::string(hex, end)) == value, "the 0X text differs");
    }
    return 0;
}
