// The batch runner's command line: any words either give options or a usage error, nothing
// else; and options written back as a command line parse to the same options.
#include <fuzzer/FuzzedDataProvider.h>

#include "app/batch_options.h"
#include "fuzz/finding.h"

using namespace quillex::batch;
using quillex::fuzz::Require;

namespace {

template <class Enum>
std::string Index(const std::optional<Enum>& value) {
    return std::to_string(value ? static_cast<int>(*value) : -1);
}

std::vector<std::string> CommandLine(const Options& o) {
    std::vector<std::string> args = {std::to_string(o.function), o.input, o.output};
    auto add = [&](const char* option, const std::string& value) {
        args.push_back(option);
        args.push_back(value);
    };
    add("--count", o.count);
    add("--from", o.from ? std::string(1, *o.from) : "");
    add("--to", o.to ? std::string(1, *o.to) : "");
    if (o.word) {
        add("--word", *o.word);
    }
    add("--left", o.left);
    add("--right", o.right);
    add("--condition", Index(o.condition));
    if (o.text) {
        add("--text", *o.text);
    }
    add("--class", Index(o.char_class));
    if (o.marker) {
        args.push_back("--br");
    }
    add("--lines", o.lines);
    args.push_back(o.mode == quillex::FilterMode::KeepMatching ? "--keep" : "--drop");
    add("--side", Index(o.side));
    return args;
}

bool Same(const Options& a, const Options& b) {
    return a.function == b.function && a.input == b.input && a.output == b.output &&
           a.count == b.count && a.from == b.from && a.to == b.to && a.word == b.word &&
           a.left == b.left && a.right == b.right && a.condition == b.condition &&
           a.text == b.text && a.char_class == b.char_class && a.marker == b.marker &&
           a.lines == b.lines && a.mode == b.mode && a.side == b.side;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<std::string> args;
    while (in.remaining_bytes() > 0 && args.size() < 24) {
        args.push_back(in.ConsumeRandomLengthString(16));
    }
    Options options;
    try {
        options = ParseOptions(args);
    } catch (const UsageError& e) {
        Require(*e.what() != '\0', "a usage error says nothing");
        return 0;
    }
    Require(options.function >= 0 && options.function <= 11, "FUNCTION out of range");
    Require(options.input == args[1] && options.output == args[2], "the files were not kept");
    Require(Same(ParseOptions(CommandLine(options)), options),
            "options written back parse to others");
    return 0;
}
