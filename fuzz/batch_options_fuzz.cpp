// The batch runner's command line: any words either give a command or a usage error, nothing
// else; and a run's options written back as a command line parse to the same options.
#include <fuzzer/FuzzedDataProvider.h>

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
    add("--count", p.count);
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
    args.push_back(p.mode == quillex::FilterMode::KeepMatching ? "--keep" : "--drop");
    add("--side", Index(p.side));
    args.insert(args.end(),
                {"--", std::to_string(static_cast<int>(o.function)), o.input, o.output});
    return args;
}

bool Same(const Options& x, const Options& y) {
    const quillex::FunctionParams& a = x.params;
    const quillex::FunctionParams& b = y.params;
    return x.function == y.function && x.input == y.input && x.output == y.output &&
           x.encoding == y.encoding && a.count == b.count && a.from == b.from && a.to == b.to &&
           a.cut_word == b.cut_word && a.left == b.left && a.add_left == b.add_left &&
           a.right == b.right && a.add_right == b.add_right && a.condition == b.condition &&
           a.condition_text == b.condition_text && a.char_class == b.char_class &&
           a.marker == b.marker && a.drop_count == b.drop_count && a.extension == b.extension &&
           a.mode == b.mode && a.side == b.side && a.remove_word == b.remove_word;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
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
