// quillex-batch end to end: real files in, real files out, exit codes and messages.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/child_process.h"
#include "core/temp_dir.h"

namespace quillex {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct Result {
    int exit_code = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

class Batch : public ::testing::Test {
  protected:
    // Standard input from `input` where given; standard output to `output` where given.
    Result Run(const std::vector<std::string>& args, const std::string& input = {},
               const std::string& output = {}) {
        std::string command = Quote(QUILLEX_BATCH);
        for (const std::string& arg : args) {
            command += ' ';
            command += Quote(arg);
        }
        if (!input.empty()) {
            command += " <" + Quote(input);
        }
        command += " >" + Quote(output.empty() ? (dir_ / "stdout").string() : output) + " 2>" +
                   Quote((dir_ / "stderr").string());
        WriteBytes(dir_ / "stdout", "");
        int status = std::system(command.c_str());
        Result result;
        result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = ReadBytes(dir_ / "stdout");
        result.err = ReadBytes(dir_ / "stderr");
        return result;
    }

    std::string In() const { return (dir_ / "in.txt").string(); }
    std::string Out() const { return (dir_ / "out.txt").string(); }

    TempDir dir_;
};

TEST_F(Batch, RewritesThroughTheFileFormat) {
    // Mixed line ends in, CR LF out; bytes above 0x7F pass untouched.
    WriteBytes(In(), "  a \xC0\r\n\tb\n c\r");
    const Result r = Run({"10", In(), Out(), "--side", "2"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(ReadBytes(Out()), "a \xC0\r\nb\r\nc\r\n");
    EXPECT_EQ(r.out, "Lines processed: 2\n");  // 0-based
}

TEST_F(Batch, RoundTripFunctionsWriteTheirList) {
    WriteBytes(In(), "a.txt\r\nB\r\nA.TXT\r\nb\r\nc.txt\r\n");
    Result r = Run({"5", In(), Out()});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(ReadBytes(Out()), "a.txt\r\nB\r\nc.txt\r\n");
    EXPECT_EQ(r.out, "Lines processed: 5\n");

    r = Run({"9", In(), Out(), "--text", ".txt", "--drop"});
    EXPECT_EQ(ReadBytes(Out()), "B\r\nA.TXT\r\nb\r\n");
    EXPECT_EQ(r.out, "Lines processed: 2\n");

    r = Run({"9", In(), Out(), "--text", ".txt"});
    EXPECT_EQ(ReadBytes(Out()), "a.txt\r\nc.txt\r\n");

    r = Run({"8", In(), Out(), "--lines", " 3"});
    EXPECT_EQ(ReadBytes(Out()), "b\r\nc.txt\r\n");
    EXPECT_EQ(r.out, "Lines processed: 5\n");
}

TEST_F(Batch, ARunThatReportsNothingPrintsNothing) {
    WriteBytes(In(), "abc\r\n");
    const Result r = Run({"2", In(), Out(), "--word", "zz"});
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadBytes(Out()), "abc\r\n");
}

// The text ends at the NUL as in the window; the run goes on, with a warning.
TEST_F(Batch, ANulByteEndsTheTextWithAWarning) {
    WriteBytes(In(), std::string("ab\r\ncd\0ef\r\n", 10));
    const Result r = Run({"3", In(), Out(), "--left", "<"});
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(ReadBytes(Out()), "<ab\r\n<cd\r\n");
    EXPECT_EQ(r.err, "quillex-batch: warning: '" + In() +
                         "': the text ends at byte 6, where the file holds a NUL byte; the rest "
                         "of the file was not loaded.\n");
    // Where the threads read the blocks, the NUL is found in a later one: the same run.
    const Result blocks =
        Run({"3", In(), Out(), "--left", "<", "--block-bytes", "2", "--threads", "2"});
    EXPECT_EQ(ReadBytes(Out()), "<ab\r\n<cd\r\n");
    EXPECT_EQ(blocks.err, r.err);
    // There, too, a NUL after a UTF-16 byte-order mark refuses the file.
    WriteBytes(In(), std::string("\xFF\xFE\r\na\0", 6));
    const Result utf16 = Run({"3", In(), Out(), "--block-bytes", "1", "--threads", "2"});
    EXPECT_EQ(utf16.exit_code, 1);
    EXPECT_NE(utf16.err.find("is UTF-16 text"), std::string::npos) << utf16.err;
}

TEST_F(Batch, PanelDefaultsAndSwitchedSides) {
    WriteBytes(In(), "x\r\n");
    Result r = Run({"3", In(), Out(), "--right", "\";"});
    EXPECT_EQ(ReadBytes(Out()), "x\";\r\n");
    r = Run({"1", In(), Out()});  // '?' by '?'
    EXPECT_EQ(r.out, "Lines processed: 0\n");
    WriteBytes(In(), "con\r\nab\r\nfalcon\r\n");
    r = Run({"11", In(), Out()});  // the word defaults to "con"
    EXPECT_EQ(ReadBytes(Out()), "ab\r\n");
    EXPECT_EQ(r.out, "Lines processed: 0\n");
    r = Run({"7", In(), Out(), "--br"});
    EXPECT_EQ(ReadBytes(Out()), "con<br>ab<br>falcon<br>\r\n");
}

TEST_F(Batch, AFailedRunLeavesTheOutputAlone) {
    WriteBytes(In(), "abc\r\n");
    WriteBytes(Out(), "old");
    const struct {
        std::vector<std::string> options;
        const char* message;
    } cases[] = {
        {{"0", In(), Out(), "--count", "12a"}, "'12a' is not a valid integer value.\n"},
        {{"8", In(), Out(), "--lines", ""}, "'' is not a valid integer value.\n"},
        {{"8", In(), Out(), "--lines", "-1"}, ""},
        {{"1", In(), Out(), "--from", ""}, ""},
        {{"1", In(), Out(), "--from=", "--to=z"}, ""},
        {{"1", In(), Out(), "--from", "a", "--to", ""}, ""},
        {{"0", (dir_ / "missing").string(), Out()}, ""},
        {{"0", "/dev/null", Out()}, "'/dev/null': is a character device, not a regular file"},
    };
    for (const auto& c : cases) {
        const Result r = Run(c.options);
        EXPECT_EQ(r.exit_code, 1) << c.options[0];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(ReadBytes(Out()), "old");
    }
}

TEST_F(Batch, BadArgumentsShowTheUsage) {
    WriteBytes(In(), "a\r\n");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"0", In()},
        {"16", In(), Out()},
        {"x", In(), Out()},
        {"4", In(), Out(), "--condition", "10"},
        {"6", In(), Out(), "--class", "-2"},
        {"10", In(), Out(), "--side"},
        {"0", In(), Out(), "--bogus", "1"},
        {"0", In(), Out(), "--recursive"},
        {"0", "--in-place", "--output-dir", Out(), In()},
        {"0", "--in-place", In(), "-"},
        {"0", "--output-dir", Out()},
    };
    for (const auto& args : cases) {
        const Result r = Run(args);
        EXPECT_EQ(r.exit_code, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("usage: quillex-batch"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(Out()));
}

// The document's encoding and the text options read as text and written in it.
TEST_F(Batch, EncodingsAndTextArguments) {
    const struct {
        std::string input;
        std::vector<std::string> options;
        std::string output;
    } cases[] = {
        // A UTF-8 letter as an option of a Windows-1251 document is its Windows-1251 byte; a
        // Windows-1251 byte, which is no UTF-8, is taken as it is.
        {"\xB8\xEB\xEA\xE0\r\n", {"1", "--from", "ё", "--to", "e"}, "e\xEB\xEA\xE0\r\n"},
        {"\xB8\xEB\r\n", {"1", "--from", "\xEB", "--to", "x", "--encoding", "cp1251"}, "\xB8x\r\n"},
        {"\xD0\xE5\xE7 \xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2: 1\r\n",
         {"2", "--word", "Результат:"},
         "\xD0\xE5\xE7 \r\n"},
        // UTF-8 documents: characters are code points, the mark stays.
        {"ёлка\r\n", {"1", "--from", "ё", "--to", "e", "--encoding", "UTF-8"}, "eлка\r\n"},
        {"\xEF\xBB\xBFЖук\r\n", {"0", "--encoding", "auto"}, "\xEF\xBB\xBFук\r\n"},
        {"Привет\r\nПРИВЕТ\r\n", {"dedupe", "--encoding", "auto"}, "Привет\r\n"},
        {"Привет\r\nПРИВЕТ\r\n", {"dedupe"}, "Привет\r\nПРИВЕТ\r\n"},  // bytes, by default
    };
    for (const auto& c : cases) {
        WriteBytes(In(), c.input);
        std::vector<std::string> args = {c.options[0], In(), Out()};
        args.insert(args.end(), c.options.begin() + 1, c.options.end());
        const Result r = Run(args);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_EQ(ReadBytes(Out()), c.output) << ::testing::PrintToString(c.options);
    }
    // What the encoding cannot hold, and an unknown encoding, are bad arguments.
    WriteBytes(In(), "a\r\n");
    std::filesystem::remove(Out());
    Result r = Run({"11", In(), Out(), "--word", "日本"});
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find("--word: "), std::string::npos) << r.err;
    r = Run({"3", In(), Out(), "--encoding", "auto", "--left", "日"});  // ASCII: Windows-1251
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find("--left: "), std::string::npos) << r.err;
    EXPECT_EQ(Run({"3", In(), Out(), "--encoding", "koi8-r"}).exit_code, 2);
    EXPECT_FALSE(std::filesystem::exists(Out()));
}

TEST_F(Batch, TheInputMayBeTheOutput) {
    WriteBytes(In(), "b\r\na\r\nB\r\n");
    const Result r = Run({"5", In(), In()});
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(ReadBytes(In()), "b\r\na\r\n");
}

// The usual conventions beside the old forms: --help and --version on standard output,
// function names, --option=value.
TEST_F(Batch, HelpVersionFunctionNamesAndEqualsSigns) {
    Result r = Run({"--help"});
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.err, "");
    for (const char* listed :
         {"FUNCTION INPUT OUTPUT", "--condition", "cut-leading", "dedupe", "remove-with-word"}) {
        EXPECT_NE(r.out.find(listed), std::string::npos) << listed;
    }
    r = Run({"--version"});
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, "quillex-batch " QUILLEX_VERSION "\n");

    WriteBytes(In(), "a.txt\r\nb\r\n  c\r\n");
    r = Run({"filter-ext", In(), Out(), "--text=.txt", "--drop"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(ReadBytes(Out()), "b\r\n  c\r\n");
    r = Run({"trim", In(), Out(), "--side=2"});
    EXPECT_EQ(ReadBytes(Out()), "a.txt\r\nb\r\nc\r\n");
    EXPECT_EQ(Run({"trim", In(), Out(), "--side=3"}).exit_code, 2);
}

// '-' reads standard input and writes standard output, the count then going to standard
// error; output that cannot be written (a full disk) fails with the reason.
TEST_F(Batch, StandardStreamsAndAFullOutput) {
    WriteBytes(In(), "b\r\na\nB\n");
    Result r = Run({"dedupe", "-", "-"}, In());
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, "b\r\na\r\n");
    EXPECT_EQ(r.err.rfind("Lines processed: ", 0), 0u) << r.err;

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"dedupe", In(), Out()}, {"dedupe", In(), "-"}, {"--help"}, {"--version"}}) {
        r = Run(args, {}, "/dev/full");
        EXPECT_EQ(r.exit_code, 1) << args[0];
        EXPECT_NE(r.err.find("standard output: "), std::string::npos) << r.err;
    }
}

