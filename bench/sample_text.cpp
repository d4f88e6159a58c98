#include "bench/sample_text.h"

#include <random>
#include <string_view>

namespace quillex::bench {

namespace {

constexpr std::string_view kWords[] = {
    "the",
    "Result:",
    "console",
    "falcon",
    "Price",
    "value",
    "data",
    "con",
    "\xEF\xF0\xE8\xE2\xE5\xF2",  // привет
    "\xCC\xEE\xF1\xEA\xE2\xE0",  // Москва
    "\xF1\xF2\xF0\xEE\xEA\xE0",  // строка
    "\xA8\xEB\xEA\xE0",          // Ёлка
    "\xB2\xE2\xE0\xED",          // Іван
    "\xAA\xE2\xF0\xEE\xEF\xE0",  // Європа
    "123",
    "3,75",
    "50%",
    "$10",
    "why?",
    "ok!",
    "a;b",
    "x:y",
};
constexpr std::string_view kExtensions[] = {".txt", ".ru", ".gz", ".html", ".TXT", ".cpp"};

char FlipCase(char c) {
    auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0)) {
        return static_cast<char>(u - 0x20);
    }
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDF)) {
        return static_cast<char>(u + 0x20);
    }
    return c;
}

}  // namespace

std::vector<std::string> SampleLines(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned kind = random() % 10;
        std::string line;
        if (kind == 0 && !lines.empty()) {
            // An earlier line again, with some letters in the other case.
            line = lines[random() % lines.size()];
            for (char& c : line) {
                if (random() % 4 == 0) {
                    c = FlipCase(c);
                }
            }
        } else if (kind == 1) {
            // A file name: folders, a name, an extension, sometimes a blank at the end.
            line = (random() % 2 ? "C:\\data\\" : "/home/user/");
            line += "file_" + std::to_string(random() % 100000);
            line += kExtensions[random() % std::size(kExtensions)];
            if (random() % 8 == 0) {
                line += ' ';
            }
        } else if (kind == 2) {
            line.assign(random() % 4, ' ');  // blank lines and lines of blanks
            if (random() % 2) {
                line += '\t';
            }
        } else {
            if (random() % 4 == 0) {
                line += random() % 2 ? "  " : "\t";
            }
            const std::size_t words = 8 + random() % 24;
            for (std::size_t w = 0; w < words; ++w) {
                std::string_view word = kWords[random() % std::size(kWords)];
                line += word;
                line += (random() % 10 == 0) ? "\t" : " ";
            }
            if (random() % 3 == 0) {
                line.pop_back();  // no blank at the end
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace quillex::bench
