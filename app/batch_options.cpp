#include "app/batch_options.h"

#include <CLI/CLI.hpp>

#include <optional>

namespace quillex::batch {

namespace {

// The parser and the places it fills; one per parse, since CLI11 keeps what it has seen.
struct Parser {
    CLI::App app{"Runs one of Quillex's line functions over a text file, without the window.",
                 "quillex-batch"};
    std::string function;
    std::string encoding = "windows-1251";
    std::optional<int> condition;
    std::optional<int> charClass;
    std::optional<int> side;

    explicit Parser(Options& o);
};

std::string FunctionList() {
    std::string list = "FUNCTION is a number or a name:\n";
    for (std::size_t k = 0; k < AllFunctions().size(); ++k) {
        list += (k < 10 ? "   " : "  ") + std::to_string(k) + "  " +
                std::string(AllFunctions()[k].name) + "\n";
    }
    return list +
           "OUTPUT gets the document after the run; dedupe, drop-first and filter-ext write "
           "the list they keep.\n"
           "INPUT or OUTPUT '-' is standard input or output (then \"Lines processed\" goes to "
           "standard error).\n"
           "Every word after \"--\" is FUNCTION, INPUT or OUTPUT as given, \"--name\" too.\n"
           "Text options are read as text and written in the document's encoding; one that "
           "encoding cannot hold is a bad argument.\n"
           "Exit status: 0 done, 1 the run or a file failed (OUTPUT left as it was), 2 bad "
           "arguments.\n";
}

Parser::Parser(Options& o) {
    const FunctionParams defaults;
    // A word that begins with '/' is a path, also on Windows.
    app.allow_windows_style_options(false);
    app.add_option("FUNCTION", function, "The line function, by number or name")->required();
    app.add_option("INPUT", o.input, "The text file to read")->required();
    app.add_option("OUTPUT", o.output, "The file to write (may be INPUT)")->required();
    app.add_option("--count", o.params.count, "cut-leading: characters to cut")
        ->default_str(defaults.count);
    TextArguments& t = o.texts;
    app.add_option("--encoding", encoding,
                   "the document's encoding: windows-1251 (also cp1251), utf-8, or auto "
                   "(UTF-8 where the input has a byte-order mark or is UTF-8 with a letter "
                   "beyond ASCII)")
        ->type_name("NAME")
        ->default_str("windows-1251");
    app.add_option("--from", t.from,
                   "replace-char: the character to find, the first of the text "
                   "(empty fails the run)")
        ->default_str("?");
    app.add_option("--to", t.to, "replace-char: its replacement, the first character")
        ->default_str("?");
    app.add_option("--word", t.word,
                   "cut-at-word, remove-with-word: the word (\"" + defaults.cut_word + "\", \"" +
                       defaults.remove_word + "\")");
    app.add_option("--left", t.left, "add-text: text in front of every line (off unless given)");
    app.add_option("--right", t.right, "add-text: text behind every line (off unless given)");
    app.add_option("--condition", condition, "remove-if: the condition 0..9, -1 for none")
        ->check(CLI::Range(-1, 9))
        ->type_name("K")
        ->default_str("0");
    app.add_option("--text", t.text,
                   "remove-if: the search text (\"" + defaults.condition_text +
                       "\"); filter-ext: the extension (\"" + defaults.extension + "\")");
    app.add_option("--class", charClass, "remove-class: 0 marks, 1 numbers, 2 spaces, -1 none")
        ->check(CLI::Range(-1, 2))
        ->type_name("K")
        ->default_str("0");
    app.add_flag("--br", o.params.marker, "join: put \"<br>\" after every former line");
    app.add_option("--lines", o.params.drop_count, "drop-first: lines to drop")
        ->default_str(defaults.drop_count);
    app.add_flag_callback(
        "--keep", [&o] { o.params.mode = FilterMode::KeepMatching; },
        "filter-ext: keep the lines with the extension (the default)");
    app.add_flag_callback(
        "--drop", [&o] { o.params.mode = FilterMode::RemoveMatching; },
        "filter-ext: drop the lines with the extension");
    app.add_option("--side", side, "trim: 0 start, 1 end, 2 both, -1 none")
        ->check(CLI::Range(-1, 2))
        ->type_name("K")
        ->default_str("0");
    app.set_version_flag("--version", VersionText(), "Print the version and exit");
    app.footer(FunctionList());
}

template <class Enum>
std::optional<Enum> Entry(int index) {
    return index < 0 ? std::nullopt : std::optional<Enum>(static_cast<Enum>(index));
}

// The encoding a name gives; none for "auto".
std::optional<Encoding> EncodingNamed(std::string name) {
    for (char& c : name) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    if (name == "windows-1251" || name == "cp1251") {
        return Encoding::Windows1251;
    }
    if (name == "utf-8") {
        return Encoding::Utf8;
    }
    if (name == "auto") {
        return std::nullopt;
    }
    throw UsageError("--encoding: '" + name + "' is none of windows-1251, cp1251, utf-8, auto");
}

std::string InEncoding(const char* option, const std::string& arg, Encoding encoding) {
    if (!IsValidUtf8(arg)) {
        return arg;
    }
    std::optional<std::string> bytes = Utf8ToEncoding(arg, encoding);
    if (!bytes) {
        throw UsageError(std::string(option) + ": '" + arg + "' holds a character that " +
                         std::string(EncodingName(encoding)) + " cannot hold");
    }
    return *bytes;
}

// The option a word names: "--name" or "--name=value" for a long option, and a short option
// with what follows it ("-h", "-help"); none for any other word.
const CLI::Option* OptionNamed(const CLI::App& app, const std::string& word) {
    if (word.size() > 2 && word.rfind("--", 0) == 0) {
        return app.get_option_no_throw(word.substr(0, word.find('=')));
    }
    if (word.size() > 1 && word[0] == '-' && word[1] != '-') {
        return app.get_option_no_throw(word.substr(0, 2));
    }
    return nullptr;
}

// The command line sorted for CLI11, which would take every word that begins with '-' for an
// option, and split "--name=value" only where the value is not empty (an empty "--from=" would
// take the next word). Options come first, each "--name=value" of an option with a value as
// two words and the word after a bare "--name" as its value, whatever it is; then "--" and
// the words for FUNCTION, INPUT and OUTPUT as given: any word that names no option, every word
// after "--". The rest, unknown options and words beyond OUTPUT, in the order given.
struct SortedWords {
    std::vector<std::string> options;
    std::vector<std::string> positionals;
    std::vector<std::string> unexpected;
};

SortedWords Sort(const CLI::App& app, const std::vector<std::string>& args) {
    constexpr std::size_t kPositionals = 3;
    SortedWords words;
    auto positional = [&](const std::string& word) {
        (words.positionals.size() < kPositionals ? words.positionals : words.unexpected)
            .push_back(word);
    };
    bool positionalOnly = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& word = args[k];
        if (positionalOnly || word == "--") {
            if (positionalOnly) {
                positional(word);
            }
            positionalOnly = true;
            continue;
        }
        const CLI::Option* option = OptionNamed(app, word);
        if (option == nullptr) {
            if (word.size() > 2 && word.rfind("--", 0) == 0) {
                words.unexpected.push_back(word);
            } else {
                positional(word);
            }
        } else if (option->get_items_expected_max() == 0 || word.rfind("--", 0) != 0) {
            words.options.push_back(word);  // a flag, or a short one: CLI11 reads it whole
        } else if (const std::size_t equals = word.find('='); equals != std::string::npos) {
            words.options.push_back(word.substr(0, equals));
            words.options.push_back(word.substr(equals + 1));
        } else {
            if (k + 1 == args.size()) {  // CLI11 would take the "--" that follows
                throw UsageError(option->get_name() + ": 1 required " + option->get_type_name() +
                                 " missing");
            }
            words.options.push_back(word);
            words.options.push_back(args[++k]);
        }
    }
    return words;
}

UsageError Unexpected(const std::vector<std::string>& words) {
    std::string message = words.size() > 1 ? "The following arguments were not expected:"
                                           : "The following argument was not expected:";
    for (const std::string& word : words) {
        message += " " + word;
    }
    return UsageError(message);
}

}  // namespace

