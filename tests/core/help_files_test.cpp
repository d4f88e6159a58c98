#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/caption_table.h"
#include "core/shell_target.h"
#include "core/temp_dir.h"

namespace quillex {
namespace {

std::string HelpText(const char* name) {
    return testing::ReadBytes(std::filesystem::path(QUILLEX_HELP_DIR) / name);
}

// Each help file describes every function under the name the chooser shows in its language,
// and warns about the functions that write over the loaded file.
TEST(HelpFiles, DescribeEveryFunctionUnderItsChooserName) {
    struct Case {
        const char* file;
        std::int32_t language;
        const char* overwriteWarning;
    };
    for (const Case c :
         {Case{kHelpFileEnglish, kLanguageEnglish, "WRITTEN OVER THE LOADED FILE"},
          Case{kHelpFileRussian, kLanguageRussian, "ЗАПИСЫВАЕТСЯ ПОВЕРХ ЗАГРУЖЕННОГО ФАЙЛА"}}) {
        const std::string text = HelpText(c.file);
        ASSERT_FALSE(text.empty()) << c.file;
        CaptionTable table;
        FillCaptionTable(c.language, table);
        for (int k = 0; k < CaptionTable::kFunctionCount; ++k) {
            const std::string heading = std::to_string(k) + ". " + table.FunctionName(k) + "\r\n";
            EXPECT_NE(text.find(heading), std::string::npos) << c.file << ": " << heading;
        }
        std::size_t warnings = 0;
        for (auto at = text.find(c.overwriteWarning); at != std::string::npos;
             at = text.find(c.overwriteWarning, at + 1)) {
            ++warnings;
        }
        EXPECT_EQ(warnings, 3u) << c.file << ": functions 5, 8 and 9";
    }
}

}  // namespace
}  // namespace quillex
