// Every operation against its step-by-step transcription on many generated documents: the
// same lines, the same progress numbers, and the same state when the run fails part-way.

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <typeinfo>

#include "core/line_operations.h"
#include "op_outcome.h"
#include "ops_reference.h"
#include "progress_log.h"
#include "vector_ops.h"

namespace quillex {

namespace testing {
void PrintTo(const Outcome& o, std::ostream* out) {
    *out << ::testing::PrintToString(o.lines) << " results " << ::testing::PrintToString(o.results)
         << " calls " << ::testing::PrintToString(o.calls) << " failure '" << o.failure << "'";
}
}  // namespace testing

namespace {

using testing::Op;
using testing::Outcome;
using testing::ProgressLog;
using testing::RunOp;
using testing::StopRun;

// Short lines over an alphabet that hits every rule: cased Latin and Cyrillic pairs, blanks
// and control bytes, the marks, digits, the extension separators, the words searched for.
class Generator {
  public:
    explicit Generator(unsigned seed) : random_(seed) {}

    std::size_t Below(std::size_t n) { return random_() % n; }

    char Char() {
        static const std::string alphabet(
            "aAbB \t\x01.,;:!?%$\\/09con\xC0\xE0\xA8\xB8\x80\x90\xA0\xB5", 30);
        return alphabet[Below(alphabet.size())];
    }

    std::string Text(std::size_t max_length, bool breaks = false) {
        std::string text(Below(max_length + 1), ' ');
        for (char& c : text) {
            c = Char();
            if (breaks && Below(8) == 0) {
                c = "\r\n\0"[Below(3)];
            }
        }
        return text;
    }

    Lines Document(bool breaks = false) {
        Lines lines(Below(12));
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0 && Below(3) == 0) {
                // An earlier line again, some letters in the other case: a duplicate.
                lines[i] = lines[Below(i)];
                for (char& c : lines[i]) {
                    if (Below(2) == 0) {
                        c = c == 'a' ? 'A' : c == '\xE0' ? '\xC0' : c == '\xB8' ? '\xA8' : c;
                    }
                }
            } else {
                lines[i] = Text(8, breaks);
            }
        }
        return lines;
    }

    template <class T>
    std::optional<T> Pick(int count) {
        int k = static_cast<int>(Below(count + 1)) - 1;
        return k < 0 ? std::nullopt : std::optional<T>(static_cast<T>(k));
    }

  private:
    std::mt19937 random_;
};

std::vector<Lines> None() {
    return {};
}

// Runs both versions over the same document, without a failure and then (unless told not to)
// failing at each progress call the full run makes.
void ExpectSame(const Op& fast, const Op& slow, const Lines& lines, const std::string& what,
                bool with_failures = true) {
    Outcome expected = RunOp(slow, lines, std::nullopt);
    ASSERT_EQ(RunOp(fast, lines, std::nullopt), expected) << what;
    for (std::size_t at = 0; with_failures && at < expected.calls.size(); ++at) {
        ASSERT_EQ(RunOp(fast, lines, at), RunOp(slow, lines, at)) << what << " failing at " << at;
    }
}

constexpr unsigned kRounds = 400;

TEST(OpsEquivalence, InPlaceRewrites) {
    Generator gen(1);
    for (unsigned round = 0; round < kRounds; ++round) {
        const Lines doc = gen.Document();
        const std::string count = gen.Below(4) == 0 ? gen.Text(3) : std::to_string(gen.Below(8));
        ExpectSame(
            [&](Lines& l, const Progress& p) {
                RemoveLeadingChars(l, count, p);
                return None();
            },
            [&](Lines& l, const Progress& p) {
                reference::RemoveLeadingChars(l, count, p);
                return None();
            },
            doc, "0 " + count);

        const auto c1 = gen.Below(6) == 0 ? std::nullopt : std::optional<char>(gen.Char());
        const auto c2 = gen.Below(6) == 0 ? std::nullopt : std::optional<char>(gen.Char());
        ExpectSame(
            [&](Lines& l, const Progress& p) {
                ReplaceChar(l, c1, c2, p);
                return None();
            },
            [&](Lines& l, const Progress& p) {
                reference::ReplaceChar(l, c1, c2, p);
                return None();
            },
            doc, "1");

        const std::string word = gen.Text(2);
        ExpectSame(
            [&](Lines& l, const Progress& p) {
                TruncateAtWord(l, word, p);
                return None();
            },
            [&](Lines& l, const Progress& p) {
                reference::TruncateAtWord(l, word, p);
                return None();
            },
            doc, "2 " + word);

        const std::string left = gen.Text(2), right = gen.Text(2);
        ExpectSame(
            [&](Lines& l, const Progress& p) {
                AddTextToLines(l, left, right, p);
                return None();
            },
            [&](Lines& l, const Progress& p) {
                reference::AddTextToLines(l, left, right, p);
                return None();
            },
            doc, "3");

        const auto cls = gen.Pick<CharClass>(3);
        ExpectSame(
            [&](Lines& l, const Progress& p) {
                RemoveCharClass(l, cls, p);
                return None();
            },
            [&](Lines& l, const Progress& p) {
                reference::RemoveCharClass(l, cls, p);
                return None();
            },
            doc, "6");

        const auto side = gen.Pick<TrimSide>(3);
        ExpectSame(
            [&](Lines& l, const Progress& p) {
                TrimLines(l, side, p);
                return None();
            },
            [&](Lines& l, const Progress& p) {
                reference::TrimLines(l, side, p);
                return None();
            },
            doc, "10");
    }
}