Command ParseCommand(const std::vector<std::string>& args) {
    Command command;
    Options& o = command.options;
    Parser p(o);
    const SortedWords words = Sort(p.app, args);
    // CLI11 takes the words last first.
    std::vector<std::string> reversed(words.positionals.rbegin(), words.positionals.rend());
    reversed.push_back("--");
    reversed.insert(reversed.end(), words.options.rbegin(), words.options.rend());
    try {
        p.app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        command.kind = Command::Kind::Help;
        return command;
    } catch (const CLI::CallForVersion&) {
        command.kind = Command::Kind::Version;
        return command;
    } catch (const CLI::ParseError& e) {
        // A word out of place is the likelier cause of a missing OUTPUT, say.
        if (!words.unexpected.empty()) {
            throw Unexpected(words.unexpected);
        }
        throw UsageError(e.what());
    }
    if (!words.unexpected.empty()) {
        throw Unexpected(words.unexpected);
    }
    const std::optional<FunctionId> function = FindFunction(p.function);
    if (!function) {
        throw UsageError("FUNCTION: '" + p.function + "' is neither 0 to " +
                         std::to_string(kFunctionCount - 1) + " nor a function's name");
    }
    o.function = *function;
    o.encoding = EncodingNamed(p.encoding);
    if (o.encoding) {
        ApplyTextArguments(o.texts, *o.encoding, o.params);
    }
    if (p.condition) {
        o.params.condition = Entry<RemovalCondition>(*p.condition);
    }
    if (p.charClass) {
        o.params.char_class = Entry<CharClass>(*p.charClass);
    }
    if (p.side) {
        o.params.side = Entry<TrimSide>(*p.side);
    }
    return command;
}

void ApplyTextArguments(const TextArguments& t, Encoding encoding, FunctionParams& params) {
    if (t.from) {
        params.from = FirstChar(InEncoding("--from", *t.from, encoding), encoding);
    }
    if (t.to) {
        params.to = FirstChar(InEncoding("--to", *t.to, encoding), encoding);
    }
    if (t.word) {
        params.cut_word = params.remove_word = InEncoding("--word", *t.word, encoding);
    }
    if (t.text) {
        params.condition_text = params.extension = InEncoding("--text", *t.text, encoding);
    }
    if (t.left) {
        params.left = InEncoding("--left", *t.left, encoding);
        params.add_left = true;
    }
    if (t.right) {
        params.right = InEncoding("--right", *t.right, encoding);
        params.add_right = true;
    }
}

std::string UsageText() {
    Options unused;
    Parser p(unused);
    return p.app.help();
}

std::string VersionText() {
    return std::string("quillex-batch ") + QUILLEX_VERSION;
}

}  // namespace quillex::batch
