#pragma once

#include <cstdint>
#include <string>

namespace quillex {

// Every language-dependent text of the main window, filled for one interface language.
// Texts are UTF-8; they are shown in widgets only and never become document bytes.
// Entries start empty and stay so until a language is applied.
struct CaptionTable {
    std::string Txt_Minimize;
    std::string Txt_Hints;
    std::string Txt_Language;
    std::string Txt_Func_0;
    std::string Txt_Func_1;
    std::string Txt_Func_2;
    std::string Txt_Func_3;
    std::string Txt_Func_4;
    std::string Txt_Func_5;
    std::string Txt_Func_6;
    std::string Txt_Func_7;
    std::string Txt_Func_8;
    std::string Txt_Func_9;
    std::string Txt_Func_10;
    std::string Txt_Func_11;
    std::string Txt_Auto_Min_Hint;
    std::string Txt_Hints_Hint;
    std::string Txt_Help_Hint;
    std::string Txt_Website;
    std::string Txt_Min_Tray_Hint;
    std::string Txt_Exit;
    std::string Txt_Lines;
    std::string Txt_Characters;
    std::string Txt_Max_Chars;
    std::string Txt_Lines_Processed;
    std::string Txt_Load_File;
    std::string Txt_Save_File;
    std::string Txt_Select_Function;
    std::string Txt_Open;       // the load button's caption
    std::string Txt_Save;       // the save button's caption
    std::string Txt_All_Files;  // the file dialogs' entry for every file, with its pattern
    std::string Txt_Undo;       // the view menu's undo and redo items
    std::string Txt_Redo;
    std::string Txt_Encoding;  // the view menu's encoding submenu

    // Txt_Func_0 .. Txt_Func_11 by function number.
    static constexpr int kFunctionCount = 12;
    const std::string& FunctionName(int function) const;

    friend bool operator==(const CaptionTable&, const CaptionTable&) = default;
};

// 0 is English, 1 is Russian; a stored value may be anything else, which selects no language.
inline constexpr std::int32_t kLanguageEnglish = 0;
inline constexpr std::int32_t kLanguageRussian = 1;

// Overwrites every entry with the texts of `languageIndex`; any index other than 0 and 1
// leaves the table as it is.
void FillCaptionTable(std::int32_t languageIndex, CaptionTable& table);

}  // namespace quillex
