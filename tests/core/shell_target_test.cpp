#include "core/shell_target.h"

#include <gtest/gtest.h>

namespace quillex {
namespace {

using Kind = ShellTarget::Kind;

TEST(ShellTarget, WebPageByLanguage) {
    EXPECT_EQ(WebPageTarget(0), (ShellTarget{Kind::WebAddress, "https://quillex.example.org/en/",
                                             ShowCommand::ShowNormal}));
    EXPECT_EQ(WebPageTarget(1), (ShellTarget{Kind::WebAddress, "https://quillex.example.org/ru/",
                                             ShowCommand::ShowNormal}));
}

TEST(ShellTarget, HelpFileByLanguageIsABareNameShownRestored) {
    EXPECT_EQ(HelpFileTarget(0), (ShellTarget{Kind::Document, "Help_e.txt", ShowCommand::Restore}));
    EXPECT_EQ(HelpFileTarget(1), (ShellTarget{Kind::Document, "Help_r.txt", ShowCommand::Restore}));
    EXPECT_EQ(static_cast<int>(ShowCommand::Restore), 9);     // SW_RESTORE
    EXPECT_EQ(static_cast<int>(ShowCommand::ShowNormal), 1);  // SW_SHOWNORMAL
}

TEST(ShellTarget, AnyOtherLanguageIndexOpensNothing) {
    for (const std::int32_t index : {2, 7, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_FALSE(WebPageTarget(index).has_value()) << index;
        EXPECT_FALSE(HelpFileTarget(index).has_value()) << index;
    }
}

}  // namespace
}  // namespace quillex
