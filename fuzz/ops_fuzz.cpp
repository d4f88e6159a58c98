// Each of the twelve line functions against its step-by-step transcription in the tests:
// the same lines, the same returned lists, the same progress numbers and the same failure,
// also when the run is stopped at a progress call.
#include <fuzzer/FuzzedDataProvider.h>

#include <functional>
#include <typeinfo>

#include "core/line_operations.h"
#include "fuzz/draw.h"
#include "fuzz/finding.h"
#include "tests/core/op_outcome.h"
#include "tests/core/ops_reference.h"
#include "tests/core/vector_ops.h"

using namespace quillex;
using fuzz::Entry;
using fuzz::Require;
using testing::Op;
using testing::Outcome;
using testing::RunOp;

namespace {

std::optional<char> Field(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? std::nullopt : std::optional<char>(in.ConsumeIntegral<char>());
}

struct Versions {
    Op fast;
    Op slow;
};

// Both versions of an operation that works on the document in place; the fast one runs over
// a document made from the list (see vector_ops.h).
template <class Fast, class Slow>
Versions InPlace(Fast fast, Slow slow) {
    return {[=](Lines& l, const Progress& p) {
                fast(l, p);
                return std::vector<Lines>{};
            },
            [=](Lines& l, const Progress& p) {
                slow(l, p);
                return std::vector<Lines>{};
            }};
}

// The two versions of `function` with parameters drawn from the input.
Versions Draw(int function, FuzzedDataProvider& in) {
    namespace ref = reference;
    const std::string a = in.ConsumeRandomLengthString(6);
    const std::string b = in.ConsumeRandomLengthString(6);
    switch (function) {
        case 0:
            return InPlace([=](Lines& l, const Progress& p) { RemoveLeadingChars(l, a, p); },
                           [=](Lines& l, const Progress& p) { ref::RemoveLeadingChars(l, a, p); });
        case 1: {
            const auto c1 = Field(in), c2 = Field(in);
            return InPlace([=](Lines& l, const Progress& p) { ReplaceChar(l, c1, c2, p); },
                           [=](Lines& l, const Progress& p) { ref::ReplaceChar(l, c1, c2, p); });
        }
        case 2:
            return InPlace([=](Lines& l, const Progress& p) { TruncateAtWord(l, a, p); },
                           [=](Lines& l, const Progress& p) { ref::TruncateAtWord(l, a, p); });
        case 3:
            return InPlace([=](Lines& l, const Progress& p) { AddTextToLines(l, a, b, p); },
                           [=](Lines& l, const Progress& p) { ref::AddTextToLines(l, a, b, p); });
        case 4: {
            const auto condition = Entry<RemovalCondition>(in, 10);
            return InPlace(
                [=](Lines& l, const Progress& p) { RemoveLinesByCondition(l, condition, a, p); },
                [=](Lines& l, const Progress& p) {
                    ref::RemoveLinesByCondition(l, condition, a, p);
                });
        }
        case 5:
            return {[](Lines& l, const Progress& p) {
                        return std::vector<Lines>{RemoveDuplicateLines(l, p)};
                    },
                    [](Lines& l, const Progress& p) {
                        return std::vector<Lines>{ref::RemoveDuplicateLines(l, p)};
                    }};
        case 6: {
            const auto cls = Entry<CharClass>(in, 3);
            return InPlace([=](Lines& l, const Progress& p) { RemoveCharClass(l, cls, p); },
                           [=](Lines& l, const Progress& p) { ref::RemoveCharClass(l, cls, p); });
        }
        case 7: {
            const bool marker = in.ConsumeBool();
            return InPlace(
                [=](Lines& l, const Progress& p) { RemoveLineFolds(l, marker, p); },
                [=](Lines& l, const Progress& p) { ref::RemoveLineFolds(l, marker, p); });
        }
        case 8: {
            const auto n = in.ConsumeIntegralInRange<std::int32_t>(-3, 20);
            return {[=](Lines& l, const Progress& p) {
                        return std::vector<Lines>{RemoveLinesBefore(l, n, p)};
                    },
                    [=](Lines& l, const Progress& p) {
                        return std::vector<Lines>{ref::RemoveLinesBefore(l, n, p)};
                    }};
        }
        case 9:
            // The filter leaves the document to its caller: the split it returns must be what
            // the step-by-step visit leaves in the document and in its list of the others.
            return {[=](Lines& l, const Progress& p) {
                        auto split = FilterLinesByExtension(l, a, p);
                        l = split.matching;
                        return std::vector<Lines>{split.others};
                    },
                    [=](Lines& l, const Progress& p) {
                        return std::vector<Lines>{ref::FilterLinesByExtension(l, a, p)};
                    }};
        case 10: {
            const auto side = Entry<TrimSide>(in, 3);
            return InPlace([=](Lines& l, const Progress& p) { TrimLines(l, side, p); },
                           [=](Lines& l, const Progress& p) { ref::TrimLines(l, side, p); });
        }
        default:
            return InPlace([=](Lines& l, const Progress& p) { RemoveLinesWithWord(l, a, p); },
                           [=](Lines& l, const Progress& p) { ref::RemoveLinesWithWord(l, a, p); });
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int function = in.ConsumeIntegralInRange(0, 11);
    const std::size_t stopAt = in.ConsumeIntegralInRange<std::size_t>(0, 40);
    const Versions versions = Draw(function, in);
    // Loaded lines hold no CR, LF or NUL; the join is defined for lines holding them too.
    Lines lines;
    while (in.remaining_bytes() > 0 && lines.size() < 64) {
        std::string line = in.ConsumeRandomLengthString(24);
        if (function != 7) {
            std::erase_if(line, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
        }
        lines.push_back(std::move(line));
    }

    const Outcome expected = RunOp(versions.slow, lines, std::nullopt);
    Require(RunOp(versions.fast, lines, std::nullopt) == expected, "a full run differs");
    if (stopAt < expected.calls.size()) {
        if (function == 9) {
            // Stopped part-way, the filter leaves the document whole: nothing was written.
            const Outcome stopped = RunOp(versions.fast, lines, stopAt);
            Require(stopped.failure == "stop" && stopped.lines == lines,
                    "a stopped filter changed the document");
        } else {
            Require(RunOp(versions.fast, lines, stopAt) == RunOp(versions.slow, lines, stopAt),
                    "a run stopped part-way differs");
        }
    }
    return 0;
}
