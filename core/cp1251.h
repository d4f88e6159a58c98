#pragma once

#include <string>
#include <string_view>

namespace quillex {

// Windows-1251, the code page in which the document's bytes are shown. Decoding maps all 256
// byte values (0x98, which the code page leaves unassigned, maps to U+0098 as Windows does),
// so a line always round-trips: EncodeCp1251(DecodeCp1251(b)) == b.
char16_t Cp1251ToUnicode(unsigned char byte) noexcept;
std::u16string DecodeCp1251(std::string_view bytes);

// Characters the code page cannot hold become '?'.
std::string EncodeCp1251(std::u16string_view text);

}  // namespace quillex
