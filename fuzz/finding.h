#pragma once

#include <cstdio>
#include <cstdlib>

namespace quillex::fuzz {

// A property failed: libFuzzer keeps the input that made it fail and stops.
[[noreturn]] inline void Finding(const char* what) {
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
}

inline void Require(bool holds, const char* what) {
    if (!holds) {
        Finding(what);
    }
}

}  // namespace quillex::fuzz
