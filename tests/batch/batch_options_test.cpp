// quillex-batch's command line, parsed in-process, so that the Windows build runs it too: paths
// and option values are taken as given, whatever they begin with.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/batch_options.h"

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
        EXPECT_EQ(command.options.texts.word, c.word) << shown;
        EXPECT_EQ(command.options.texts.text, c.text) << shown;
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

}  // namespace
}  // namespace quillex::batch
