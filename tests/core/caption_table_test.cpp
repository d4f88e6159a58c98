#include "core/caption_table.h"

#include <gtest/gtest.h>

namespace quillex {
namespace {

TEST(CaptionTable, EnglishTexts) {
    CaptionTable table;
    FillCaptionTable(kLanguageEnglish, table);
    EXPECT_EQ(table.Txt_Lines_Processed, "Lines processed: ");
    EXPECT_EQ(table.Txt_Lines, "Lines: ");
    EXPECT_EQ(table.Txt_Characters, "Characters: ");
    EXPECT_EQ(table.Txt_Max_Chars, "Max. number of characters per line: ");
    EXPECT_EQ(table.Txt_Exit, "Exit");
    EXPECT_EQ(table.Txt_Language, "English");
    EXPECT_EQ(table.Txt_Select_Function, "Select function:");
    EXPECT_EQ(table.FunctionName(0), "Remove a few letters at the beginning of lines");
    EXPECT_EQ(table.FunctionName(5), "Remove duplicate lines");
    EXPECT_EQ(table.FunctionName(11), "Remove all lines beginning with the word");
}

TEST(CaptionTable, RussianTexts) {
    CaptionTable table;
    FillCaptionTable(kLanguageRussian, table);
    EXPECT_EQ(table.Txt_Lines_Processed, "Обработано строк: ");
    EXPECT_EQ(table.Txt_Lines, "Строк: ");
    EXPECT_EQ(table.Txt_Characters, "Символов: ");
    EXPECT_EQ(table.Txt_Max_Chars, "Max. символов в строке: ");
    EXPECT_EQ(table.Txt_Exit, "Выйти из программы");
    EXPECT_EQ(table.Txt_Website, "Перейти на наш сайт");
    EXPECT_EQ(table.Txt_Min_Tray_Hint, "Свернуть программу в Tray");
    EXPECT_EQ(table.FunctionName(9), "Обработать строки содержащие текст");
    EXPECT_EQ(table.FunctionName(10), "Удалить лишние пробелы");
}

TEST(CaptionTable, EveryEntryIsFilledInBothLanguagesAndTheyDiffer) {
    CaptionTable english, russian;
    FillCaptionTable(kLanguageEnglish, english);
    FillCaptionTable(kLanguageRussian, russian);
    for (int k = 0; k < CaptionTable::kFunctionCount; ++k) {
        EXPECT_FALSE(english.FunctionName(k).empty()) << k;
        EXPECT_NE(english.FunctionName(k), russian.FunctionName(k)) << k;
    }
    EXPECT_THROW(english.FunctionName(CaptionTable::kFunctionCount), std::out_of_range);
}

TEST(CaptionTable, AnotherIndexKeepsWhatTheTableHeld) {
    CaptionTable table;
    FillCaptionTable(2, table);
    EXPECT_EQ(table, CaptionTable{});  // 2 from the start: every entry empty
    EXPECT_TRUE(table.Txt_Func_3.empty());

    FillCaptionTable(kLanguageEnglish, table);
    FillCaptionTable(kLanguageRussian, table);
    CaptionTable russian = table;
    FillCaptionTable(2, table);
    FillCaptionTable(-1, table);
    EXPECT_EQ(table, russian);  // 0, then 1, then 2 leaves the Russian texts
}

}  // namespace
}  // namespace quillex
