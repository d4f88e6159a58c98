#include "core/shell_target.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/temp_dir.h"

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

// The installed layout is found from the program's folder; anything short of it (no share
// folder, a share folder without the help files) leaves the program's own folder.
TEST(ShellTarget, HelpFolderIsTheInstalledShareFolderWhenItHoldsTheHelp) {
    struct Case {
        const char* name;
        bool makeShare;
        bool withHelp;
        bool installed;
    };
    for (const Case c :
         {Case{"installed", true, true, true}, Case{"build tree", false, false, false},
          Case{"empty share folder", true, false, false}}) {
        testing::TempDir dir;
        const std::filesystem::path bin = dir / "bin";
        const std::filesystem::path share = dir.path() / "share" / "quillex";
        std::filesystem::create_directories(bin);
        if (c.makeShare) {
            std::filesystem::create_directories(share);
        }
        if (c.withHelp) {
            testing::WriteBytes(share / "Help_e.txt", "help");
        }
        EXPECT_EQ(HelpFolder(bin), c.installed ? share : bin) << c.name;
    }
}

TEST(ShellTarget, AnyOtherLanguageIndexOpensNothing) {
    for (const std::int32_t index : {2, 7, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_FALSE(WebPageTarget(index).has_value()) << index;
        EXPECT_FALSE(HelpFileTarget(index).has_value()) << index;
    }
}

}  // namespace
}  // namespace quillex
