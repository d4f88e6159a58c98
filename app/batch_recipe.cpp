#include "app/batch_recipe.h"

#include "core/recipe_text.h"

namespace quillex::batch {

std::vector<RecipeStep> ParseRecipe(std::string_view text) {
    std::vector<RecipeStep> steps;
    for (const RecipeLine& line : SplitRecipe(text)) {
        try {
            steps.push_back({line.number, ParseFunctionWords(line.words)});
        } catch (const UsageError& e) {
            throw RecipeError(line.number, e.what());
        }
    }
    return steps;
}

}  // namespace quillex::batch
