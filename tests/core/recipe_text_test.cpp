#include "core/recipe_text.h"

#include <gtest/gtest.h>

namespace quillex::testing {
namespace {

using Words = std::vector<std::string>;

TEST(RecipeText, SplitsStepsIntoWordsAndJoinsThemBack) {
    const std::string text =
        "\xEF\xBB\xBF"
        "quillex-recipe 1\r\n"
        "# trim, then the rest\n"
        "trim --side 2\n"
        "\n"
        "   \t\n"
        "  remove-if\t--condition=9 --text \"a b\"\n"
        "add-text --left=\"say \\\"hi\\\" \\\\ \" --right \"\"\n"
        "remove-with-word --word \xD1\x81\xD0\xBB\xD0\xBE\xD0\xB2\xD0\xBE\n"
        "dedupe";  // no final break
    const std::vector<RecipeLine> steps = SplitRecipe(text);
    const std::vector<std::pair<std::size_t, Words>> expected = {
        {3, {"trim", "--side", "2"}},
        {6, {"remove-if", "--condition=9", "--text", "a b"}},
        {7, {"add-text", "--left=say \"hi\" \\ ", "--right", ""}},
        {8, {"remove-with-word", "--word", "\xD1\x81\xD0\xBB\xD0\xBE\xD0\xB2\xD0\xBE"}},
        {9, {"dedupe"}},
    };
    ASSERT_EQ(steps.size(), expected.size());
    std::vector<Words> words;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        EXPECT_EQ(steps[k].number, expected[k].first);
        EXPECT_EQ(steps[k].words, expected[k].second);
        words.push_back(steps[k].words);
    }
    // What is written reads back as the same words, a '#' word and a blank word included.
    words.push_back({"remove-with-word", "--word", "#x", " ", "\\"});
    const std::vector<RecipeLine> again = SplitRecipe(JoinRecipe(words));
    ASSERT_EQ(again.size(), words.size());
    for (std::size_t k = 0; k < again.size(); ++k) {
        EXPECT_EQ(again[k].words, words[k]);
    }
}

TEST(RecipeText, RefusesABadLineByItsNumber) {
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"trim\nremove-if --text \"open\n", "line 2: a quote is not closed"},
        {"quillex-recipe 2\ntrim\n",
         "line 1: 'quillex-recipe 2' is not a recipe version this "
         "program reads (quillex-recipe 1)"},
        {"trim\n\ntrim --side \xFF\n", "line 3: the text is not UTF-8"},
    };
    for (const auto& c : cases) {
        try {
            SplitRecipe(c.text);
            ADD_FAILURE() << c.text;
        } catch (const RecipeError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
}

}  // namespace
}  // namespace quillex::testing
