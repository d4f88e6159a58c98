#include "ops_reference.h"

#include "core/cp1251.h"
#include "core/text_form.h"

namespace quillex::reference {

namespace {

void Erase(Lines& lines, std::size_t i) {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
}

bool Strippable(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::size_t TrimmedLength(const std::string& line) {
    std::size_t start = 0;
    std::size_t end = line.size();
    while (start < end && Strippable(line[start])) {
        ++start;
    }
    while (end > start && Strippable(line[end - 1])) {
        --end;
    }
    return end - start;
}

bool Has(const std::string& line, char c) {
    for (char x : line) {
        if (x == c) {
            return true;
        }
    }
    return false;
}

bool Meets(RemovalCondition condition, std::string_view text, const std::string& line) {
    switch (condition) {
        case RemovalCondition::LengthIs0:
            return TrimmedLength(line) == 0;
        case RemovalCondition::LengthBelow5:
            return TrimmedLength(line) < 5;
        case RemovalCondition::LengthBelow20:
            return TrimmedLength(line) < 20;
        case RemovalCondition::LengthAbove1:
            return TrimmedLength(line) > 1;
        case RemovalCondition::LengthAbove5:
            return TrimmedLength(line) > 5;
        case RemovalCondition::LengthAbove20:
            return TrimmedLength(line) > 20;
        case RemovalCondition::ContainsPercent:
            return Has(line, '%');
        case RemovalCondition::ContainsQuestionMark:
            return Has(line, '?');
        case RemovalCondition::ContainsDollar:
            return Has(line, '$');
        case RemovalCondition::ContainsText:
            return !text.empty() && line.find(text) != std::string::npos;
    }
    return false;
}

}  // namespace

char16_t LowerCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') {
        return c + 0x20;
    }
    if (c >= 0x0400 && c <= 0x040F) {  // Ѐ..Џ: the letters beyond the basic Russian alphabet
        return c + 0x50;
    }
    if (c >= 0x0410 && c <= 0x042F) {  // А..Я
        return c + 0x20;
    }
    if (c == 0x0490) {  // Ґ
        return 0x0491;
    }
    return c;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    std::u16string x = DecodeCp1251(a);
    std::u16string y = DecodeCp1251(b);
    if (x.size() != y.size()) {
        return false;
    }
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (LowerCase(x[i]) != LowerCase(y[i])) {
            return false;
        }
    }
    return true;
}

void RemoveLeadingChars(Lines& lines, std::string_view countText, const Progress& progress) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::int32_t n = ParseCountText(countText);
        std::string copy = lines[i];
        if (n >= 1) {
            copy = copy.size() <= static_cast<std::size_t>(n) ? "" : copy.substr(n);
        }
        lines[i] = copy;
        progress(i + 1);
    }
}

void ReplaceChar(Lines& lines, std::optional<char> c1, std::optional<char> c2,
                 const Progress& progress) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string copy = lines[i];
        for (std::size_t p = 0; p < copy.size(); ++p) {
            if (copy[p] == c1.value()) {
                copy[p] = c2.value();
            }
        }
        lines[i] = copy;
        progress(i);
    }
}

void TruncateAtWord(Lines& lines, std::string_view word, const Progress& progress) {
    std::size_t counter = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string copy = lines[i];
        std::size_t p = word.empty() ? std::string::npos : copy.find(word);
        if (p != std::string::npos) {
            copy.erase(p);
            progress(++counter);
        }
        lines[i] = copy;
    }
}

void AddTextToLines(Lines& lines, std::string_view left, std::string_view right,
                    const Progress& progress) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i] = std::string(left) + lines[i] + std::string(right);
        progress(i + 1);
    }
}

void RemoveLinesByCondition(Lines& lines, std::optional<RemovalCondition> condition,
                            std::string_view text, const Progress& progress) {
    if (!condition) {
        return;
    }
    std::size_t counter = 0;
    for (std::size_t i = lines.size(); i-- > 0;) {
        if (Meets(*condition, text, lines[i])) {
            Erase(lines, i);
            progress(++counter);
        }
    }
}

Lines RemoveDuplicateLines(const Lines& lines, const Progress& progress) {
    Lines kept;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bool equal = false;
        for (const std::string& k : kept) {
            equal = equal || EqualIgnoringCase(k, lines[i]);
        }
        if (!equal) {
            kept.push_back(lines[i]);
            progress(i + 1);
        }
    }
    return kept;
}

void RemoveCharClass(Lines& lines, std::optional<CharClass> charClass, const Progress& progress) {
    std::string members;
    if (charClass == CharClass::Marks) {
        members = ".;,:!?";
    } else if (charClass == CharClass::Numbers) {
        members = "0123456789";
    } else if (charClass == CharClass::InternalSpaces) {
        members = " ";
    }
    std::size_t i = 0;
    while (i < lines.size()) {
        std::string built;
        for (char c : lines[i]) {
            if (members.find(c) == std::string::npos) {
                built += c;
            }
        }
        lines[i] = built;
        ++i;
        progress(i);
    }
}

void RemoveLineFolds(Lines& lines, bool marker, const Progress& progress) {
    progress(lines.size());
    std::string text = JoinTextForm(lines);
    std::string out;
    if (marker) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text.compare(i, 2, "\r\n") == 0) {
                out += "<br>";
                ++i;
            } else {
                out += text[i];
            }
        }
    } else {
        std::string no_cr;
        for (char c : text) {
            if (c != '\r') {
                no_cr += c;
            }
        }
        for (char c : no_cr) {
            if (c != '\n') {
                out += c;
            }
        }
    }
    lines = SplitTextForm(out);
}

Lines RemoveLinesBefore(const Lines& lines, std::int32_t n, const Progress& progress) {
    if (n < 0) {
        throw RunError("index");
    }
    Lines result;
    for (std::size_t i = static_cast<std::size_t>(n); i < lines.size(); ++i) {
        result.push_back(lines[i]);
        progress(i + 1);
    }
    return result;
}

std::string LineExtension(const std::string& line) {
    for (std::size_t i = line.size(); i-- > 0;) {
        if (line[i] == '\\' || line[i] == ':') {
            return "";
        }
        if (line[i] == '.') {
            return line.substr(i);
        }
    }
    return "";
}

Lines FilterLinesByExtension(Lines& document, std::string_view text, const Progress& progress) {
    Lines r;
    std::size_t i = 0;
    while (i != document.size()) {
        if (LineExtension(document[i]) != text) {
            r.push_back(document[i]);
            Erase(document, i);
        } else {
            ++i;
        }
        progress(i);
    }
    return r;
}

void TrimLines(Lines& lines, std::optional<TrimSide> side, const Progress& progress) {
    for (std::size_t k = 0; k < lines.size(); ++k) {
        std::string copy = lines[k];
        if (side == TrimSide::AtStart || side == TrimSide::AtBothEnds) {
            while (!copy.empty() && Strippable(copy.front())) {
                copy.erase(0, 1);
            }
        }
        if (side == TrimSide::AtEnd || side == TrimSide::AtBothEnds) {
            while (!copy.empty() && Strippable(copy.back())) {
                copy.pop_back();
            }
        }
        lines[k] = copy;
        progress(k);
    }
}

void RemoveLinesWithWord(Lines& lines, std::string_view word, const Progress& progress) {
    for (std::size_t k = lines.size(); k-- > 0;) {
        if (!word.empty() && lines[k].find(word) != std::string::npos) {
            Erase(lines, k);
        }
        progress(k);
    }
}

}  // namespace quillex::reference
