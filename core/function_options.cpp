#include "core/function_options.h"

#include <array>
#include <charconv>
#include <stdexcept>

namespace quillex {

namespace {

using Kind = OptionKind;
using P = FunctionParams;
using Value = std::optional<std::string>;

constexpr std::string_view kCountEntries[] = {"1", "2", "3",  "4",  "5",  "6", "7",
                                              "8", "9", "10", "15", "20", "50"};
constexpr std::string_view kCharacterEntries[] = {"?", ".", ",", "=", "\\", "|", "/", "<", ">",
                                                  "%", "$", "#", "(", ")",  "[", "]", "{", "}"};
constexpr std::string_view kConditionEntries[] = {
    "Line length = 0",          "Line length < 5",          "Line length < 20",
    "Line length > 1",          "Line length > 5",          "Line length > 20",
    "String contains a sign %", "String contains a sign ?", "String contains a sign $",
    "String contains a text"};
constexpr std::string_view kClassEntries[] = {"Marks ['.', ';', ',', ':', '!', '?']",
                                              "Numbers ['0'..'9']", "Internal spaces [' ']"};
constexpr std::string_view kSideEntries[] = {"At the start of the line", "At the end of lines",
                                             "To the start and end of line"};
// The orders and the duplicate modes, in the order of their enumerators.
constexpr std::string_view kOrderEntries[] = {"As bytes", "Ignoring letter case", "By number",
                                              "Numbers in the text by value", "By length"};
constexpr std::string_view kOrderWords[] = {"bytes", "case", "number", "natural", "length"};
constexpr std::string_view kKeepEntries[] = {"Keep the first of each", "Keep the last of each",
                                             "Only the lines that occur once",
                                             "Only adjacent duplicates"};
constexpr std::string_view kKeepWords[] = {"first", "last", "none", "adjacent"};

Value Flag(bool on) {
    return on ? "1" : "0";
}

template <typename Enum>
Value EntryNumber(std::optional<Enum> entry) {
    return std::to_string(entry ? static_cast<int>(*entry) : -1);
}

// The entry a number gives, none for -1; the number was checked against the entries.
template <typename Enum, std::size_t count>
std::optional<Enum> Entry(std::string_view value, const std::string_view (&)[count]) {
    int number = -2;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number < -1 ||
        number >= static_cast<int>(count)) {
        throw std::invalid_argument("not an entry: " + std::string(value));
    }
    return number < 0 ? std::nullopt : std::optional<Enum>(static_cast<Enum>(number));
}

// The word of an entry; checked, since an enumerator read from a stored value may be any.
template <typename Enum>
Value WordOf(Enum entry, std::span<const std::string_view> words) {
    const auto k = static_cast<std::size_t>(entry);
    return k < words.size() ? Value(std::string(words[k])) : Value();
}

template <typename Enum, std::size_t count>
Enum ByWord(std::string_view value, const std::string_view (&words)[count]) {
    for (std::size_t k = 0; k < count; ++k) {
        if (words[k] == value) {
            return static_cast<Enum>(k);
        }
    }
    throw std::invalid_argument("not an entry: " + std::string(value));
}

std::uint64_t WholeNumber(std::string_view value) {
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size()) {
        throw std::invalid_argument("not a whole number: " + std::string(value));
    }
    return number;
}

constexpr OptionInfo kCount = {"count",
                               Kind::CountText,
                               "characters to cut",
                               "ComboBox_0_0",
                               kCountEntries,
                               [](const P& p) -> Value { return p.count; },
                               [](P& p, std::string_view v, Encoding) { p.count = v; },
                               {},
                               &CaptionTable::Txt_Field_Count};
constexpr OptionInfo kReplace[] = {
    {"from",
     Kind::OneChar,
     "the character to find, the first of the text (empty fails the run)",
     "ComboBox_1_0",
     kCharacterEntries,
     [](const P& p) -> Value { return p.from.value_or(""); },
     [](P& p, std::string_view v, Encoding e) { p.from = FirstChar(v, e); },
     {},
     &CaptionTable::Txt_Field_Replaced},
    {"to",
     Kind::OneChar,
     "its replacement, the first character",
     "ComboBox_1_1",
     kCharacterEntries,
     [](const P& p) -> Value { return p.to.value_or(""); },
     [](P& p, std::string_view v, Encoding e) { p.to = FirstChar(v, e); },
     {},
     &CaptionTable::Txt_Field_Replacement},
};
constexpr OptionInfo kCutWord = {"word",
                                 Kind::Text,
                                 "the word",
                                 "ComboBox_2_0",
                                 {},
                                 [](const P& p) -> Value { return p.cut_word; },
                                 [](P& p, std::string_view v, Encoding) { p.cut_word = v; },
                                 {},
                                 &CaptionTable::Txt_Field_Cut_Word};
