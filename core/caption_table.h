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
    std::string Txt_Func_12;
    std::string Txt_Func_13;
    std::string Txt_Func_14;
    std::string Txt_Func_15;
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
    std::string Txt_Cancel;    // in place of Start while work runs
    // The view menu's recipe items, and the file dialogs' entry for recipes.
    std::string Txt_Save_Steps;
    std::string Txt_Apply_Recipe;
    std::string Txt_Apply_Recipe_To_Files;
    std::string Txt_Recipe_Files;

    // Messages; "%1", "%2" stand for what they name (a path, a number, a field).
    std::string Txt_File_Error;  // "File: %1 error!", %1 the field's text
    // A load refused for what the file is: the sentence, %1 one of the kinds after it.
    std::string Txt_Not_Regular_File;
    std::string Txt_Kind_Directory;
    std::string Txt_Kind_Pipe;
    std::string Txt_Kind_Socket;
    std::string Txt_Kind_Character_Device;
    std::string Txt_Kind_Block_Device;
    std::string Txt_Kind_Special_File;
    std::string Txt_Utf16_Text;
    // A load refused before it begins: %1 the file's size, %2 the memory the window may use,
    // %3 the view menu's item that runs a recipe over files; each size one of the two below,
    // %1 the number.
    std::string Txt_Too_Large;
    std::string Txt_Megabytes;
    std::string Txt_Gigabytes;
    std::string Txt_Nul_Notice;  // %1 the file, %2 the offset of the NUL byte
    std::string Txt_Nul_Write_Anyway;
    std::string Txt_Changed_On_Disk;  // %1 the load file
    // A panel's text the document's encoding cannot hold: %1 the field, %2 the encoding.
    std::string Txt_Cannot_Hold;
    // The panels' text fields, as that message names them.
    std::string Txt_Field_Count;
    std::string Txt_Field_Replaced;
    std::string Txt_Field_Replacement;
    std::string Txt_Field_Cut_Word;
    std::string Txt_Field_Left;
    std::string Txt_Field_Right;
    std::string Txt_Field_Condition_Text;
    std::string Txt_Field_Line_Number;
    std::string Txt_Field_Extension;
    std::string Txt_Field_Remove_Word;
    // Recipes: nothing to save; a recipe that cannot be used (%1 why) or whose step failed
    // (%1 the step and why); a file of a run over files (%1 which, %2 of how many); the end
    // of that run (%1 files written, %2 failed, %3 the folder); the run refused before it began
    // (%1 why).
    std::string Txt_No_Steps;
    std::string Txt_Bad_Recipe;
    std::string Txt_Step_Failed;
    std::string Txt_File_Of_Files;
    std::string Txt_Files_Done;
    std::string Txt_Files_Refused;

    // Txt_Func_0 .. Txt_Func_15 by function number.
    static constexpr int kFunctionCount = 16;
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