// A sort or a dedupe of an input larger than --memory, from a file or from standard input,
// goes through temporary files in --temp-dir to the bytes and the messages of the work in
// memory, and leaves none of them behind.
TEST_F(Batch, WorkPastTheMemoryBoundWritesWhatTheWorkInMemoryWrites) {
    std::string text = "\xEF\xBB\xBF";
    for (int k = 0; k < 200000; ++k) {
        text += std::to_string(k * 7919 % 1000) + (k % 3 == 0 ? "\xD0\x81\n" : "\r\n");
    }
    WriteBytes(In(), text + "tail\0rest");
    const std::string runs = (dir_ / "runs").string();
    std::filesystem::create_directory(runs);
    using Words = std::vector<std::string>;
    for (const Words& work : {Words{"sort", "--by", "case"}, Words{"sort", "--by", "number"},
                              Words{"dedupe", "--threads", "3"}}) {
        auto with = [&](Words words) {
            words.insert(words.begin(), work.begin(), work.end());
            return words;
        };
        // A run in memory asks for no temporary folder, even where TMPDIR names none.
        const char* tmp = std::getenv("TMPDIR");
        const std::optional<std::string> saved =
            tmp ? std::optional<std::string>(tmp) : std::nullopt;
        ::setenv("TMPDIR", (dir_ / "none").c_str(), 1);
        const Result whole = Run(with({In(), Out(), "--encoding", "auto"}));
        saved ? ::setenv("TMPDIR", saved->c_str(), 1) : ::unsetenv("TMPDIR");
        ASSERT_EQ(whole.exit_code, 0) << whole.err;
        const std::string expected = ReadBytes(Out());
        const Result spilled =
            Run(with({In(), Out(), "--encoding", "auto", "--memory", "1M", "--temp-dir", runs}));
        EXPECT_EQ(spilled.exit_code, 0) << spilled.err;
        EXPECT_EQ(ReadBytes(Out()), expected);
        EXPECT_EQ(spilled.out, whole.out);
        EXPECT_EQ(spilled.err, whole.err);
        const Result piped = Run(
            with({"-", "-", "--encoding", "utf-8", "--memory", "1M", "--temp-dir", runs}), In());
        EXPECT_EQ(piped.out, expected);
        EXPECT_TRUE(std::filesystem::is_empty(runs));
        // The many-files form goes the same way: a temporary folder that is not there fails
        // the file, which keeps its bytes.
        const std::string copy = (dir_ / "copy.txt").string();
        std::filesystem::copy_file(In(), copy, std::filesystem::copy_options::overwrite_existing);
        const Result none = Run(with({"--in-place", copy, "--encoding", "auto", "--memory", "1M",
                                      "--temp-dir", runs + "/none"}));
        EXPECT_EQ(none.exit_code, 1);
        EXPECT_NE(none.err.find("none"), std::string::npos) << none.err;
        EXPECT_EQ(ReadBytes(copy), ReadBytes(In()));
        const Result many = Run(
            with({"--in-place", copy, "--encoding", "auto", "--memory", "1M", "--temp-dir", runs}));
        EXPECT_EQ(many.exit_code, 0) << many.err;
        EXPECT_EQ(ReadBytes(copy), expected);
    }
    // A recipe with such steps among others runs in stages through temporary files: the
    // bytes, counts and warning of the recipe in memory.
    const std::string recipe = (dir_ / "recipe.txt").string();
    WriteBytes(recipe,
               "quillex-recipe 1\ntrim\ndedupe\nadd-text --left <\nsort --by case\n"
               "cut-leading --count 1\n");
    const Result whole = Run({"--recipe", recipe, In(), Out()});
    ASSERT_EQ(whole.exit_code, 0) << whole.err;
    const std::string expected = ReadBytes(Out());
    const Result staged =
        Run({"--recipe", recipe, In(), Out(), "--memory", "1M", "--temp-dir", runs});
    EXPECT_EQ(staged.exit_code, 0) << staged.err;
    EXPECT_EQ(ReadBytes(Out()), expected);
    EXPECT_EQ(staged.out, whole.out);
    EXPECT_EQ(staged.err, whole.err);
    EXPECT_TRUE(std::filesystem::is_empty(runs));
    const Result none =
        Run({"--recipe", recipe, In(), Out(), "--memory", "1M", "--temp-dir", runs + "/none"});
    EXPECT_EQ(none.exit_code, 1);
    EXPECT_EQ(ReadBytes(Out()), expected);
}

