#include "app/batch_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <deque>
#include <limits>
#include <memory>
#include <optional>

#include "core/function_options.h"

namespace quillex::batch {

namespace {

// What a parser reads: a run of one function, a run of a recipe (no FUNCTION and no function
// options), or a recipe's step (FUNCTION and its options only).
enum class Form { Function, Recipe, Step };

// A function option registered from the description, and what it was given.
struct Slot {
    std::string name;
    const OptionInfo* option;          // as the first function that takes it has it
    std::optional<std::string> value;  // a text or a count text
    std::optional<int> entry;          // a choice
    bool on = false;                   // a flag
};

// The parser and the places it fills; one per parse, since CLI11 keeps what it has seen.
struct Parser {
    CLI::App app{"Runs one of Quillex's line functions over a text file, without the window.",
                 "quillex-batch"};
    std::string function;
    std::string encoding = "windows-1251";
    std::optional<std::string> recipe;
    std::optional<std::string> memory;
    std::deque<Slot> slots;  // CLI11 holds references to them

    // `many`: INPUT is one or more files, and no OUTPUT comes. `reader`: the function whose
    // options are taken where several name one differently.
    Parser(Options& o, Form form, bool many = false,
           std::optional<FunctionId> reader = std::nullopt);

  private:
    void AddFunctionOptions(std::optional<FunctionId> reader);
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
           "--recipe FILE INPUT OUTPUT runs FILE's steps in order over one load and one save: "
           "a step a line, written as FUNCTION and its options are here (\"trim --side 2\"), "
           "'#' for a comment; dedupe, drop-first and filter-ext then change the document.\n"
           "--output-dir DIR INPUT... (or --in-place INPUT...) in place of INPUT OUTPUT runs "
           "the function or the recipe over each INPUT in turn; a file that fails is reported "
           "and the others go on, and a summary line ends the run. An output that is an input "
           "(by file, whatever its name), or one output for two inputs, is refused before "
           "anything runs.\n"
           "Exit status: 0 done, 1 the run or a file failed (OUTPUT left as it was), 2 bad "
           "arguments, a bad recipe or outputs refused.\n";
}

// "cut-at-word, remove-with-word: the word (\"Result:\", \"con\")" for an option several
// functions share; a text's default is shown in quotes, the others' by CLI11.
std::string HelpOf(const std::string& name, OptionKind kind) {
    std::vector<std::pair<std::string, const OptionInfo*>> takers;
    for (const FunctionInfo& f : AllFunctions()) {
        if (const OptionInfo* option = FindOption(f.id, name)) {
            takers.emplace_back(std::string(f.name), option);
        }
    }
    auto shown = [kind](const OptionInfo& option) {
        return kind == OptionKind::Text ? "\"" + option.Default().value_or("") + "\"" : "";
    };
    const bool sameHelp = std::all_of(takers.begin(), takers.end(), [&](const auto& taker) {
        return taker.second->help == takers.front().second->help;
    });
    std::string help;
    if (sameHelp) {
        std::string names;
        std::string defaults;
        for (const auto& [function, option] : takers) {
            names += (names.empty() ? "" : ", ") + function;
            defaults += (defaults.empty() ? "" : ", ") + shown(*option);
        }
        help = names + ": " + std::string(takers.front().second->help);
        return defaults.empty() ? help : help + " (" + defaults + ")";
    }
    for (const auto& [function, option] : takers) {
        help += (help.empty() ? "" : "; ") + function + ": " + std::string(option->help);
        help += kind == OptionKind::Text ? " (" + shown(*option) + ")" : "";
    }
    return help;
}

// The option of that name as the first function that takes it has it.
const OptionInfo& FirstTaker(std::string_view name) {
    for (const FunctionInfo& f : AllFunctions()) {
        if (const OptionInfo* option = FindOption(f.id, name)) {
            return *option;
        }
    }
    throw std::logic_error("no function takes --" + std::string(name));
}

// A choice by word or a number, checked by the description's own reading of it.
CLI::Validator ReadBy(const OptionInfo& option) {
    return CLI::Validator(
        [&option](std::string& value) -> std::string {
            try {
                FunctionParams unused;
                option.set(unused, value, Encoding::Windows1251);
                return {};
            } catch (const std::invalid_argument&) {
                if (option.kind == OptionKind::Number) {
                    return "'" + value + "' is not a whole number";
                }
                std::string words;
                for (std::string_view word : option.words) {
                    words += (words.empty() ? "" : ", ") + std::string(word);
                }
                return "'" + value + "' is none of " + words;
            }
        },
        "");
}

// Each option once, in the order of the functions, with the default of its first function,
// or of `reader` where it takes the option.
void Parser::AddFunctionOptions(std::optional<FunctionId> reader) {
    for (const FunctionInfo& f : AllFunctions()) {
        for (const OptionInfo& taken : OptionsOf(f.id)) {
            const std::string name(taken.name);
            if (std::any_of(slots.begin(), slots.end(),
                            [&](const Slot& slot) { return slot.name == name; })) {
                continue;
            }
            const OptionInfo* own = reader ? FindOption(*reader, name) : nullptr;
            const OptionInfo& option = own != nullptr ? *own : taken;
            Slot& slot = slots.emplace_back(Slot{name, &option, {}, {}, false});
            const std::string flag = "--" + name;
            const std::string help = HelpOf(name, option.kind);
            const std::string shown = option.Default().value_or("");
            switch (option.kind) {
                case OptionKind::Flag:
                    app.add_flag_callback(
                        flag, [&slot] { slot.on = true; }, help);
                    break;
                case OptionKind::Choice:
                    if (!option.words.empty()) {
                        app.add_option(flag, slot.value, help)
                            ->check(ReadBy(option))
                            ->type_name("WORD")
                            ->default_str(shown);
                        break;
                    }
                    app.add_option(flag, slot.entry, help)
                        ->check(CLI::Range(-1, static_cast<int>(option.entries.size()) - 1))
                        ->type_name("K")
                        ->default_str(shown);
                    break;
                case OptionKind::CountText:
                case OptionKind::OneChar:
                    app.add_option(flag, slot.value, help)->default_str(shown);
                    break;
                case OptionKind::Number:
                    app.add_option(flag, slot.value, help)->check(ReadBy(option))->type_name("N");
                    break;
                case OptionKind::Text:
                case OptionKind::OptionalText:
                    app.add_option(flag, slot.value, help);
                    break;
            }
        }
    }
}

Parser::Parser(Options& o, Form form, bool many, std::optional<FunctionId> reader) {
    // A word that begins with '/' is a path, also on Windows.
    app.allow_windows_style_options(false);
    if (form != Form::Recipe) {
        app.add_option("FUNCTION", function, "The line function, by number or name")->required();
    }
    if (form == Form::Step) {
        app.set_help_flag();
        AddFunctionOptions(reader);
        return;
    }
    if (many) {
        app.add_option("INPUT", o.inputs, "The text files to read")->required();
    } else {
        app.add_option("INPUT", o.input, "The text file to read")->required();
        app.add_option("OUTPUT", o.output, "The file to write (may be INPUT)")->required();
    }
    app.add_option("--encoding", encoding,
                   "the document's encoding: windows-1251 (also cp1251), utf-8, or auto "
                   "(UTF-8 where the input has a byte-order mark or is UTF-8 with a letter "
                   "beyond ASCII)")
        ->type_name("NAME")
        ->default_str("windows-1251");
    app.add_option("--recipe", recipe,
                   "run FILE's steps in place of FUNCTION (INPUT and OUTPUT then come alone)")
        ->type_name("FILE");
    app.add_option("--output-dir", o.outputDir,
                   "write each result into DIR under its input's name, in place of OUTPUT; "
                   "INPUT may then be several files")
        ->type_name("DIR");
    app.add_flag("--in-place", o.inPlace,
                 "rewrite each INPUT with its result, in place of OUTPUT; INPUT may then be "
                 "several files");
    app.add_flag("--recursive", o.recursive,
                 "with --output-dir or --in-place: a folder among the INPUTs gives all its "
                 "files, its folders' too (their path in it kept under DIR)");
    app.add_option("--memory", memory,
                   "the memory the run may take, in bytes or with K, M, G or T (512M, 8G); a "
                   "sort or a dedupe of an input larger than about two thirds of it works on "
                   "parts of it in temporary files (default: half the physical memory, or of "
                   "a cgroup's memory.max where less)")
        ->type_name("SIZE");
    app.add_option("--temp-dir", o.temp_dir,
                   "where such temporary files go (default: TMPDIR, or the system's folder)")
        ->type_name("DIR");
    app.add_option("--threads", o.threads,
                   "how many threads clean blocks of lines, or share a dedupe's lines, at once "
                   "(default: every core available); the result is the same for any number")
        ->type_name("N")
        ->check(CLI::Range(1u, 1024u));
    CLI::Option* quiet = app.add_flag("--quiet", o.quiet, "no progress line on standard error");
    app.add_flag("--progress", o.progress,
                 "the progress line on standard error even where it is not a terminal")
        ->excludes(quiet);
    // Small blocks put every block edge where the tests want one; not for users.
    app.add_option("--block-bytes", o.block_bytes)->group("")->check(CLI::Range(1, 1 << 30));
    if (form == Form::Function) {
        AddFunctionOptions(reader);
    }
    app.set_version_flag("--version", VersionText(), "Print the version and exit");
    app.footer(FunctionList());
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

std::string InEncoding(const std::string& option, const std::string& arg, Encoding encoding) {
    if (!IsValidUtf8(arg)) {
        return arg;
    }
    std::optional<std::string> bytes = Utf8ToEncoding(arg, encoding);
    if (!bytes) {
        throw UsageError(option + ": '" + arg + "' holds a character that " +
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
    std::vector<std::string> named;  // the options given, by name
    std::vector<std::string> options;
    std::vector<std::string> positionals;
    std::vector<std::string> unexpected;
    std::string missing;  // the option at the end without its value, if any
};

void RefuseMissing(const SortedWords& words) {
    if (!words.missing.empty()) {
        throw UsageError(words.missing);
    }
}

SortedWords Sort(const CLI::App& app, const std::vector<std::string>& args,
                 std::size_t positionals) {
    SortedWords words;
    auto positional = [&](const std::string& word) {
        (words.positionals.size() < positionals ? words.positionals : words.unexpected)
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
            continue;
        }
        words.named.push_back(option->get_name());
        if (option->get_items_expected_max() == 0 || word.rfind("--", 0) != 0) {
            words.options.push_back(word);  // a flag, or a short one: CLI11 reads it whole
        } else if (const std::size_t equals = word.find('='); equals != std::string::npos) {
            words.options.push_back(word.substr(0, equals));
            words.options.push_back(word.substr(equals + 1));
        } else {
            if (k + 1 == args.size()) {  // CLI11 would take the "--" that follows
                words.missing =
                    option->get_name() + ": 1 required " + option->get_type_name() + " missing";
                break;
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

// Parses the sorted words; the kind of command where they ask for help or the version.
std::optional<Command::Kind> Parse(Parser& p, const SortedWords& words) {
    // CLI11 takes the words last first.
    std::vector<std::string> reversed(words.positionals.rbegin(), words.positionals.rend());
    reversed.push_back("--");
    reversed.insert(reversed.end(), words.options.rbegin(), words.options.rend());
    try {
        p.app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        return Command::Kind::Help;
    } catch (const CLI::CallForVersion&) {
        return Command::Kind::Version;
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
    return std::nullopt;
}

std::string NotAFunction(const std::string& word) {
    return "'" + word + "' is neither 0 to " + std::to_string(kFunctionCount - 1) +
           " nor a function's name";
}

// The value a slot was given, as the description's set takes it.
std::optional<std::string> GivenValue(const Slot& slot) {
    switch (slot.option->kind) {
        case OptionKind::Flag:
            return slot.on ? std::optional<std::string>("1") : std::nullopt;
        case OptionKind::Choice:
            if (!slot.option->words.empty()) {
                return slot.value;
            }
            return slot.entry ? std::optional<std::string>(std::to_string(*slot.entry))
                              : std::nullopt;
        default:
            return slot.value;
    }
}

// An option's value set for every function that takes an option of that name and kind.
void SetEverywhere(const OptionInfo& given, const std::string& value, Encoding encoding,
                   FunctionParams& params) {
    for (const FunctionInfo& f : AllFunctions()) {
        const OptionInfo* option = FindOption(f.id, given.name);
        if (option != nullptr && option->kind == given.kind) {
            option->set(params, value, encoding);
        }
    }
}

// Whether a function reads an option otherwise than the first function that takes its name.
bool ReadsOwnWay(FunctionId id) {
    const std::span<const OptionInfo> options = OptionsOf(id);
    return std::any_of(options.begin(), options.end(), [](const OptionInfo& option) {
        return FirstTaker(option.name).kind != option.kind;
    });
}

// The function whose options sort the words: one that reads an option its own way, where the
// words sorted by its options name it as FUNCTION; none for the others.
std::optional<FunctionId> ReaderOf(const std::vector<std::string>& args, Form form,
                                   std::size_t positionals, bool many = false) {
    for (const FunctionInfo& f : AllFunctions()) {
        if (!ReadsOwnWay(f.id)) {
            continue;
        }
        Options unused;
        const Parser p(unused, form, many, f.id);
        const SortedWords words = Sort(p.app, args, positionals);
        if (!words.positionals.empty() && FindFunction(words.positionals.front()) == f.id) {
            return f.id;
        }
    }
    return std::nullopt;
}

// The given options: texts into `texts`, to wait for the encoding, the others into `params`.
void TakeValues(const Parser& p, FunctionParams& params, GivenTexts& texts) {
    for (const Slot& slot : p.slots) {
        const std::optional<std::string> value = GivenValue(slot);
        if (!value) {
            continue;
        }
        if (slot.option->IsText()) {
            texts.emplace_back(slot.name, *value);
        } else {
            SetEverywhere(*slot.option, *value, Encoding::Windows1251, params);  // no text in them
        }
    }
}

// The many-files options go together only as they can run.
void CheckManyFiles(const Options& o) {
    if (o.outputDir && o.inPlace) {
        throw UsageError("--output-dir and --in-place do not go together");
    }
    if (o.outputDir && o.outputDir->empty()) {
        throw UsageError("--output-dir: the folder's name is empty");
    }
    if (o.recursive && !o.Many()) {
        throw UsageError("--recursive goes with --output-dir or --in-place");
    }
    if (std::find(o.inputs.begin(), o.inputs.end(), kStandardStream) != o.inputs.end()) {
        throw UsageError("INPUT: standard input ('-') is not one of many files");
    }
}

}  // namespace

Command ParseCommand(const std::vector<std::string>& args) {
    Command command;
    Options& o = command.options;
    auto p = std::make_unique<Parser>(o, Form::Function, false, ReaderOf(args, Form::Function, 3));
    SortedWords words = Sort(p->app, args, 3);
    RefuseMissing(words);
    auto named = [&words](const char* name) {
        return std::find(words.named.begin(), words.named.end(), name) != words.named.end();
    };
    const bool recipe = named("--recipe");
    const bool many = named("--output-dir") || named("--in-place");
    if (recipe || many) {
        const Form form = recipe ? Form::Recipe : Form::Function;
        const std::size_t positionals = many ? std::numeric_limits<std::size_t>::max()
                                             : (recipe ? std::size_t{2} : std::size_t{3});
        p = std::make_unique<Parser>(
            o, form, many, recipe ? std::nullopt : ReaderOf(args, form, positionals, many));
        words = Sort(p->app, args, positionals);
        RefuseMissing(words);
    }
    if (const std::optional<Command::Kind> kind = Parse(*p, words)) {
        command.kind = *kind;
        return command;
    }
    o.recipe = p->recipe;
    CheckManyFiles(o);
    if (!o.recipe) {
        const std::optional<FunctionId> function = FindFunction(p->function);
        if (!function) {
            throw UsageError("FUNCTION: " + NotAFunction(p->function));
        }
        o.function = *function;
    }
    o.encoding = EncodingNamed(p->encoding);
    if (p->memory) {
        o.memory = ParseMemorySize(*p->memory);
    }
    TakeValues(*p, o.params, o.texts);
    if (o.encoding) {
        ApplyTexts(o.texts, *o.encoding, o.params);
    }
    return command;
}

std::uint64_t ParseMemorySize(const std::string& text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        ++digits;
    }
    const std::string unit = text.substr(digits);
    const std::string_view units = "KMGT";
    const std::size_t power = unit.empty() ? 0 : units.find(static_cast<char>(unit[0] & ~0x20)) + 1;
    const std::uint64_t value =
        digits == 0 || digits > 15 ? 0 : std::stoull(text.substr(0, digits));
    if (value == 0 || unit.size() > 1 || (power == 0 && !unit.empty()) ||
        value > (~std::uint64_t{0} >> (10 * power))) {
        throw UsageError("--memory: '" + text + "' is not a size (bytes, or 512M, 8G)");
    }
    const std::uint64_t size = value << (10 * power);
    if (size < (std::uint64_t{1} << 20)) {
        throw UsageError("--memory: '" + text + "' is less than 1M");
    }
    return size;
}

void ApplyTexts(const GivenTexts& texts, Encoding encoding, FunctionParams& params) {
    for (const auto& [name, value] : texts) {
        SetEverywhere(FirstTaker(name), InEncoding("--" + name, value, encoding), encoding, params);
    }
}

FunctionCall ParseFunctionWords(const std::vector<std::string>& words) {
    Options unused;
    Parser p(unused, Form::Step, false, ReaderOf(words, Form::Step, 1));
    const SortedWords sorted = Sort(p.app, words, 1);
    RefuseMissing(sorted);
    if (!sorted.unexpected.empty()) {
        const std::string& word = sorted.unexpected.front();
        throw UsageError(word.starts_with("--") ? "unknown option " + word.substr(0, word.find('='))
                                                : "'" + word + "' is one word too many");
    }
    Parse(p, sorted);  // no help or version here
    FunctionCall call;
    const std::optional<FunctionId> function = FindFunction(p.function);
    if (!function) {
        throw UsageError(NotAFunction(p.function));
    }
    call.function = *function;
    for (const Slot& slot : p.slots) {
        const std::optional<std::string> value = GivenValue(slot);
        if (!value) {
            continue;
        }
        if (FindOption(call.function, slot.name) == nullptr) {
            throw UsageError(std::string(Describe(call.function).name) + " takes no --" +
                             slot.name);
        }
        if (slot.option->kind == OptionKind::CountText) {
            try {
                ParseCountText(*value);
            } catch (const ConversionError&) {
                throw UsageError("--" + slot.name + ": '" + *value + "' is not a number");
            }
        }
    }
    TakeValues(p, call.params, call.texts);
    return call;
}

std::string UsageText() {
    Options unused;
    Parser p(unused, Form::Function);
    return p.app.help();
}

std::string VersionText() {
    return std::string("quillex-batch ") + QUILLEX_VERSION;
}

}  // namespace quillex::batch
