#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillex {

// A recipe line that cannot be read; the message is "line N: reason".
class RecipeError : public std::runtime_error {
  public:
    RecipeError(std::size_t line, const std::string& reason);

    std::size_t line() const noexcept { return line_; }

  private:
    std::size_t line_;
};

// One step of a recipe as written: the function and its options, a word each, as they are
// typed after OUTPUT on quillex-batch's command line.
struct RecipeLine {
    std::size_t number = 0;  // 1 for the file's first line
    std::vector<std::string> words;
};

// The first line a recipe may start with.
inline constexpr std::string_view kRecipeHeader = "quillex-recipe 1";

// Splits a recipe's text (UTF-8) into its steps: an optional first line kRecipeHeader, then a
// step a line; a line whose first non-blank is '#' is a comment and blank lines are ignored.
// Words are parted by blanks; double quotes hold blanks, with \" and \\ inside them. Throws
// RecipeError for text that is not UTF-8 and for an unclosed quote.
std::vector<RecipeLine> SplitRecipe(std::string_view text);

// The recipe text of these steps: the header, then a line a step, each word quoted where it
// must be for SplitRecipe to give it back.
std::string JoinRecipe(const std::vector<std::vector<std::string>>& steps);

}  // namespace quillex
