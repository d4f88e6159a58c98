#include "core/caption_table.h"

#include <array>
#include <stdexcept>

namespace quillex {

namespace {

const CaptionTable kEnglish{
    .Txt_Minimize = "Minimize",
    .Txt_Hints = "Hints",
    .Txt_Language = "English",
    .Txt_Func_0 = "Remove a few letters at the beginning of lines",
    .Txt_Func_1 = "Replace letters in lines",
    .Txt_Func_2 = "Remove line ends",
    .Txt_Func_3 = "Add text to lines",
    .Txt_Func_4 = "Remove lines on the condition",
    .Txt_Func_5 = "Remove duplicate lines",
    .Txt_Func_6 = "Remove all the specified characters",
    .Txt_Func_7 = "Remove line foldings",
    .Txt_Func_8 = "Remove all the lines before the specified one",
    .Txt_Func_9 = "Process the lines containing text",
    .Txt_Func_10 = "Remove excess spaces",
    .Txt_Func_11 = "Remove all lines beginning with the word",
    .Txt_Auto_Min_Hint = "Auto minimize on startup",
    .Txt_Hints_Hint = "Show hints",
    .Txt_Help_Hint = "Show a help file",
    .Txt_Website = "Go to our website",
    .Txt_Min_Tray_Hint = "Minimize the program to Tray",
    .Txt_Exit = "Exit",
    .Txt_Lines = "Lines: ",
    .Txt_Characters = "Characters: ",
    .Txt_Max_Chars = "Max. number of characters per line: ",
    .Txt_Lines_Processed = "Lines processed: ",
    .Txt_Load_File = "Load file:",
    .Txt_Save_File = "Save file:",
    .Txt_Select_Function = "Select function:",
    .Txt_Open = "Open",
    .Txt_Save = "Save",
    .Txt_All_Files = "All files (*)",
    .Txt_Undo = "Undo",
    .Txt_Redo = "Redo",
    .Txt_Encoding = "Encoding",
};

const CaptionTable kRussian{
    .Txt_Minimize = "Минимизация",
    .Txt_Hints = "Подсказки",
    .Txt_Language = "Русский",
    .Txt_Func_0 = "Удалить несколько символов в начале строк",
    .Txt_Func_1 = "Заменить символы в строках",
    .Txt_Func_2 = "Удалить концы строк",
    .Txt_Func_3 = "Добавить к строкам текст",
    .Txt_Func_4 = "Удалить строки по условию",
    .Txt_Func_5 = "Удалить дубли строк",
    .Txt_Func_6 = "Удалить все указанные символы",
    .Txt_Func_7 = "Удалить переносы строк",
    .Txt_Func_8 = "Удалить все строки до заданной",
    .Txt_Func_9 = "Обработать строки содержащие текст",
    .Txt_Func_10 = "Удалить лишние пробелы",
    .Txt_Func_11 = "Удалить все строки начинающиеся со слова",
    .Txt_Auto_Min_Hint = "Автоминимизация программы при запуске",
    .Txt_Hints_Hint = "Показывать всплывающие подсказки",
    .Txt_Help_Hint = "Показать файл помощи",
    .Txt_Website = "Перейти на наш сайт",
    .Txt_Min_Tray_Hint = "Свернуть программу в Tray",
    .Txt_Exit = "Выйти из программы",
    .Txt_Lines = "Строк: ",
    .Txt_Characters = "Символов: ",
    .Txt_Max_Chars = "Max. символов в строке: ",
    .Txt_Lines_Processed = "Обработано строк: ",
    .Txt_Load_File = "Загрузить файл:",
    .Txt_Save_File = "Сохранить файл:",
    .Txt_Select_Function = "Выбрать функцию:",
    .Txt_Open = "Открыть",
    .Txt_Save = "Сохранить",
    .Txt_All_Files = "Все файлы (*)",
    .Txt_Undo = "Отменить",
    .Txt_Redo = "Повторить",
    .Txt_Encoding = "Кодировка",
};

}  // namespace

const std::string& CaptionTable::FunctionName(int function) const {
    static constexpr std::array<std::string CaptionTable::*, kFunctionCount> kEntries = {
        &CaptionTable::Txt_Func_0, &CaptionTable::Txt_Func_1,  &CaptionTable::Txt_Func_2,
        &CaptionTable::Txt_Func_3, &CaptionTable::Txt_Func_4,  &CaptionTable::Txt_Func_5,
        &CaptionTable::Txt_Func_6, &CaptionTable::Txt_Func_7,  &CaptionTable::Txt_Func_8,
        &CaptionTable::Txt_Func_9, &CaptionTable::Txt_Func_10, &CaptionTable::Txt_Func_11,
    };
    if (function < 0 || function >= kFunctionCount) {
        throw std::out_of_range("no line function " + std::to_string(function));
    }
    return this->*kEntries[static_cast<std::size_t>(function)];
}

void FillCaptionTable(std::int32_t languageIndex, CaptionTable& table) {
    if (languageIndex == kLanguageEnglish) {
        table = kEnglish;
    }
    if (languageIndex == kLanguageRussian) {  // a test of its own, as the index may be anything
        table = kRussian;
    }
}

}  // namespace quillex
