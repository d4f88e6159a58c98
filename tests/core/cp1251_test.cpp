#include "core/cp1251.h"

#include <gtest/gtest.h>

#include <set>

namespace quillex {
namespace {

TEST(Cp1251, AsciiIsItself) {
    for (int b = 0; b < 0x80; ++b) {
        EXPECT_EQ(Cp1251ToUnicode(static_cast<unsigned char>(b)), static_cast<char16_t>(b));
    }
}

TEST(Cp1251, CyrillicLettersAndMarkedBytes) {
    EXPECT_EQ(DecodeCp1251("\xC0\xDF\xE0\xFF"), u"АЯая");
    EXPECT_EQ(DecodeCp1251("\xA8\xB8"), u"Ёё");
    EXPECT_EQ(DecodeCp1251("\xA0\x88\xB9\x96\x97"), u"\u00A0€№–—");
    EXPECT_EQ(DecodeCp1251("\xA5\xB4\xAA\xBA\xAF\xBF\xB2\xB3"), u"ҐґЄєЇїІі");
    EXPECT_EQ(DecodeCp1251("\x98"), u"\u0098");
}

TEST(Cp1251, EveryByteDecodesToADistinctCharacterAndEncodesBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    std::u16string text = DecodeCp1251(all);
    EXPECT_EQ(std::set<char16_t>(text.begin(), text.end()).size(), 256u);
    EXPECT_EQ(EncodeCp1251(text), all);
}

TEST(Cp1251, CharactersOutsideTheCodePageEncodeAsQuestionMarks) {
    EXPECT_EQ(EncodeCp1251(u"aЖ\u4E2D\u00E9"), "a\xC6??");
}

}  // namespace
}  // namespace quillex
