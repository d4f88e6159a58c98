#include <gtest/gtest.h>

#include "core/line_operations.h"

namespace quillex {
namespace {

TEST(ParseCountText, AcceptsBlanksSignDecimalAndHexadecimal) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"0", 0},
        {"1", 1},
        {"50", 50},
        {" 7", 7},
        {"   +12", 12},
        {"-3", -3},
        {"007", 7},
        {"$10", 16},
        {"$ff", 255},
        {"-$A", -10},
        {"0x1F", 31},
        {"0X1f", 31},
        {"+0x10", 16},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$7FFFFFFF", 2147483647},
        {"-0x80000000", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCountText(c.text), c.value) << c.text;
    }
}

TEST(ParseCountText, RefusesWhatIsNotAWholeSigned32BitInteger) {
    const char* cases[] = {
        "",           " ",           "+",           "-",         "12a",         "7 ",  "1 2",
        "\t7",        "$",           "0x",          "ff",        "1.5",         "--1", "+-1",
        "2147483648", "-2147483649", "99999999999", "$80000000", "0x100000000", "1e3", "\xB3"};
    for (const char* text : cases) {
        EXPECT_THROW(ParseCountText(text), ConversionError) << text;
    }
}

TEST(ParseCountText, TheMessageQuotesTheTextAsGiven) {
    const char* cases[] = {"", "12a", "99999999999", " x"};
    for (const char* text : cases) {
        try {
            ParseCountText(text);
            ADD_FAILURE() << text;
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

}  // namespace
}  // namespace quillex
