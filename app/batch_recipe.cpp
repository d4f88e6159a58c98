#include "app/batch_recipe.h"

#include <fstream>
#include <new>
#include <sstream>

#include "core/progress.h"
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

std::vector<RecipeStep> ReadRecipe(const std::filesystem::path& file, const std::string& name) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf()) || in.bad()) {
        throw BadRecipe(name + ": cannot be read");
    }
    std::vector<RecipeStep> steps;
    try {
        steps = ParseRecipe(text.str());
    } catch (const RecipeError& e) {
        throw BadRecipe(name + ": " + e.what());
    }
    if (steps.empty()) {
        throw BadRecipe(name + ": holds no step");
    }
    return steps;
}

void PrepareSteps(std::vector<RecipeStep>& steps, Encoding encoding, const std::string& name) {
    for (RecipeStep& step : steps) {
        try {
            ApplyTexts(step.call.texts, encoding, step.call.params);
        } catch (const UsageError& e) {
            throw BadRecipe(name + ": " + RecipeError(step.line, e.what()).what());
        }
    }
}

std::string StepName(const RecipeStep& step) {
    return "line " + std::to_string(step.line) + ", " +
           std::string(Describe(step.call.function).name);
}

void RethrowStepFailure(const RecipeStep& step, const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const WorkCancelled&) {
        throw;
    } catch (const std::exception& e) {
        throw StepFailed(StepName(step) + ": " + e.what());
    }
}

void RunSteps(const std::vector<RecipeStep>& steps, DocumentLines& document,
              const std::function<Progress(std::size_t step)>& progressOf) {
    for (std::size_t k = 0; k < steps.size(); ++k) {
        const RecipeStep& step = steps[k];
        try {
            const FunctionResult result =
                RunLineFunction(step.call.function, step.call.params, document, progressOf(k));
            if (result.to_write) {
                document.Keep(*result.to_write);
            }
        } catch (...) {
            RethrowStepFailure(step, std::current_exception());
        }
    }
}

}  // namespace quillex::batch