constexpr OptionInfo kAddText[] = {
    {"left",
     Kind::OptionalText,
     "text in front of every line (off unless given)",
     "ComboBox_3_0",
     {},
     [](const P& p) -> Value { return p.add_left ? Value(p.left) : Value(); },
     [](P& p, std::string_view v, Encoding) {
         p.left = v;
         p.add_left = true;
     },
     {},
     &CaptionTable::Txt_Field_Left,
     "Cb_3_0"},
    {"right",
     Kind::OptionalText,
     "text behind every line (off unless given)",
     "ComboBox_3_1",
     {},
     [](const P& p) -> Value { return p.add_right ? Value(p.right) : Value(); },
     [](P& p, std::string_view v, Encoding) {
         p.right = v;
         p.add_right = true;
     },
     {},
     &CaptionTable::Txt_Field_Right,
     "Cb_3_1"},
};
constexpr OptionInfo kRemoveIf[] = {
    {"condition", Kind::Choice, "the condition 0..9, -1 for none", "ComboBox_4_0",
     kConditionEntries, [](const P& p) { return EntryNumber(p.condition); },
     [](P& p, std::string_view v, Encoding) {
         p.condition = Entry<RemovalCondition>(v, kConditionEntries);
     }},
    {"text",
     Kind::Text,
     "the search text",
     "Edit_4_0",
     {},
     [](const P& p) -> Value { return p.condition_text; },
     [](P& p, std::string_view v, Encoding) { p.condition_text = v; },
     {},
     &CaptionTable::Txt_Field_Condition_Text},
};
constexpr OptionInfo kRemoveClass = {
    "class",
    Kind::Choice,
    "0 marks, 1 numbers, 2 spaces, -1 none",
    "ComboBox_6_0",
    kClassEntries,
    [](const P& p) { return EntryNumber(p.char_class); },
    [](P& p, std::string_view v, Encoding) { p.char_class = Entry<CharClass>(v, kClassEntries); }};
constexpr OptionInfo kJoin = {"br",
                              Kind::Flag,
                              "put \"<br>\" after every former line",
                              "Cb_7_0",
                              {},
                              [](const P& p) { return Flag(p.marker); },
                              [](P& p, std::string_view v, Encoding) { p.marker = v == "1"; }};
constexpr OptionInfo kDropFirst = {"lines",
                                   Kind::CountText,
                                   "lines to drop",
                                   "Edit_8_0",
                                   {},
                                   [](const P& p) -> Value { return p.drop_count; },
                                   [](P& p, std::string_view v, Encoding) { p.drop_count = v; },
                                   {},
                                   &CaptionTable::Txt_Field_Line_Number};
constexpr OptionInfo kFilterExt[] = {
    {"text",
     Kind::Text,
     "the extension",
     "Edit_9_0",
     {},
     [](const P& p) -> Value { return p.extension; },
     [](P& p, std::string_view v, Encoding) { p.extension = v; },
     {},
     &CaptionTable::Txt_Field_Extension},
    {"keep",
     Kind::Flag,
     "keep the lines with the extension (the default)",
     "Rb_9_0",
     {},
     [](const P& p) { return Flag(p.mode == FilterMode::KeepMatching); },
     [](P& p, std::string_view v, Encoding) {
         p.mode = v == "1" ? FilterMode::KeepMatching : FilterMode::RemoveMatching;
     }},
    {"drop",
     Kind::Flag,
     "drop the lines with the extension",
     "Rb_9_1",
     {},
     [](const P& p) { return Flag(p.mode == FilterMode::RemoveMatching); },
     [](P& p, std::string_view v, Encoding) {
         p.mode = v == "1" ? FilterMode::RemoveMatching : FilterMode::KeepMatching;
     }},
};
constexpr OptionInfo kTrim = {
    "side",
    Kind::Choice,
    "0 start, 1 end, 2 both, -1 none",
    "ComboBox_10_0",
    kSideEntries,
    [](const P& p) { return EntryNumber(p.side); },
    [](P& p, std::string_view v, Encoding) { p.side = Entry<TrimSide>(v, kSideEntries); }};
