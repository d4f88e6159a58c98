// Writes the benchmark document to a file in the file format (every line + CR LF):
//   quillex-sample OUTPUT [LINES]   (LINES defaults to 1000000)
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "bench/sample_text.h"
#include "core/file_format.h"

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3) {
        std::fputs("usage: quillex-sample OUTPUT [LINES]\n", stderr);
        return 2;
    }
    const std::size_t count = argc == 3 ? std::strtoull(argv[2], nullptr, 10) : 1'000'000;
    try {
        quillex::SaveLines(quillex::bench::SampleLines(count), argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillex-sample: %s\n", e.what());
        return 1;
    }
    return 0;
}
