#pragma once

// Each line function's parameters as data: what the batch runner's options, its help, a
// recipe's steps and the window's panels are made from, so that a parameter is written once.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/caption_table.h"
#include "core/encoding.h"
#include "core/line_functions.h"

namespace quillex {

enum class OptionKind {
    CountText,     // a number as typed, read when the function runs
    OneChar,       // the first character of a text
    Text,          // a text in the document's encoding
    OptionalText,  // a text that is used only where it is given (switched on)
    Flag,          // on or off
    Choice,        // one of fixed entries: by number, -1 for none, or by word (see words)
    Number,        // a whole number from 0, checked when given; none unless given
};

struct OptionInfo {
    std::string_view name;  // "count": --count on the command line
    OptionKind kind;
    std::string_view help;
    std::string_view control;  // the panel's control, by its object name
    // A choice's entries; for an editable field, the entries its list offers.
    std::span<const std::string_view> entries;
    // The value as text: document bytes for texts, the entry number for a choice ("-1" for
    // none) or its word, "1" or "0" for a flag; none for an optional text that is off and for
    // a number not given.
    std::optional<std::string> (*get)(const FunctionParams&);
    // Sets it from such a text; a one-character option keeps the text's first character in
    // `encoding`, an optional text is switched on.
    void (*set)(FunctionParams&, std::string_view value, Encoding encoding);
    // For a choice taken by word, the words of its entries, in their order; empty for a
    // choice by number.
    std::span<const std::string_view> words = {};
    // For a text, the caption that names its field in a message (a character the document's
    // encoding cannot hold).
    const std::string CaptionTable::*field = nullptr;
    // For an optional text, the panel's tick box that switches it on, by its object name.
    std::string_view toggle = {};

    bool IsText() const {
        return kind == OptionKind::OneChar || kind == OptionKind::Text ||
               kind == OptionKind::OptionalText;
    }
    // The value FunctionParams starts with.
    std::optional<std::string> Default() const { return get(FunctionParams{}); }
};

// The options of one function, in the order the panel shows them.
std::span<const OptionInfo> OptionsOf(FunctionId id);
// The option of that name the function takes, or null.
const OptionInfo* FindOption(FunctionId id, std::string_view name);

// The function and its options as a recipe step writes them (the words after OUTPUT on the
// command line): its name, then each option whose value is not the default, texts in UTF-8.
std::vector<std::string> StepWords(FunctionId id, const FunctionParams& params, Encoding encoding);

}  // namespace quillex
