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
    std::optional<std::string> word;
    std::optional<std::string> text;
    std::optional<std::string> left;
    std::optional<std::string> right;
    std::optional<std::string> from;
    std::optional<std::string> to;
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
           "Exit status: 0 done, 1 the run or a file failed (OUTPUT left as it was), 2 bad "
           "arguments.\n";
}

Parser::Parser(Options& o) {
    const FunctionParams defaults;
    app.add_option("FUNCTION", function, "The line function, by number or name")->required();
    app.add_option("INPUT", o.input, "The text file to read")->required();
    app.add_option("OUTPUT", o.output, "The file to write (may be INPUT)")->required();
    app.add_option("--count", o.params.count, "cut-leading: characters to cut")
        ->default_str(defaults.count);
    app.add_option("--from", from,
                   "replace-char: the character to find, its first byte "
                   "(empty fails the run)")
        ->default_str("?");
    app.add_option("--to", to, "replace-char: its replacement, first byte")->default_str("?");
    app.add_option("--word", word,
                   "cut-at-word, remove-with-word: the word (\"" + defaults.cut_word + "\", \"" +
                       defaults.remove_word + "\")");
    app.add_option("--left", left, "add-text: text in front of every line (off unless given)");
    app.add_option("--right", right, "add-text: text behind every line (off unless given)");
    app.add_option("--condition", condition, "remove-if: the condition 0..9, -1 for none")
        ->check(CLI::Range(-1, 9))
        ->type_name("K")
        ->default_str("0");
    app.add_option("--text", text,
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

}  // namespace

Command ParseCommand(const std::vector<std::string>& args) {
    Command command;
    Options& o = command.options;
    Parser p(o);
    // "--name=value" is handed over as two words: CLI11 would take the next word as the value
    // of an empty "--from=", where the user meant an empty text. It takes them last first.
    std::vector<std::string> reversed;
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) {
        const std::size_t equals = arg->find('=');
        if (arg->rfind("--", 0) == 0 && equals != std::string::npos) {
            reversed.push_back(arg->substr(equals + 1));
            reversed.push_back(arg->substr(0, equals));
        } else {
            reversed.push_back(*arg);
        }
    }
    try {
        p.app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        command.kind = Command::Kind::Help;
        return command;
    } catch (const CLI::CallForVersion&) {
        command.kind = Command::Kind::Version;
        return command;
    } catch (const CLI::ParseError& e) {
        throw UsageError(e.what());
    }
    const std::optional<FunctionId> function = FindFunction(p.function);
    if (!function) {
        throw UsageError("FUNCTION: '" + p.function + "' is neither 0 to " +
                         std::to_string(kFunctionCount - 1) + " nor a function's name");
    }
    o.function = *function;
    if (p.from) {
        o.params.from = FirstByte(*p.from);
    }
    if (p.to) {
        o.params.to = FirstByte(*p.to);
    }
    if (p.word) {
        o.params.cut_word = o.params.remove_word = *p.word;
    }
    if (p.text) {
        o.params.condition_text = o.params.extension = *p.text;
    }
    if (p.left) {
        o.params.left = *p.left;
        o.params.add_left = true;
    }
    if (p.right) {
        o.params.right = *p.right;
        o.params.add_right = true;
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

std::string UsageText() {
    Options unused;
    Parser p(unused);
    return p.app.help();
}

std::string VersionText() {
    return std::string("quillex-batch ") + QUILLEX_VERSION;
}

}  // namespace quillex::batch
