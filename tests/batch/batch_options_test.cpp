// quillex-batch's command line, parsed in-process, so that the Windows build runs it too: paths
// and option values are taken as given, whatever they begin with.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/batch_options.h"
#include "core/encoding.h"
#include "core/function_options.h"
#include "core/recipe_text.h"

namespace quillex::batch {
namespace {

using Args = std::vector<std::string>;

TEST(BatchOptions, WordsAreTakenAsGiven) {
    const struct {
        Args args;
        std::string input;
        std::string output;
        std::optional<std::string> word;  // --word
        std::optional<std::string> text;  // --text
    } cases[] = {
        // Windows users type root-relative and forward-slash paths; "/?" is a name too.
        {{"1", "/data/in.txt", "out.txt"}, "/data/in.txt", "out.txt", {}, {}},
        {{"1", "in.txt", "/out.txt", "--word", "/a"}, "in.txt", "/out.txt", "/a", {}},
        {{"1", "/?", "/o", "--text", "/?"}, "/?", "/o", {}, "/?"},
        // A value that looks like an option is the value: after the option or after '='.
        {{"4", "i", "o", "--text", "-x", "--word", "--a=b"}, "i", "o", "--a=b", "-x"},
        {{"4", "i", "o", "--word", "--=", "--text=--"}, "i", "o", "--=", "--"},
        {{"4", "--word", "--", "i", "o"}, "i", "o", "--", {}},
        {{"4", "i", "o", "--text=", "--word=a=b"}, "i", "o", "a=b", ""},
        // A word that begins with '-' and names no option is a file; after "--", any word.
        {{"5", "-notes.txt", "-"}, "-notes.txt", "-", {}, {}},
        {{"5", "--", "--a=b.txt", "--"}, "--a=b.txt", "--", {}, {}},
        {{"5", "i", "--text", "--", "--", "--word=x"}, "i", "--word=x", {}, "--"},
    };
    for (const auto& c : cases) {
        const Command command = ParseCommand(c.args);
        const std::string shown = ::testing::PrintToString(c.args);
        ASSERT_EQ(command.kind, Command::Kind::Run) << shown;
        EXPECT_EQ(command.options.input, c.input) << shown;
        EXPECT_EQ(command.options.output, c.output) << shown;
        EXPECT_EQ(GivenText(command.options.texts, "word"), c.word) << shown;
        EXPECT_EQ(GivenText(command.options.texts, "text"), c.text) << shown;
    }
}

// A refusal names what was wrong: the words out of place, in the order given.
TEST(BatchOptions, RefusalsNameTheWord) {
    const struct {
        Args args;
        const char* message;
    } cases[] = {
        {{"0", "a", "b", "c", "d"}, "The following arguments were not expected: c d"},
        {{"0", "--bogus", "a", "b", "c"}, "The following arguments were not expected: --bogus c"},
        {{"0", "--in.txt", "out.txt"}, "The following argument was not expected: --in.txt"},
        {{"0", "a", "b", "--="}, "The following argument was not expected: --="},
        {{"0", "a"}, "OUTPUT is required"},
        {{"2", "a", "b", "--word"}, "--word: 1 required TEXT missing"},
        {{"/?", "a", "b"}, "FUNCTION: '/?' is neither"},
        {{"sort", "i", "o", "--by", "1"},
         "--by: '1' is none of bytes, case, number, natural, length"},
        {{"duplicates", "i", "o", "--count", "3"}, "The following argument was not expected: 3"},
        {{"duplicates", "i", "o", "--keep"}, "--keep: 1 required WORD missing"},
        {{"shuffle", "i", "o", "--seed", "18446744073709551616"},
         "--seed: '18446744073709551616' is not a whole number"},
        {{"sort", "i", "o", "--memory", "8X"}, "--memory: '8X' is not a size"},
        {{"sort", "i", "o", "--memory", "20000000T"}, "--memory: '20000000T' is not a size"},
        {{"sort", "i", "o", "--memory", "1023K"}, "--memory: '1023K' is less than 1M"},
    };
    for (const auto& c : cases) {
        try {
            ParseCommand(c.args);
            ADD_FAILURE() << "accepted: " << ::testing::PrintToString(c.args);
        } catch (const UsageError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
    EXPECT_EQ(ParseCommand({"-help"}).kind, Command::Kind::Help);
    EXPECT_EQ(ParseCommand({"0", "a", "b", "--version"}).kind, Command::Kind::Version);
}

// The options of sort, shuffle and duplicates by their words; duplicates reads --keep and
// --count its own way, wherever FUNCTION stands, and the others as before.
TEST(BatchOptions, OrderingAndDuplicateOptionsTakeTheirWords) {
    const struct {
        Args args;
        std::function<void(FunctionParams&)> expect;  // what the options change
    } accepted[] = {
        {{"sort", "i", "o", "--by", "natural", "--descending"},
         [](FunctionParams& p) {
             p.sort_by = SortOrder::Natural;
             p.descending = true;
         }},
        {{"duplicates", "i", "o", "--keep=none", "--exact", "--count"},
         [](FunctionParams& p) {
             p.duplicates = {DuplicateKeep::None, true, true};
         }},
        {{"--keep", "adjacent", "15", "i", "o", "--drop"},
         [](FunctionParams& p) {
             p.duplicates.keep = DuplicateKeep::Adjacent;
             p.mode = FilterMode::RemoveMatching;
         }},
        {{"shuffle", "i", "o", "--seed", "18446744073709551615"},
         [](FunctionParams& p) { p.seed = 18446744073709551615u; }},
        {{"filter-ext", "i", "o", "--keep", "--count", "3"},
         [](FunctionParams& p) { p.count = "3"; }},
    };
    auto same = [](const FunctionParams& a, const FunctionParams& b) {
        return a.sort_by == b.sort_by && a.descending == b.descending && a.seed == b.seed &&
               a.duplicates.keep == b.duplicates.keep && a.duplicates.exact == b.duplicates.exact &&
               a.duplicates.count == b.duplicates.count && a.count == b.count && a.mode == b.mode;
    };
    for (const auto& c : accepted) {
        FunctionParams expected;
        c.expect(expected);
        const std::string shown = ::testing::PrintToString(c.args);
        EXPECT_TRUE(same(ParseCommand(c.args).options.params, expected)) << shown;
    }
    // A recipe's step reads them alike.
    FunctionParams last;
    last.duplicates = {DuplicateKeep::Last, false, true};
    EXPECT_TRUE(same(ParseFunctionWords({"duplicates", "--keep", "last", "--count"}).params, last));
    EXPECT_THROW(ParseFunctionWords({"sort", "--seed", "1"}), UsageError);
}

// The man page lists every function by number and name and every option of the functions'
// description, and no function option the description does not hold.
// Every option of every function, away from its default: the recipe line a step is saved as
// reads back to the same parameters, in either encoding.
TEST(BatchOptions, StepWordsReadBackToTheirParameters) {
    for (const Encoding encoding : {Encoding::Windows1251, Encoding::Utf8}) {
        for (const FunctionInfo& f : AllFunctions()) {
            SCOPED_TRACE(std::string(f.name) + " " + std::string(EncodingName(encoding)));
            FunctionParams params;
            for (const OptionInfo& option : OptionsOf(f.id)) {
                const std::string text = *Utf8ToEncoding("\xD1\x91 \"q\\\" ", encoding);
                if (option.kind == OptionKind::Flag) {
                    option.set(params, option.get(params) == "1" ? "0" : "1", encoding);
                } else if (option.kind == OptionKind::Choice) {
                    try {
                        option.set(params, std::to_string(option.entries.size() - 1), encoding);
                    } catch (const std::invalid_argument&) {  // entries taken by their words
                        option.set(params, option.words.back(), encoding);
                    }
                } else {
                    const bool number =
                        option.kind == OptionKind::CountText || option.kind == OptionKind::Number;
                    option.set(params, number ? "7" : text, encoding);
                }
            }
            const std::vector<RecipeLine> lines =
                SplitRecipe(JoinRecipe({StepWords(f.id, params, encoding)}));
            ASSERT_EQ(lines.size(), 1u);
            FunctionCall call = ParseFunctionWords(lines[0].words);
            ApplyTexts(call.texts, encoding, call.params);
            EXPECT_EQ(call.function, f.id);
            for (const OptionInfo& option : OptionsOf(f.id)) {
                EXPECT_EQ(option.get(call.params), option.get(params)) << option.name;
            }
        }
    }
}

TEST(BatchOptions, TheManPageListsTheDescribedFunctionsAndOptions) {
    std::ifstream file(QUILLEX_MAN_PAGE);
    ASSERT_TRUE(file) << QUILLEX_MAN_PAGE;
    std::set<std::string> listed;  // "--name" of every option the page describes
    std::string page;
    const std::regex option(R"(^\.B[IR]? .*)");
    const std::regex name(R"(\\-\\-([a-z]+(\\-[a-z]+)*))");
    for (std::string line; std::getline(file, line);) {
        page += line + "\n";
        if (std::regex_match(line, option)) {
            for (std::sregex_iterator at(line.begin(), line.end(), name), end; at != end; ++at) {
                listed.insert(std::regex_replace((*at)[1].str(), std::regex(R"(\\-)"), "-"));
            }
        }
    }
    std::set<std::string> described = {"help",       "version",  "encoding",  "recipe",
                                       "output-dir", "in-place", "recursive", "memory",
                                       "temp-dir",   "threads",  "quiet",     "progress"};
    for (std::size_t k = 0; k < AllFunctions().size(); ++k) {
        const FunctionInfo& f = AllFunctions()[k];
        EXPECT_NE(page.find(".BR " + std::to_string(k) + " \", \" " + std::string(f.name) + "\n"),
                  std::string::npos)
            << f.name;
        for (const OptionInfo& o : OptionsOf(f.id)) {
            described.insert(std::string(o.name));
        }
    }
    EXPECT_EQ(listed, described);
}

}  // namespace
}  // namespace quillex::batch
