// The encoding read from a file's bytes against a plain model: a byte-order mark, or valid
// UTF-8 holding a character beyond ASCII, is UTF-8; anything else is Windows-1251. The model
// decodes code points by their bit patterns, one byte at a time, where the code under test
// checks byte ranges and skips ASCII in blocks; the input is also tried at every offset, so
// that a fault near a block's edge shows.
#include <cstdint>
#include <string_view>

#include "core/encoding.h"
#include "fuzz/finding.h"

using namespace quillex;
using fuzz::Require;

namespace {

struct Reading {
    bool valid = true;
    bool beyondAscii = false;
};

Reading Model(std::string_view bytes) {
    Reading r;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1Fu;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0Fu;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07u;
        } else {
            return {false, r.beyondAscii};
        }
        if (bytes.size() - at < length) {
            return {false, r.beyondAscii};
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[at + k]);
            if ((next & 0xC0) != 0x80) {
                return {false, r.beyondAscii};
            }
            code = code << 6 | (next & 0x3Fu);
        }
        const std::uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < shortest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return {false, r.beyondAscii};
        }
        r.beyondAscii = r.beyondAscii || length > 1;
        at += length;
    }
    return r;
}

void Check(std::string_view bytes) {
    const Reading expected = Model(bytes);
    bool multiByte = false;
    Require(IsValidUtf8(bytes, &multiByte) == expected.valid, "UTF-8 validity differs");
    if (expected.valid) {
        Require(multiByte == expected.beyondAscii, "a character beyond ASCII missed or invented");
    }
    const bool bom = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    const Encoding model =
        bom || (expected.valid && expected.beyondAscii) ? Encoding::Utf8 : Encoding::Windows1251;
    Require(DetectEncoding(bytes) == model, "detected encoding differs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (std::size_t at = 0; at <= bytes.size() && at < 40; ++at) {
        Check(bytes.substr(at));
    }
    return 0;
}
