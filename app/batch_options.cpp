#include "app/batch_options.h"

#include <charconv>

namespace quillex::batch {

const char* const kUsage =
    "usage: quillex-batch FUNCTION INPUT OUTPUT [options]\n"
    "  FUNCTION 0..11; OUTPUT gets the document after the run (functions 5, 8, 9: the list\n"
    "  they write). Options, with their defaults:\n"
    "    --count TEXT      0   characters to cut (\"1\")\n"
    "    --from TEXT       1   character to find, first byte (\"?\"; empty fails the run)\n"
    "    --to TEXT         1   its replacement, first byte (\"?\")\n"
    "    --word TEXT       2, 11   (\"Result:\" for 2, \"con\" for 11)\n"
    "    --left TEXT       3   text in front of every line (off unless given)\n"
    "    --right TEXT      3   text behind every line (off unless given)\n"
    "    --condition K     4   0..9, -1 for none (0)\n"
    "    --text TEXT       4, 9   search text of 4 (\"www.example.com\"), extension of 9 "
    "(\".ru\")\n"
    "    --class K         6   0 marks, 1 numbers, 2 spaces, -1 none (0)\n"
    "    --br              7   put \"<br>\" after every former line\n"
    "    --lines TEXT      8   lines to drop (\"50\")\n"
    "    --keep | --drop   9   keep (default) or drop the lines with the extension\n"
    "    --side K          10  0 start, 1 end, 2 both, -1 none (0)\n";

namespace {

int ParseInt(const std::string& option, const std::string& value, int low, int high) {
    int result = 0;
    const char* end = value.data() + value.size();
    auto [ptr, ec] = std::from_chars(value.data(), end, result);
    if (ec != std::errc() || ptr != end || result < low || result > high) {
        throw UsageError(option + " wants a number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + value + "'");
    }
    return result;
}

template <class Enum>
std::optional<Enum> Entry(int index) {
    return index < 0 ? std::nullopt : std::optional<Enum>(static_cast<Enum>(index));
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args) {
    if (args.size() < 3) {
        throw UsageError("FUNCTION, INPUT and OUTPUT are needed");
    }
    Options options;
    options.function =
        static_cast<FunctionId>(ParseInt("FUNCTION", args[0], 0, kFunctionCount - 1));
    options.input = args[1];
    options.output = args[2];
    for (std::size_t i = 3; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--br") {
            options.params.marker = true;
            continue;
        }
        if (option == "--keep" || option == "--drop") {
            options.params.mode =
                option == "--keep" ? FilterMode::KeepMatching : FilterMode::RemoveMatching;
            continue;
        }
        if (i + 1 == args.size()) {
            throw UsageError(option.rfind("--", 0) == 0 ? option + " wants a value"
                                                        : "unknown argument '" + option + "'");
        }
        const std::string& value = args[++i];
        if (option == "--count") {
            options.params.count = value;
        } else if (option == "--from") {
            options.params.from = FirstByte(value);
        } else if (option == "--to") {
            options.params.to = FirstByte(value);
        } else if (option == "--word") {
            options.params.cut_word = options.params.remove_word = value;
        } else if (option == "--left") {
            options.params.left = value;
            options.params.add_left = true;
        } else if (option == "--right") {
            options.params.right = value;
            options.params.add_right = true;
        } else if (option == "--condition") {
            options.params.condition = Entry<RemovalCondition>(ParseInt(option, value, -1, 9));
        } else if (option == "--text") {
            options.params.condition_text = options.params.extension = value;
        } else if (option == "--class") {
            options.params.char_class = Entry<CharClass>(ParseInt(option, value, -1, 2));
        } else if (option == "--lines") {
            options.params.drop_count = value;
        } else if (option == "--side") {
            options.params.side = Entry<TrimSide>(ParseInt(option, value, -1, 2));
        } else {
            throw UsageError("unknown option '" + option + "'");
        }
    }
    return options;
}

}  // namespace quillex::batch
