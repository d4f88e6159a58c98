#pragma once

// The line functions as one registry: the window's panels and the batch runner both
// name a function, fill its parameters (the panels' defaults unless told otherwise) and run it
// here, so that they cannot drift apart.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/document_lines.h"
#include "core/encoded_text.h"
#include "core/line_operations.h"
#include "core/line_ordering.h"
#include "core/line_selection.h"

namespace quillex {

enum class FunctionId {
    CutLeading,
    ReplaceChar,
    CutAtWord,
    AddText,
    RemoveIf,
    Dedupe,
    RemoveClass,
    Join,
    DropFirst,
    FilterExt,
    Trim,
    RemoveWithWord,
    Sort,
    Reverse,
    Shuffle,
    Duplicates,
};
inline constexpr int kFunctionCount = 16;

// What a run does with its result.
enum class FunctionResultKind {
    RewritesDocument,  // the document is changed where it is
    WritesLoadFile,    // a list of lines is written over the loaded file
};

// How a function may run over a text a block of lines at a time and give what it gives over
// the whole text.
enum class BlockRule {
    Whole,     // it needs every line at once
    EachLine,  // each line alone: blocks may run apart, on any thread
    InOrder,   // block after block, with what went before (a count of lines, a joined line)
};
// How its progress numbers go on from one block to the next, so that the last number over the
// blocks is the last over the whole text.
enum class CountRule {
    LineNumber,  // a line's place: a block's numbers follow the lines before it
    Tally,       // a count of what it did: a block's numbers add to those before
    FromTheEnd,  // a line's place, the lines visited from the last: the first block ends it
};

struct FunctionInfo {
    FunctionId id;
    std::string_view name;  // a short command-line name
    FunctionResultKind result;
    BlockRule blocks = BlockRule::Whole;
    CountRule counts = CountRule::LineNumber;
};
const std::array<FunctionInfo, kFunctionCount>& AllFunctions();
const FunctionInfo& Describe(FunctionId id);
// By number (0..kFunctionCount-1) or by name; nullopt for anything else.
std::optional<FunctionId> FindFunction(std::string_view numberOrName);

// Every function's parameters, holding the panels' defaults. Texts are document bytes, in the
// document's encoding; a replace character is one character's bytes.
struct FunctionParams {
    std::string count = "1";                                                  // cut leading
    std::optional<std::string> from = "?";                                    // replace
    std::optional<std::string> to = "?";                                      // replace
    std::string cut_word = "Result:";                                         // cut at word
    std::string left = " \"";                                                 // add text
    bool add_left = false;                                                    // add text
    std::string right = "\";";                                                // add text
    bool add_right = false;                                                   // add text
    std::optional<RemovalCondition> condition = RemovalCondition::LengthIs0;  // remove if
    std::string condition_text = "www.example.com";                           // remove if
    std::optional<CharClass> char_class = CharClass::Marks;                   // remove class
    bool marker = false;                                                      // join
    std::string drop_count = "50";                                            // drop first
    std::string extension = ".ru";                                            // filter
    FilterMode mode = FilterMode::KeepMatching;                               // filter
    std::optional<TrimSide> side = TrimSide::AtStart;                         // trim
    std::string remove_word = "con";                                          // remove word
    SortOrder sort_by = SortOrder::Bytes;                                     // sort
    bool descending = false;                                                  // sort
    std::optional<std::uint64_t> seed;  // shuffle: none for a random order
    DuplicateMode duplicates;           // duplicates
};

// The character a replace field of a Windows-1251 document gives: its first byte, or none
// for an empty field.
inline std::optional<std::string> FirstByte(std::string_view text) {
    return FirstChar(text, Encoding::Windows1251);
}

struct FunctionResult {
    // For the functions that write over the load file, and for duplicates run by
    // RunForWriting: the lines to write.
    std::optional<LineSelection> to_write;
    // What the document keeps once they are written, where it keeps less than it has.
    std::optional<LineSelection> document_keeps;
    // For a run that is only written out (RunForWriting): the order to write all the lines
    // in, the document left as it was.
    std::optional<std::vector<std::uint32_t>> order;
    // For duplicates with counts run by RunForWriting: the text to write, from the lines
    // where they lie, the document left as it was.
    std::optional<PieceStream> text;
};

// Runs one function over `document` (changing it only for the functions that rewrite it).
// Throws what the function throws; a drop count that is not a number is a ConversionError.
FunctionResult RunLineFunction(FunctionId id, const FunctionParams& params, DocumentLines& document,
                               const Progress& progress);
// As RunLineFunction, for a document that is written out and then dropped (the batch
// runner's): sort, reverse and shuffle give the order to write its lines in, duplicates
// without counts the lines to write and with counts the text to write, rather than rebuild it, so
// that the lines are neither held twice nor moved; the same progress numbers.
FunctionResult RunForWriting(FunctionId id, const FunctionParams& params, DocumentLines& document,
                             const Progress& progress);
// The result of a function that writes over the load file, which only reads the document (so
// that it may read the window's document while the window shows it). Other functions give
// an empty result.
FunctionResult BuildLoadFileResult(FunctionId id, const FunctionParams& params,
                                   const DocumentLines& document, const Progress& progress);

}  // namespace quillex
