// The batch runner's command line: any words either give a command or a usage error, nothing
// else, and a run's options written back as a command line parse to the same options; and a
// command line valid by construction is accepted as given: the three words anywhere among the
// options where they name none (beginning with '/' or '-' too, as on Windows), after "--"
// whatever they are, and option values of any bytes after '=' or as the next word.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>

#include "app/batch_options.h"
#include "core/cp1251.h"
#include "core/encoding.h"
#include "fuzz/finding.h"

using namespace quillex::batch;
using quillex::fuzz::Require;

namespace {

template <class Enum>
std::string Index(const std::optional<Enum>& value) {
    return std::to_string(value ? static_cast<int>(*value) : -1);
}

// The options as --name=value (which takes a value beginning with '-' too), an empty value
// as a word of its own ("--name=" takes the next word as its value), then "--" and the three
// words, which may begin with '-' too.
// Text options are read as text: document bytes go back as the text they stand for.
std::string AsText(const std::string& bytes, const std::optional<quillex::Encoding>& encoding) {
    if (encoding != quillex::Encoding::Windows1251) {
        return bytes;  // UTF-8 bytes are their own text, and what is not UTF-8 goes as it is
    }
    std::string text;
    for (char16_t c : quillex::DecodeCp1251(bytes)) {
        quillex::AppendUtf8(text, c);
    }
    return text;
}

std::vector<std::string> CommandLine(const Options& o) {
    const quillex::FunctionParams& p = o.params;
    std::vector<std::string> args;
    auto add = [&](const char* option, const std::string& value) {
        if (value.empty()) {
            args.insert(args.end(), {option, ""});
        } else {
            args.push_back(std::string(option) + "=" + value);
        }
    };
    auto text = [&](const std::string& bytes) { return AsText(bytes, o.encoding); };
    add("--encoding",
        o.encoding ? std::string(quillex::EncodingName(*o.encoding)) : std::string("auto"));
    // Duplicates reads --count and --keep as its own.
    const bool duplicates = o.function == quillex::FunctionId::Duplicates;
    if (!duplicates) {
        add("--count", p.count);
    }
    add("--from", p.from ? text(*p.from) : "");
    add("--to", p.to ? text(*p.to) : "");
    if (p.cut_word == p.remove_word) {  // one option sets both
        add("--word", text(p.cut_word));
    }
    if (p.add_left) {
        add("--left", text(p.left));
    }
    if (p.add_right) {
        add("--right", text(p.right));
    }
    add("--condition", Index(p.condition));
    if (p.condition_text == p.extension) {
        add("--text", text(p.extension));
    }
    add("--class", Index(p.char_class));
    if (p.marker) {
        args.push_back("--br");
    }
    add("--lines", p.drop_count);
    if (!duplicates || p.mode == quillex::FilterMode::RemoveMatching) {
        args.push_back(p.mode == quillex::FilterMode::KeepMatching ? "--keep" : "--drop");
    }
    add("--side", Index(p.side));
    const std::string_view orders[] = {"bytes", "case", "number", "natural", "length"};
    add("--by", std::string(orders[static_cast<int>(p.sort_by)]));
    if (p.descending) {
        args.push_back("--descending");
    }
    if (p.seed) {
        add("--seed", std::to_string(*p.seed));
    }
    if (p.duplicates.exact) {
        args.push_back("--exact");
    }
    if (duplicates) {
        const std::string_view keeps[] = {"first", "last", "none", "adjacent"};
        add("--keep", std::string(keeps[static_cast<int>(p.duplicates.keep)]));
        if (p.duplicates.count) {
            args.push_back("--count");
        }
    }
    if (o.outputDir) {
        add("--output-dir", *o.outputDir);
    }
    if (o.inPlace) {
        args.push_back("--in-place");
    }
    if (o.recursive) {
        args.push_back("--recursive");
    }
    args.insert(args.end(), {"--", std::to_string(static_cast<int>(o.function))});
    if (o.Many()) {
        args.insert(args.end(), o.inputs.begin(), o.inputs.end());
    } else {
        args.insert(args.end(), {o.input, o.output});
    }
    return args;
}

bool Same(const Options& x, const Options& y) {
    const quillex::FunctionParams& a = x.params;
    const quillex::FunctionParams& b = y.params;
    return x.function == y.function && x.input == y.input && x.output == y.output &&
           x.inputs == y.inputs && x.outputDir == y.outputDir && x.inPlace == y.inPlace &&
           x.recursive == y.recursive && x.encoding == y.encoding && a.count == b.count &&
           a.from == b.from && a.to == b.to && a.cut_word == b.cut_word && a.left == b.left &&
           a.add_left == b.add_left && a.right == b.right && a.add_right == b.add_right &&
           a.condition == b.condition && a.condition_text == b.condition_text &&
           a.char_class == b.char_class && a.marker == b.marker && a.drop_count == b.drop_count &&
           a.extension == b.extension && a.mode == b.mode && a.side == b.side &&
           a.remove_word == b.remove_word && a.sort_by == b.sort_by &&
           a.descending == b.descending && a.seed == b.seed &&
           a.duplicates.keep == b.duplicates.keep && a.duplicates.exact == b.duplicates.exact &&
           a.duplicates.count == b.duplicates.count;
}

constexpr std::array<const char*, 6> kTextOptions = {"from", "to", "word", "text", "left", "right"};

// A word CLI11 would read as an option, or the end of options: it goes after "--".
bool NeedsTheMark(const std::string& word) {
    return word.starts_with("--") || (word.size() > 1 && word[0] == '-' && word[1] == 'h');
}

void AcceptsAsGiven(FuzzedDataProvider& in) {
    auto word = [&] { return in.ConsumeRandomLengthString(12); };
    std::vector<std::vector<std::string>> groups;  // an option with its value, never split
    auto give = [&](const std::string& name, const std::string& value) {
        groups.push_back(in.ConsumeBool() ? std::vector<std::string>{name + "=" + value}
                                          : std::vector<std::string>{name, value});
    };
    Options expected;
    quillex::FunctionParams& p = expected.params;
    const struct {
        const char* name;
        std::optional<quillex::Encoding> encoding;
    } encodings[] = {{"auto", std::nullopt},
                     {"utf-8", quillex::Encoding::Utf8},
                     {"UTF-8", quillex::Encoding::Utf8},
                     {"windows-1251", quillex::Encoding::Windows1251},
                     {"cp1251", quillex::Encoding::Windows1251}};
    if (in.ConsumeBool()) {
        const auto& e = encodings[in.ConsumeIntegralInRange<std::size_t>(0, 4)];
        give("--encoding", e.name);
        expected.encoding = e.encoding;
    }
    bool holdable = true;
    for (const char* option : kTextOptions) {
        if (in.ConsumeBool()) {
            const std::string value = word();
            expected.texts.emplace_back(option, value);
            give(std::string("--") + option, value);
            holdable = holdable && (!expected.encoding || !quillex::IsValidUtf8(value) ||
                                    quillex::Utf8ToEncoding(value, *expected.encoding));
        }
    }
    if (in.ConsumeBool()) {
        p.count = word();
        give("--count", p.count);
    }
    if (in.ConsumeBool()) {
        p.drop_count = word();
        give("--lines", p.drop_count);
    }
    auto entry = [&]<class Enum>(const char* name, std::optional<Enum>& field, int last) {
        if (in.ConsumeBool()) {
            const int k = in.ConsumeIntegralInRange(-1, last);
            field = k < 0 ? std::nullopt : std::optional<Enum>(static_cast<Enum>(k));
            give(name, std::to_string(k));
        }
    };
    entry("--condition", p.condition, 9);
    entry("--class", p.char_class, 2);
    entry("--side", p.side, 2);
    if (in.ConsumeBool()) {
        p.marker = true;
        groups.push_back({"--br"});
    }
    if (in.ConsumeBool()) {
        const bool drop = in.ConsumeBool();
        p.mode = drop ? quillex::FilterMode::RemoveMatching : quillex::FilterMode::KeepMatching;
        groups.push_back({drop ? "--drop" : "--keep"});
    }
    // One of the functions that read the options above as given: the later ones read --count
    // and --keep their own way.
    const int function =
        in.ConsumeIntegralInRange(0, static_cast<int>(quillex::FunctionId::RemoveWithWord));
    expected.function = static_cast<quillex::FunctionId>(function);
    // Paths from the root, as Windows users type them, often.
    auto path = [&] { return in.ConsumeBool() ? "/" + word() : word(); };
    expected.input = path();
    expected.output = path();
    const std::string words[] = {in.ConsumeBool()
                                     ? std::to_string(function)
                                     : std::string(quillex::AllFunctions()[function].name),
                                 expected.input, expected.output};
    // Each of the three among the options, in order, until one needs the mark (or at
    // random): that one and the rest after it.
    std::size_t k = 0;
    for (std::size_t at = 0; k < 3 && !NeedsTheMark(words[k]) && in.ConsumeBool(); ++k, ++at) {
        at = std::min(groups.size(), at + in.ConsumeIntegralInRange<std::size_t>(0, 3));
        groups.insert(groups.begin() + static_cast<std::ptrdiff_t>(at), {words[k]});
    }
    if (k < 3) {
        groups.push_back({"--"});
    }
    for (; k < 3; ++k) {
        groups.push_back({words[k]});
    }
    std::vector<std::string> args;
    for (const std::vector<std::string>& group : groups) {
        args.insert(args.end(), group.begin(), group.end());
    }

    Command command;
    try {
        command = ParseCommand(args);
    } catch (const UsageError& e) {
        Require(!holdable, e.what());
        return;
    }
    Require(holdable, "a text the encoding cannot hold was accepted");
    Require(command.kind == Command::Kind::Run, "a run read as help or version");
    const Options& o = command.options;
    Require(o.function == expected.function && o.input == expected.input &&
                o.output == expected.output && o.encoding == expected.encoding,
            "FUNCTION, INPUT, OUTPUT or the encoding not as given");
    for (const char* option : kTextOptions) {
        Require(GivenText(o.texts, option) == GivenText(expected.texts, option), option);
    }
    Require(o.params.count == p.count && o.params.drop_count == p.drop_count &&
                o.params.condition == p.condition && o.params.char_class == p.char_class &&
                o.params.side == p.side && o.params.marker == p.marker && o.params.mode == p.mode,
            "an option not as given");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool()) {
        AcceptsAsGiven(in);
        return 0;
    }
    std::vector<std::string> args;
    while (in.remaining_bytes() > 0 && args.size() < 24) {
        args.push_back(in.ConsumeRandomLengthString(16));
    }
    Command command;
    try {
        command = ParseCommand(args);
    } catch (const UsageError& e) {
        Require(*e.what() != '\0', "a usage error says nothing");
        return 0;
    }
    if (command.kind != Command::Kind::Run) {
        return 0;
    }
    const Options& options = command.options;
    const int function = static_cast<int>(options.function);
    Require(function >= 0 && function < quillex::kFunctionCount, "FUNCTION out of range");
    Require(Same(ParseCommand(CommandLine(options)).options, options),
            "options written back parse to others");
    return 0;
}