constexpr OptionInfo kRemoveWord = {"word",
                                    Kind::Text,
                                    "the word",
                                    "Edit_11_0",
                                    {},
                                    [](const P& p) -> Value { return p.remove_word; },
                                    [](P& p, std::string_view v, Encoding) { p.remove_word = v; },
                                    {},
                                    &CaptionTable::Txt_Field_Remove_Word};

constexpr OptionInfo kSort[] = {
    {"by", Kind::Choice, "the order: bytes, case (letter case ignored), number, natural or length",
     "ComboBox_12_0", kOrderEntries, [](const P& p) { return WordOf(p.sort_by, kOrderWords); },
     [](P& p, std::string_view v, Encoding) { p.sort_by = ByWord<SortOrder>(v, kOrderWords); },
     kOrderWords},
    {"descending",
     Kind::Flag,
     "the greatest first",
     "Cb_12_0",
     {},
     [](const P& p) { return Flag(p.descending); },
     [](P& p, std::string_view v, Encoding) { p.descending = v == "1"; }},
};
constexpr OptionInfo kShuffle = {
    "seed",
    Kind::Number,
    "a seed for a repeatable order (a random order unless given)",
    "Edit_14_0",
    {},
    [](const P& p) { return p.seed ? Value(std::to_string(*p.seed)) : Value(); },
    [](P& p, std::string_view v, Encoding) { p.seed = WholeNumber(v); }};
constexpr OptionInfo kDuplicates[] = {
    {"keep", Kind::Choice,
     "WORD, of each group of equal lines: first, last, none (only lines that occur once) or "
     "adjacent (a line equal to the one before it goes)",
     "ComboBox_15_0", kKeepEntries,
     [](const P& p) { return WordOf(p.duplicates.keep, kKeepWords); },
     [](P& p, std::string_view v, Encoding) {
         p.duplicates.keep = ByWord<DuplicateKeep>(v, kKeepWords);
     },
     kKeepWords},
    {"exact",
     Kind::Flag,
     "lines equal byte for byte (letter case ignored otherwise)",
     "Cb_15_0",
     {},
     [](const P& p) { return Flag(p.duplicates.exact); },
     [](P& p, std::string_view v, Encoding) { p.duplicates.exact = v == "1"; }},
    {"count",
     Kind::Flag,
     "without TEXT, each kept line written as its group's size, a tab, the line",
     "Cb_15_1",
     {},
     [](const P& p) { return Flag(p.duplicates.count); },
     [](P& p, std::string_view v, Encoding) { p.duplicates.count = v == "1"; }},
};

// By function number.
constexpr std::array<std::span<const OptionInfo>, kFunctionCount> kOptions = {{
    {&kCount, 1},
    kReplace,
    {&kCutWord, 1},
    kAddText,
    kRemoveIf,
    {},
    {&kRemoveClass, 1},
    {&kJoin, 1},
    {&kDropFirst, 1},
    kFilterExt,
    {&kTrim, 1},
    {&kRemoveWord, 1},
    kSort,
    {},
    {&kShuffle, 1},
    kDuplicates,
}};

}  // namespace

std::span<const OptionInfo> OptionsOf(FunctionId id) {
    return kOptions[static_cast<std::size_t>(id)];
}

const OptionInfo* FindOption(FunctionId id, std::string_view name) {
    for (const OptionInfo& option : OptionsOf(id)) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

std::vector<std::string> StepWords(FunctionId id, const FunctionParams& params, Encoding encoding) {
    std::vector<std::string> words{std::string(Describe(id).name)};
    for (const OptionInfo& option : OptionsOf(id)) {
        const Value value = option.get(params);
        if (!value || value == option.Default()) {
            continue;
        }
        if (option.kind == Kind::Flag) {
            if (*value == "1") {  // a flag only turns on; its pair's "on" says the rest
                words.push_back("--" + std::string(option.name));
            }
            continue;
        }
        words.push_back("--" + std::string(option.name));
        words.push_back(option.IsText() || option.kind == Kind::CountText
                            ? EncodingToUtf8(*value, encoding)
                            : *value);
    }
    return words;
}

}  // namespace quillex
