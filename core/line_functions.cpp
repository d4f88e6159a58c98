#include "core/line_functions.h"

namespace quillex {

namespace {

using Kind = FunctionResultKind;
constexpr BlockRule Each = BlockRule::EachLine;
constexpr BlockRule InOrder = BlockRule::InOrder;
constexpr CountRule Line = CountRule::LineNumber;
constexpr CountRule Tally = CountRule::Tally;
constexpr CountRule FromTheEnd = CountRule::FromTheEnd;

constexpr std::array<FunctionInfo, kFunctionCount> kFunctions = {{
    {FunctionId::CutLeading, "cut-leading", Kind::RewritesDocument, Each, Line},
    {FunctionId::ReplaceChar, "replace-char", Kind::RewritesDocument, Each, Line},
    {FunctionId::CutAtWord, "cut-at-word", Kind::RewritesDocument, Each, Tally},
    {FunctionId::AddText, "add-text", Kind::RewritesDocument, Each, Line},
    {FunctionId::RemoveIf, "remove-if", Kind::RewritesDocument, Each, Tally},
    {FunctionId::Dedupe, "dedupe", Kind::WritesLoadFile},
    {FunctionId::RemoveClass, "remove-class", Kind::RewritesDocument, Each, Line},
    {FunctionId::Join, "join", Kind::RewritesDocument, InOrder, Line},
    {FunctionId::DropFirst, "drop-first", Kind::WritesLoadFile, InOrder, Line},
    {FunctionId::FilterExt, "filter-ext", Kind::WritesLoadFile, Each, Tally},
    {FunctionId::Trim, "trim", Kind::RewritesDocument, Each, Line},
    {FunctionId::RemoveWithWord, "remove-with-word", Kind::RewritesDocument, Each, FromTheEnd},
    {FunctionId::Sort, "sort", Kind::RewritesDocument},
    {FunctionId::Reverse, "reverse", Kind::RewritesDocument},
    {FunctionId::Shuffle, "shuffle", Kind::RewritesDocument},
    {FunctionId::Duplicates, "duplicates", Kind::RewritesDocument},
}};

}  // namespace

const std::array<FunctionInfo, kFunctionCount>& AllFunctions() {
    return kFunctions;
}

const FunctionInfo& Describe(FunctionId id) {
    return kFunctions[static_cast<std::size_t>(id)];
}

std::optional<FunctionId> FindFunction(std::string_view numberOrName) {
    for (std::size_t k = 0; k < kFunctions.size(); ++k) {
        if (numberOrName == kFunctions[k].name || numberOrName == std::to_string(k)) {
            return kFunctions[k].id;
        }
    }
    return std::nullopt;
}

FunctionResult BuildLoadFileResult(FunctionId id, const FunctionParams& p,
                                   const DocumentLines& document, const Progress& progress) {
    FunctionResult result;
    if (id == FunctionId::Dedupe) {
        result.to_write = RemoveDuplicateLines(document, progress);
    } else if (id == FunctionId::DropFirst) {
        result.to_write = RemoveLinesBefore(document, ParseCountText(p.drop_count), progress);
    } else if (id == FunctionId::FilterExt) {
        ExtensionSplit split = FilterLinesByExtension(document, p.extension, progress);
        const bool keep = p.mode == FilterMode::KeepMatching;
        result.to_write = std::move(keep ? split.matching : split.others);
        result.document_keeps = keep ? *result.to_write : std::move(split.matching);
    }
    return result;
}

FunctionResult RunForWriting(FunctionId id, const FunctionParams& p, DocumentLines& document,
                             const Progress& progress) {
    const std::size_t n = document.Count();
    FunctionResult result;
    if (n == 0) {
        return RunLineFunction(id, p, document, progress);
    }
    if (id == FunctionId::Sort) {
        result.order = SortedLineOrder(document, p.sort_by, p.descending, progress);
    } else if (id == FunctionId::Shuffle) {
        result.order = ShuffledLineOrder(document, p.seed, progress);
    } else if (id == FunctionId::Duplicates) {
        if (p.duplicates.count) {
            result.text = CountedDuplicates(document, p.duplicates, progress);
        } else {
            result.to_write = DuplicateSelection(document, p.duplicates, progress);
        }
        return result;
    } else if (id == FunctionId::Reverse) {
        result.order.emplace(n);
        for (std::size_t k = 0; k < n; ++k) {
            (*result.order)[k] = static_cast<std::uint32_t>(n - 1 - k);
        }
    } else {
        return RunLineFunction(id, p, document, progress);
    }
    progress(n);
    return result;
}

FunctionResult RunLineFunction(FunctionId id, const FunctionParams& p, DocumentLines& document,
                               const Progress& progress) {
    if (Describe(id).result == FunctionResultKind::WritesLoadFile) {
        return BuildLoadFileResult(id, p, document, progress);
    }
    switch (id) {
        case FunctionId::CutLeading:
            RemoveLeadingChars(document, p.count, progress);
            break;
        case FunctionId::ReplaceChar:
            ReplaceChar(document, p.from ? std::optional<std::string_view>(*p.from) : std::nullopt,
                        p.to ? std::optional<std::string_view>(*p.to) : std::nullopt, progress);
            break;
        case FunctionId::CutAtWord:
            TruncateAtWord(document, p.cut_word, progress);
            break;
        case FunctionId::AddText:
            AddTextToLines(document, p.add_left ? p.left : "", p.add_right ? p.right : "",
                           progress);
            break;
        case FunctionId::RemoveIf:
            RemoveLinesByCondition(document, p.condition, p.condition_text, progress);
            break;
        case FunctionId::RemoveClass:
            RemoveCharClass(document, p.char_class, progress);
            break;
        case FunctionId::Join:
            RemoveLineFolds(document, p.marker, progress);
            break;
        case FunctionId::Trim:
            TrimLines(document, p.side, progress);
            break;
        case FunctionId::RemoveWithWord:
            RemoveLinesWithWord(document, p.remove_word, progress);
            break;
        case FunctionId::Sort:
            SortLines(document, p.sort_by, p.descending, progress);
            break;
        case FunctionId::Reverse:
            ReverseLines(document, progress);
            break;
        case FunctionId::Shuffle:
            ShuffleLines(document, p.seed, progress);
            break;
        case FunctionId::Duplicates:
            RemoveDuplicates(document, p.duplicates, progress);
            break;
        case FunctionId::Dedupe:
        case FunctionId::DropFirst:
        case FunctionId::FilterExt:
            break;  // built above
    }
    return {};
}

}  // namespace quillex
