#include "core/recipe_text.h"

#include "core/encoding.h"

namespace quillex {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string LineMessage(std::size_t line, const std::string& reason) {
    std::string message = "line ";
    message.append(std::to_string(line)).append(": ").append(reason);
    return message;
}

std::vector<std::string> SplitWords(std::string_view line, std::size_t number) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (true) {
        while (at < line.size() && IsBlank(line[at])) {
            ++at;
        }
        if (at == line.size()) {
            return words;
        }
        std::string word;
        bool quoted = false;
        for (; at < line.size() && (quoted || !IsBlank(line[at])); ++at) {
            const char c = line[at];
            if (c == '"') {
                quoted = !quoted;
            } else if (quoted && c == '\\' && at + 1 < line.size() &&
                       (line[at + 1] == '"' || line[at + 1] == '\\')) {
                word += line[++at];
            } else {
                word += c;
            }
        }
        if (quoted) {
            throw RecipeError(number, "a quote is not closed");
        }
        words.push_back(std::move(word));
    }
}

std::string Quoted(const std::string& word) {
    const bool plain =
        !word.empty() && word[0] != '#' && word.find_first_of(" \t\"\\") == std::string::npos;
    if (plain) {
        return word;
    }
    std::string quoted = "\"";
    for (char c : word) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

RecipeError::RecipeError(std::size_t line, const std::string& reason)
    : std::runtime_error(LineMessage(line, reason)), line_(line) {}

std::vector<RecipeLine> SplitRecipe(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);  // a byte-order mark an editor put there
    }
    std::vector<RecipeLine> steps;
    for (std::size_t number = 1; !text.empty(); ++number) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!IsValidUtf8(line)) {
            throw RecipeError(number, "the text is not UTF-8");
        }
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#' ||
            (number == 1 && line == kRecipeHeader)) {
            continue;
        }
        if (number == 1 && line.starts_with("quillex-recipe")) {
            std::string reason = "'";  // appends: GCC 12 -O3 misreads chains of operator+
            reason.append(line).append("' is not a recipe version this program reads (");
            throw RecipeError(number, reason.append(kRecipeHeader).append(")"));
        }
        steps.push_back({number, SplitWords(line, number)});
    }
    return steps;
}

std::string JoinRecipe(const std::vector<std::vector<std::string>>& steps) {
    std::string text(kRecipeHeader);
    text += '\n';
    for (const std::vector<std::string>& words : steps) {
        for (std::size_t k = 0; k < words.size(); ++k) {
            text.append(k == 0 ? "" : " ").append(Quoted(words[k]));
        }
        text += '\n';
    }
    return text;
}

}  // namespace quillex
