#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/line_operations.h"
#include "progress_log.h"
#include "vector_ops.h"

namespace quillex::testing {

// One row of an operation's table: the document before, the run, and what it must leave:
// the document, every progress number, and the failure it throws, if any.
struct OpCase {
    std::string name;
    Lines input;
    std::function<void(Lines&, const Progress&)> run;
    Lines expected;
    std::vector<std::size_t> calls;
    const std::type_info* failure = nullptr;
};

inline void Check(const OpCase& c) {
    Lines lines = c.input;
    ProgressLog log;
    const std::type_info* failure = nullptr;
    try {
        c.run(lines, log.Callback());
    } catch (const std::exception& e) {
        failure = &typeid(e);
    }
    EXPECT_EQ(failure == nullptr ? "none" : failure->name(),
              c.failure == nullptr ? "none" : c.failure->name())
        << c.name;
    EXPECT_EQ(lines, c.expected) << c.name;
    EXPECT_EQ(log.calls, c.calls) << c.name;
}

}  // namespace quillex::testing
