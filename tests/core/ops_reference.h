#pragma once

// The line operations written the plainest way, one line after another: deletions one line
// at a time, duplicates found by scanning every kept line. Quadratic, for tests only:
// the fast operations must give the same lines and the same progress numbers.

#include "core/line_operations.h"

namespace quillex::reference {

// Lower case of a character by the Unicode case pairs of the Latin and Cyrillic letters,
// the only cased letters Windows-1251 holds besides the micro sign, which has no small pair.
char16_t LowerCase(char16_t c);
bool EqualIgnoringCase(const std::string& a, const std::string& b);

void RemoveLeadingChars(Lines& lines, std::string_view countText, const Progress& progress);
void ReplaceChar(Lines& lines, std::optional<char> c1, std::optional<char> c2,
                 const Progress& progress);
void TruncateAtWord(Lines& lines, std::string_view word, const Progress& progress);
void AddTextToLines(Lines& lines, std::string_view left, std::string_view right,
                    const Progress& progress);
void RemoveLinesByCondition(Lines& lines, std::optional<RemovalCondition> condition,
                            std::string_view text, const Progress& progress);
Lines RemoveDuplicateLines(const Lines& lines, const Progress& progress);
void RemoveCharClass(Lines& lines, std::optional<CharClass> charClass, const Progress& progress);
void RemoveLineFolds(Lines& lines, bool marker, const Progress& progress);
Lines RemoveLinesBefore(const Lines& lines, std::int32_t n, const Progress& progress);
std::string LineExtension(const std::string& line);
// Keeps the matching lines in `document` and returns the others; `document` is changed line
// by line as the pass goes, so a failure leaves it part-way.
Lines FilterLinesByExtension(Lines& document, std::string_view text, const Progress& progress);
void TrimLines(Lines& lines, std::optional<TrimSide> side, const Progress& progress);
void RemoveLinesWithWord(Lines& lines, std::string_view word, const Progress& progress);

}  // namespace quillex::reference
