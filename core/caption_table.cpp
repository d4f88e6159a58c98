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
    .Txt_Func_12 = "Sort lines",
    .Txt_Func_13 = "Reverse the order of lines",
    .Txt_Func_14 = "Shuffle lines",
    .Txt_Func_15 = "Remove duplicates by a mode",
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
    .Txt_Cancel = "Cancel",
    .Txt_Save_Steps = "Save steps as recipe…",
    .Txt_Apply_Recipe = "Apply recipe…",
    .Txt_Apply_Recipe_To_Files = "Apply recipe to files…",
    .Txt_Recipe_Files = "Recipes (*.recipe)",
    .Txt_File_Error = "File: %1 error!",
    .Txt_Not_Regular_File = "The file is %1, not a regular file; only regular files are loaded.",
    .Txt_Kind_Directory = "a directory",
    .Txt_Kind_Pipe = "a pipe",
    .Txt_Kind_Socket = "a socket",
    .Txt_Kind_Character_Device = "a character device",
    .Txt_Kind_Block_Device = "a block device",
    .Txt_Kind_Special_File = "a special file",
    .Txt_Utf16_Text =
        "The file is UTF-16 text (it begins with a byte-order mark); only "
        "single-byte text is loaded.",
    .Txt_Too_Large =
        "The file is %1, more than the %2 of memory the window may use. Clean it with "
        "quillex-batch, or with \"%3\" in the view's menu.",
    .Txt_Megabytes = "%1 MB",
    .Txt_Gigabytes = "%1 GB",
    .Txt_Nul_Notice =
        "'%1': the text ends at byte %2, where the file holds a NUL byte; the rest "
        "of the file was not loaded.",
    .Txt_Nul_Write_Anyway =
        "Writing the document over it loses the rest for good. Write it "
        "anyway?",
    .Txt_Changed_On_Disk =
        "The file %1 has been changed since Quillex wrote it. Write over it "
        "anyway?",
    .Txt_Cannot_Hold =
        "The field \"%1\" holds a character that %2 cannot hold. Nothing was "
        "changed.",
    .Txt_Field_Count = "number of characters",
    .Txt_Field_Replaced = "character 1",
    .Txt_Field_Replacement = "character 2",
    .Txt_Field_Cut_Word = "word",
    .Txt_Field_Left = "left text",
    .Txt_Field_Right = "right text",
    .Txt_Field_Condition_Text = "search text",
    .Txt_Field_Line_Number = "line number",
    .Txt_Field_Extension = "text",
    .Txt_Field_Remove_Word = "word",
    .Txt_No_Steps =
        "No function has changed the document since it was loaded: there are no steps to "
        "save.",
    .Txt_Bad_Recipe = "The recipe cannot be used: %1. Nothing was changed.",
    .Txt_Step_Failed = "The recipe stopped at %1. Nothing was changed.",
    .Txt_File_Of_Files = "File %1 of %2",
    .Txt_Files_Done = "%1 files written to %3, %2 failed.",
    .Txt_Files_Refused = "Nothing was written: %1.",
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
    .Txt_Func_12 = "Сортировать строки",
    .Txt_Func_13 = "Обратить порядок строк",
    .Txt_Func_14 = "Перемешать строки",
    .Txt_Func_15 = "Удалить дубли по режиму",
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
    .Txt_Cancel = "Отмена",
    .Txt_Save_Steps = "Сохранить шаги как рецепт…",
    .Txt_Apply_Recipe = "Применить рецепт…",
    .Txt_Apply_Recipe_To_Files = "Применить рецепт к файлам…",
    .Txt_Recipe_Files = "Рецепты (*.recipe)",
    .Txt_File_Error = "Файл: %1 — ошибка!",
    .Txt_Not_Regular_File = "Это %1, а не обычный файл; загружаются только обычные файлы.",
    .Txt_Kind_Directory = "папка",
    .Txt_Kind_Pipe = "канал",
    .Txt_Kind_Socket = "сокет",
    .Txt_Kind_Character_Device = "символьное устройство",
    .Txt_Kind_Block_Device = "блочное устройство",
    .Txt_Kind_Special_File = "особый файл",
    .Txt_Utf16_Text =
        "Это текст UTF-16 (он начинается с метки порядка байтов); загружается "
        "только однобайтовый текст.",
    .Txt_Too_Large =
        "Файл занимает %1, а окно может занять не больше %2 памяти. Обработайте его "
        "программой quillex-batch или пунктом «%3» в меню окна просмотра.",
    .Txt_Megabytes = "%1 МБ",
    .Txt_Gigabytes = "%1 ГБ",
    .Txt_Nul_Notice =
        "'%1': текст кончается на байте %2, где в файле стоит байт NUL; остаток "
        "файла не загружен.",
    .Txt_Nul_Write_Anyway =
        "Если записать документ поверх него, остаток пропадёт навсегда. "
        "Всё равно записать?",
    .Txt_Changed_On_Disk =
        "Файл %1 изменён после того, как Quillex записал его. Всё равно "
        "записать поверх?",
    .Txt_Cannot_Hold =
        "В поле «%1» есть символ, которого нет в кодировке %2. Ничего не "
        "изменено.",
    .Txt_Field_Count = "число символов",
    .Txt_Field_Replaced = "символ 1",
    .Txt_Field_Replacement = "символ 2",
    .Txt_Field_Cut_Word = "слово",
    .Txt_Field_Left = "текст слева",
    .Txt_Field_Right = "текст справа",
    .Txt_Field_Condition_Text = "искомый текст",
    .Txt_Field_Line_Number = "номер строки",
    .Txt_Field_Extension = "текст",
    .Txt_Field_Remove_Word = "слово",
    .Txt_No_Steps = "После загрузки документ не менялся ни одной функцией: сохранять нечего.",
    .Txt_Bad_Recipe = "Рецепт нельзя применить: %1. Ничего не изменено.",
    .Txt_Step_Failed = "Рецепт остановился на шаге %1. Ничего не изменено.",
    .Txt_File_Of_Files = "Файл %1 из %2",
    .Txt_Files_Done = "Записано файлов в %3: %1, с ошибкой: %2.",
    .Txt_Files_Refused = "Ничего не записано: %1.",
};

}  // namespace

const std::string& CaptionTable::FunctionName(int function) const {
    static constexpr std::array<std::string CaptionTable::*, kFunctionCount> kEntries = {
        &CaptionTable::Txt_Func_0,  &CaptionTable::Txt_Func_1,  &CaptionTable::Txt_Func_2,
        &CaptionTable::Txt_Func_3,  &CaptionTable::Txt_Func_4,  &CaptionTable::Txt_Func_5,
        &CaptionTable::Txt_Func_6,  &CaptionTable::Txt_Func_7,  &CaptionTable::Txt_Func_8,
        &CaptionTable::Txt_Func_9,  &CaptionTable::Txt_Func_10, &CaptionTable::Txt_Func_11,
        &CaptionTable::Txt_Func_12, &CaptionTable::Txt_Func_13, &CaptionTable::Txt_Func_14,
        &CaptionTable::Txt_Func_15,
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
