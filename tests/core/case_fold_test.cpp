#include "core/case_fold.h"

#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "ops_reference.h"

namespace quillex {
namespace {

TEST(CaseFold, EveryByteFoldsToTheCodePageByteOfItsLowerCaseLetter) {
    int folded = 0;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        EXPECT_EQ(Cp1251ToUnicode(FoldCase(byte)), reference::LowerCase(Cp1251ToUnicode(byte)))
            << "byte " << b;
        folded += FoldCase(byte) != byte;
    }
    EXPECT_EQ(folded, 26 + 32 + 15);  // Latin, basic Russian, the other Cyrillic capitals
}

TEST(CaseFold, EveryCyrillicPairOfTheCodePageFolds) {
    // Capital and small letter as bytes: Ё Ђ Ѓ Љ Њ Ќ Ћ Џ Ў Ј Ґ Є Ї І Ѕ.
    const unsigned char pairs[][2] = {
        {0xA8, 0xB8}, {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C},
        {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC},
        {0xA5, 0xB4}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
    };
    for (const auto& pair : pairs) {
        EXPECT_EQ(FoldCase(pair[0]), pair[1]) << int(pair[0]);
        EXPECT_EQ(FoldCase(pair[1]), pair[1]) << int(pair[1]);
    }
    for (int b = 0xC0; b <= 0xDF; ++b) {  // А..Я
        EXPECT_EQ(FoldCase(static_cast<unsigned char>(b)), b + 0x20);
    }
}

TEST(CaseFold, OnlyLettersFold) {
    // The no-break space, the micro sign (no small pair in the code page), quotes, dashes.
    for (unsigned char b : {0x20, 0x09, 0xA0, 0xB5, 0xAB, 0x96, 0x97, 0x98, 0x40, 0x5B}) {
        EXPECT_EQ(FoldCase(b), b) << int(b);
    }
}

TEST(CaseFold, EqualityAndHashFollowTheFolding) {
    const struct {
        std::string a, b;
        bool equal;
    } cases[] = {
        {"Hello", "hELLO", true},
        {"\xC0\xC1\xC2", "\xE0\xE1\xE2", true},  // АБВ / абв
        {"\xA8\xEB\xEA\xE0", "\xB8\xCB\xCA\xC0", true},
        {"b", "b ", false},
        {"a b", "a  b", false},
        {"a\tb", "a b", false},
        {"\xA0", " ", false},
        {"", "", true},
        {"\xE5", "\xB8", false},  // е and ё stay apart
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoldedEqual(c.a, c.b), c.equal) << c.a << " / " << c.b;
        if (c.equal) {
            EXPECT_EQ(FoldedHash(c.a), FoldedHash(c.b)) << c.a;
        }
    }
}

}  // namespace
}  // namespace quillex
