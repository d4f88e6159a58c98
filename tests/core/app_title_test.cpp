#include "core/app_title.h"

#include <gtest/gtest.h>

namespace quillex {
namespace {

TEST(ApplicationTitle, FileNameUpToTheFirstFullStopWithTheRestInLowerCase) {
    EXPECT_EQ(ApplicationTitle("Quillex"), "Quillex");
    EXPECT_EQ(ApplicationTitle("/usr/local/bin/Quillex"), "Quillex");
    EXPECT_EQ(ApplicationTitle("C:\\Tools\\QUILLEX.EXE"), "Quillex");
    EXPECT_EQ(ApplicationTitle("C:\\Tools\\my.tool.v2.exe"), "my");
    EXPECT_EQ(ApplicationTitle("quillex.exe"), "quillex");
    EXPECT_EQ(ApplicationTitle(".hidden"), "");
    EXPECT_EQ(ApplicationTitle(""), "");
}

}  // namespace
}  // namespace quillex
