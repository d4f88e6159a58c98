#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <optional>

namespace quillex::fuzz {

// One of `count` chooser entries, or none (-1), drawn from the input.
template <class Enum>
std::optional<Enum> Entry(FuzzedDataProvider& in, int count) {
    const int k = in.ConsumeIntegralInRange(-1, count - 1);
    return k < 0 ? std::nullopt : std::optional<Enum>(static_cast<Enum>(k));
}

}  // namespace quillex::fuzz
