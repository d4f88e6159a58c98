#pragma once

#include <cstddef>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "app/batch_options.h"

namespace quillex::batch {

// A recipe that cannot be used, found before anything runs; the message names the file and
// the line at fault.
class BadRecipe : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One step of a recipe: its line in the file, and the function with its options.
struct RecipeStep {
    std::size_t line = 0;
    FunctionCall call;
};

// Reads a recipe's text, every step as its words would be read after OUTPUT on the command
// line, before anything runs. Throws RecipeError ("line N: reason") for the first bad line.
std::vector<RecipeStep> ParseRecipe(std::string_view text);

}  // namespace quillex::batch