TEST(OpsEquivalence, RemovalsAndDuplicates) {
    Generator gen(2);
    for (unsigned round = 0; round < kRounds; ++round) {
        const Lines doc = gen.Document();
        const auto condition = gen.Pick<RemovalCondition>(10);
        const std::string text = gen.Text(2);
        ExpectSame(
            [&](Lines& l, const Progress& p) {
                RemoveLinesByCondition(l, condition, text, p);
                return None();
            },
            [&](Lines& l, const Progress& p) {
                reference::RemoveLinesByCondition(l, condition, text, p);
                return None();
            },
            doc, "4");

        ExpectSame(
            [&](Lines& l, const Progress& p) {
                return std::vector<Lines>{RemoveDuplicateLines(l, p)};
            },
            [&](Lines& l, const Progress& p) {
                return std::vector<Lines>{reference::RemoveDuplicateLines(l, p)};
            },
            doc, "5");

        const auto n = static_cast<std::int32_t>(gen.Below(16)) - 2;
        ExpectSame(
            [&](Lines& l, const Progress& p) {
                return std::vector<Lines>{RemoveLinesBefore(l, n, p)};
            },
            [&](Lines& l, const Progress& p) {
                return std::vector<Lines>{reference::RemoveLinesBefore(l, n, p)};
            },
            doc, "8");

        const std::string word = gen.Text(2);
        ExpectSame(
            [&](Lines& l, const Progress& p) {
                RemoveLinesWithWord(l, word, p);
                return None();
            },
            [&](Lines& l, const Progress& p) {
                reference::RemoveLinesWithWord(l, word, p);
                return None();
            },
            doc, "11 " + word);
    }
}

// The filter leaves the document to its caller: its split must be the lines the plain pass
// keeps in the document and the ones it returns, and its progress numbers those of that pass.
// Unlike the plain pass, a failure part-way leaves the document whole (the caller replaces it
// only after writing).
TEST(OpsEquivalence, ExtensionFilter) {
    Generator gen(3);
    for (unsigned round = 0; round < kRounds; ++round) {
        const Lines doc = gen.Document();
        const std::string text = gen.Below(3) == 0 ? "" : "." + gen.Text(2);
        for (const Lines& source : {doc, Lines{}}) {
            ExpectSame(
                [&](Lines& l, const Progress& p) {
                    auto split = FilterLinesByExtension(l, text, p);
                    l = split.matching;
                    return std::vector<Lines>{split.others};
                },
                [&](Lines& l, const Progress& p) {
                    return std::vector<Lines>{reference::FilterLinesByExtension(l, text, p)};
                },
                source, "9 " + text, false);
        }
        for (std::size_t at = 0; at < doc.size(); ++at) {
            ProgressLog log(at);
            EXPECT_THROW(FilterLinesByExtension(doc, text, log.Callback()), StopRun);
        }
        for (const std::string& line : doc) {
            ASSERT_EQ(std::string(LineExtension(line)), reference::LineExtension(line)) << line;
        }
    }
}

TEST(OpsEquivalence, Join) {
    Generator gen(4);
    for (unsigned round = 0; round < kRounds; ++round) {
        const Lines doc = gen.Document(round % 2 == 0);  // lines with CR, LF and NUL too
        for (bool marker : {false, true}) {
            ExpectSame(
                [&](Lines& l, const Progress& p) {
                    RemoveLineFolds(l, marker, p);
                    return None();
                },
                [&](Lines& l, const Progress& p) {
                    reference::RemoveLineFolds(l, marker, p);
                    return None();
                },
                doc, "7");
        }
    }
}

}  // namespace
}  // namespace quillex