// OUTPUT goes through the window's own save: a read-only file is refused, a link is written
// through, the file's mode stays, and a name of the longest length the system allows works.
TEST_F(Batch, WritesTheOutputAsTheWindowSavesIt) {
    namespace fs = std::filesystem;
    fs::permissions(dir_.path(), fs::perms::all);
    WriteBytes(In(), "new\r\n");
    WriteBytes(dir_ / "ro.txt", "keep\r\n");
    fs::permissions(dir_ / "ro.txt", fs::perms::owner_read | fs::perms::others_read);
    EXPECT_TRUE(testing::RunUnprivileged([&] {
        return Run({"0", In(), (dir_ / "ro.txt").string(), "--count", "0"}).exit_code == 1;
    }));
    EXPECT_EQ(ReadBytes(dir_ / "ro.txt"), "keep\r\n");

    WriteBytes(dir_ / "real.txt", "old\r\n");
    fs::permissions(dir_ / "real.txt", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real.txt", dir_ / "link.txt");
    EXPECT_EQ(Run({"0", In(), (dir_ / "link.txt").string(), "--count", "0"}).exit_code, 0);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
    EXPECT_EQ(ReadBytes(dir_ / "real.txt"), "new\r\n");
    EXPECT_EQ(fs::status(dir_ / "real.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    const fs::path longest = dir_ / std::string(255, 'n');
    WriteBytes(longest, "old\r\n");
    const Result r = Run({"0", In(), longest.string(), "--count", "0"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(ReadBytes(longest), "new\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 7);
}

// A recipe over one load and one save writes the bytes that its steps write as separate runs,
// each run's OUTPUT the next one's INPUT, and prints each step's count after its line.
TEST_F(Batch, ARecipeWritesWhatItsStepsDoOneByOne) {
    using Words = std::vector<std::string>;
    // Cyrillic in Windows-1251: "  Привет, мир  ", "привет, мир", "кон: 1", "Итог: да".
    const std::string cp1251 =
        "  \xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0  \r\n\r\n\xEF\xF0\xE8\xE2\xE5\xF2, "
        "\xEC\xE8\xF0\r\n\xEA\xEE\xED: 1\r\n\xC8\xF2\xEE\xE3: \xE4\xE0\r\nfile.ru\r\n";
    const std::string utf8 = "\xEF\xBB\xBF  ёжик.ru \r\nЁЖИК.ru\r\n\r\nитог: ёлка\r\nx.txt\r\n";
    const struct {
        const char* encoding;
        std::string input;
        std::vector<Words> steps;
    } cases[] = {
        {"windows-1251",
         cp1251,
         {{"trim", "--side", "2"},
          {"remove-if", "--condition", "0"},
          {"dedupe"},
          {"remove-with-word", "--word", "кон"},
          {"add-text", "--left", "« ", "--right=\" »"}}},
        {"cp1251",
         cp1251,
         {{"cut-at-word", "--word", "Итог:"},
          {"replace-char", "--from", "и", "--to", "\\"},
          {"drop-first", "--lines", "1"},
          {"filter-ext", "--text", ".ru", "--drop"},
          {"9", "--text", ""},
          {"join", "--br"}}},
        {"utf-8",
         utf8,
         {{"10", "--side=2"},
          {"filter-ext", "--text", ".ru"},
          {"dedupe"},
          {"replace-char", "--from", "ё", "--to", "е"},
          {"cut-leading", "--count", "2"}}},
        {"auto",
         utf8,
         {{"remove-if", "--condition", "9", "--text", "ёлка"},
          {"remove-class", "--class", "2"},
          {"add-text", "--right", "»"}}},
    };
    auto quoted = [](const std::string& word) {
        std::string text = "\"";
        for (char c : word) {
            text += c == '"' || c == '\\' ? std::string{'\\', c} : std::string{c};
        }
        return text + "\"";
    };
    for (const auto& c : cases) {
        std::string recipe = "quillex-recipe 1\n# the steps\n";
        std::string counts;
        WriteBytes(In(), c.input);
        for (std::size_t k = 0; k < c.steps.size(); ++k) {
            const Words& words = c.steps[k];
            for (const std::string& word : words) {
                recipe += quoted(word) + " ";
            }
            recipe += "\n";
            Words args = {words[0], In(), In(), "--encoding", c.encoding};
            args.insert(args.end(), words.begin() + 1, words.end());
            const Result one = Run(args);
            ASSERT_EQ(one.exit_code, 0) << one.err;
            const std::string name = words[0] == "9"    ? "filter-ext"
                                     : words[0] == "10" ? "trim"
                                                        : words[0];
            counts += one.out.empty()
                          ? ""
                          : "line " + std::to_string(k + 3) + ", " + name + ": " + one.out;
        }
        WriteBytes(dir_ / "recipe.txt", recipe);
        WriteBytes(dir_ / "copy.txt", c.input);
        const Result r = Run({"--recipe", (dir_ / "recipe.txt").string(),
                              (dir_ / "copy.txt").string(), Out(), "--encoding", c.encoding});
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_EQ(ReadBytes(Out()), ReadBytes(In())) << recipe;
        EXPECT_EQ(r.out, counts);
    }
}

// Run alone, sort, reverse, shuffle and duplicates write the lines from where they lie
// rather than rebuild the document as a recipe's step does: both give the same file and count.
TEST_F(Batch, OrderingAndDuplicatesWriteWhatTheirRecipeStepLeaves) {
    WriteBytes(In(),
               "\xEF\xBB\xBF"
               "b\r\nA\r\na\r\n10\r\n9\r\n\r\nb");
    const std::vector<std::vector<std::string>> steps = {
        {"sort", "--by", "case", "--descending"},
        {"reverse"},
        {"shuffle", "--seed", "7"},
        {"duplicates", "--keep", "none"},
        {"duplicates", "--keep", "last", "--count"},
        {"duplicates", "--keep", "none", "--count"},
        {"duplicates", "--keep", "adjacent", "--count"},
    };
    for (const std::vector<std::string>& step : steps) {
        std::vector<std::string> args = {step[0], In(), Out(), "--encoding", "auto"};
        args.insert(args.end(), step.begin() + 1, step.end());
        const Result alone = Run(args);
        ASSERT_EQ(alone.exit_code, 0) << alone.err;
        const std::string written = ReadBytes(Out());
        std::string line;
        for (const std::string& word : step) {
            line += word + " ";
        }
        WriteBytes(dir_ / "recipe.txt", line + "\n");
        const Result r =
            Run({"--recipe", (dir_ / "recipe.txt").string(), In(), Out(), "--encoding", "auto"});
        ASSERT_EQ(r.exit_code, 0) << r.err;
        EXPECT_EQ(ReadBytes(Out()), written) << line;
        EXPECT_EQ(r.out, "line 1, " + step[0] + ": " + alone.out) << line;
    }
}

// A bad line is refused by its number before anything runs: OUTPUT stays as it was.
TEST_F(Batch, ABadRecipeLineIsRefusedByItsNumber) {
    const struct {
        std::string recipe;
        std::string message;
    } cases[] = {
        {"trim\ntrimm\n", "line 2: 'trimm' is neither 0 to 15 nor a function's name"},
        {"trim --bogus 1\n", "line 1: unknown option --bogus"},
        {"# x\ntrim --word x\n", "line 2: trim takes no --word"},
        {"remove-if --condition 10\n", "line 1: --condition: Value 10 not in range -1 to 9"},
        {"drop-first --lines x5\n", "line 1: --lines: 'x5' is not a number"},
        {"trim\nadd-text --left \"a\n", "line 2: a quote is not closed"},
        {"trim\n\nremove-with-word --word 日本\n", "line 3: --word: '日本' holds a character"},
        {"trim extra\n", "line 1: 'extra' is one word too many"},
        {"# nothing\n", "holds no step"},
    };
    WriteBytes(In(), "a\r\n");
    for (const auto& c : cases) {
        WriteBytes(dir_ / "recipe.txt", c.recipe);
        WriteBytes(Out(), "kept\r\n");
        const Result r = Run({"--recipe", (dir_ / "recipe.txt").string(), In(), Out()});
        EXPECT_EQ(r.exit_code, 2) << c.recipe;
        EXPECT_EQ(
            r.err.rfind("quillex-batch: " + (dir_ / "recipe.txt").string() + ": " + c.message, 0),
            0u)
            << r.err;
        EXPECT_EQ(ReadBytes(Out()), "kept\r\n");
    }
    // A step that fails ends the run, names its line and leaves OUTPUT as it was.
    WriteBytes(dir_ / "recipe.txt", "trim\nreplace-char --from \"\"\n");
    const Result r = Run({"--recipe", (dir_ / "recipe.txt").string(), In(), Out()});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.err.rfind("quillex-batch: line 2, replace-char: ", 0), 0u) << r.err;
    EXPECT_EQ(ReadBytes(Out()), "kept\r\n");
}

// Many inputs in one run: each output holds what a run over that file alone writes, into DIR
// under the input's name (a folder's files under their path in it) or over the input itself,
// each count after the input's name, and a summary line at the end.
TEST_F(Batch, ManyFilesGetWhatOneRunEachWrites) {
    namespace fs = std::filesystem;
    using Words = std::vector<std::string>;
    const fs::path in = dir_ / "in";
    fs::create_directories(in / "sub" / "deeper");
    const std::vector<std::pair<std::string, std::string>> files = {
        {"a.txt", "  b \r\n\r\nB\r\nx.ru\r\n"},
        {"sub/c.txt", " c\nc \n\n"},
        {"sub/deeper/d.txt", ""},
    };
    for (const auto& [name, bytes] : files) {
        WriteBytes(in / name, bytes);
    }
    WriteBytes(dir_ / "recipe.txt", "trim --side 2\nremove-if --condition 0\ndedupe\n");
    const Words forms[] = {
        {"dedupe"},
        {"trim", "--side", "2"},
        {"--recipe", (dir_ / "recipe.txt").string(), "--encoding", "auto"},
    };
    for (const Words& form : forms) {
        const std::string shown = ::testing::PrintToString(form);
        fs::remove_all(dir_ / "out");
        fs::remove_all(dir_ / "copy");
        fs::copy(in, dir_ / "copy", fs::copy_options::recursive);
        std::string counts;  // of the file given alone, then of the folder's files
        std::vector<std::string> expected;
        for (const auto& [name, bytes] : files) {
            Words args = form;
            args.insert(args.end(), {(in / name).string(), Out()});
            const Result one = Run(args);
            ASSERT_EQ(one.exit_code, 0) << one.err;
            expected.push_back(ReadBytes(Out()));
            for (std::size_t at = 0, end = 0; at < one.out.size(); at = end) {
                end = one.out.find('\n', at) + 1;
                counts += (in / name).string() + ": " + one.out.substr(at, end - at);
            }
        }
        Words args = form;
        args.insert(args.end(), {"--output-dir", (dir_ / "out").string(), (in / "a.txt").string(),
                                 "--recursive", (in / "sub").string()});
        Result r = Run(args);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_EQ(r.out, counts + "3 files done, 0 failed\n") << shown;
        EXPECT_EQ(ReadBytes(dir_ / "out" / "a.txt"), expected[0]) << shown;
        EXPECT_EQ(ReadBytes(dir_ / "out" / "c.txt"), expected[1]) << shown;
        EXPECT_EQ(ReadBytes(dir_ / "out" / "deeper" / "d.txt"), expected[2]) << shown;

        args = form;
        args.insert(args.end(), {"--in-place", "--recursive", (dir_ / "copy").string()});
        r = Run(args);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        for (std::size_t k = 0; k < files.size(); ++k) {
            EXPECT_EQ(ReadBytes(dir_ / "copy" / files[k].first), expected[k]) << shown;
        }
    }
}

// A file that fails is reported with its reason and the others run; the exit status says
// that one failed.
TEST_F(Batch, AFailingFileAmongManyLetsTheOthersRun) {
    namespace fs = std::filesystem;
    WriteBytes(dir_ / "a.txt", " a\r\n");
    WriteBytes(dir_ / "b.txt", " b\r\n");
    fs::create_directory(dir_ / "folder");
    const std::string missing = (dir_ / "missing.txt").string();
    const Result r =
        Run({"trim", "--output-dir", (dir_ / "out").string(), (dir_ / "a.txt").string(), missing,
             (dir_ / "folder").string(), (dir_ / "b.txt").string()});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out.substr(r.out.rfind("Lines processed: 0\n") + 19), "2 files done, 2 failed\n")
        << r.out;
    EXPECT_NE(r.err.find("quillex-batch: '" + missing + "': No such file or directory.\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("folder': is a folder; --recursive takes its files.\n"), std::string::npos)
        << r.err;
    EXPECT_EQ(ReadBytes(dir_ / "out" / "a.txt"), "a\r\n");
    EXPECT_EQ(ReadBytes(dir_ / "out" / "b.txt"), "b\r\n");
}

// An output that is an input, by file and not by name, and two inputs that would share an
// output, are refused before anything runs.
TEST_F(Batch, ManyFilesNeverWriteOverAnInput) {
    namespace fs = std::filesystem;
    const fs::path in = dir_ / "in";
    const fs::path out = dir_ / "out";
    fs::create_directories(in / "again");
    fs::create_directories(out);
    for (const char* name : {"a.txt", "again/a.txt", "l.txt", "h.txt"}) {
        WriteBytes(in / name, " x\r\n");
    }
    fs::create_symlink(in / "l.txt", out / "l.txt");
    fs::create_hard_link(in / "h.txt", out / "h.txt");
    const std::string a = (in / "a.txt").string();
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--output-dir", in.string(), a}, "would be written over by its own output"},
        {{"--output-dir", (in / "again" / "..").string(), a}, "its own output"},
        {{"--output-dir", in.string(), "--recursive", in.string()}, "its own output"},
        {{"--output-dir", out.string(), (in / "l.txt").string()}, "its own output"},
        {{"--output-dir", out.string(), (in / "h.txt").string()}, "its own output"},
        {{"--output-dir", out.string(), a, (in / "again" / "a.txt").string()},
         "would both be written to"},
        {{"--output-dir", (in / "again").string(), a, (in / "again" / "a.txt").string()},
         "is the input '" + (in / "again" / "a.txt").string()},
        {{"--in-place", a, (in / "again" / ".." / "a.txt").string()}, "is the same file as"},
        {{"--in-place", (out / "l.txt").string(), (in / "l.txt").string()}, "is the same file as"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"trim"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = Run(args);
        EXPECT_EQ(r.exit_code, 2) << ::testing::PrintToString(c.args);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    for (const char* name : {"a.txt", "again/a.txt", "l.txt", "h.txt"}) {
        EXPECT_EQ(ReadBytes(in / name), " x\r\n") << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace quillex
