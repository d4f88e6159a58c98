// The batch runner's progress line, driven by a clock the test moves: when it shows, what it
// says, and that it is gone before anything else is printed.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/batch_options.h"
#include "app/batch_progress.h"

namespace quillex::batch {
namespace {

using namespace std::chrono_literals;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

// A line whose clock stands still until the test moves it, and what it drew.
class ProgressLineTest : public ::testing::Test {
  protected:
    ProgressLine Line(bool shown = true) {
        return ProgressLine(
            shown, [this] { return now_; }, [this](std::string_view text) { drawn_ += text; });
    }
    void At(std::chrono::milliseconds t) { now_ = std::chrono::steady_clock::time_point() + t; }
    // What was drawn since the last call.
    std::string Drawn() { return std::exchange(drawn_, {}); }

  private:
    std::chrono::steady_clock::time_point now_;
    std::string drawn_;
};

TEST(ProgressLineShown, QuietNeverProgressAlwaysElseOnATerminal) {
    const struct {
        std::vector<std::string> flags;
        bool terminal;
        bool shown;
    } cases[] = {
        {{}, true, true},
        {{}, false, false},
        {{"--quiet"}, true, false},
        {{"--progress"}, false, true},
        {{"--progress"}, true, true},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"sort", "in.txt", "out.txt"};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        EXPECT_EQ(ShowsProgress(ParseCommand(args).options, c.terminal), c.shown)
            << ::testing::PrintToString(c.flags) << " terminal " << c.terminal;
    }
}

TEST_F(ProgressLineTest, SaysTheShareTheSpeedAndTheTimeLeft) {
    const struct {
        std::uint64_t done;
        std::uint64_t total;  // 0: unknown
        std::chrono::milliseconds at;
        const char* text;
    } cases[] = {
        {420 * kMiB, 1000 * kMiB, 2s, "  42%  210 MB/s  0:03 left"},
        {5 * kMiB, 1000 * kMiB, 2s, "   0%  2.5 MB/s  6:38 left"},
        {1 * kMiB, 4000 * kMiB, 1s, "   0%  1.0 MB/s  1:06:39 left"},
        {0, 1000 * kMiB, 3s, "   0%  0.0 MB/s"},  // no speed yet, no time left
        {120 * kMiB, 0, 4s, "  120 MB  30 MB/s"},
    };
    for (const auto& c : cases) {
        At(0ms);
        ProgressLine line = Line();
        At(c.at);
        EXPECT_TRUE(line.Reached(c.done, c.total));
        EXPECT_EQ(Drawn(), std::string("\r") + c.text) << c.text;
        line.Clear();
        Drawn();
    }
}

TEST_F(ProgressLineTest, ShowsAfterASecondAtMostTenTimesASecondAndGoesAtTheEnd) {
    At(0ms);
    ProgressLine line = Line();
    At(900ms);
    line.Reached(100 * kMiB, 1000 * kMiB);
    EXPECT_EQ(Drawn(), "");  // a short run shows nothing
    At(2000ms);
    line.Reached(420 * kMiB, 1000 * kMiB);
    EXPECT_EQ(Drawn(), "\r  42%  210 MB/s  0:03 left");
    At(2050ms);
    line.Reached(430 * kMiB, 1000 * kMiB);
    EXPECT_EQ(Drawn(), "");
    line.Reached(0, 0);  // a question whether to go on, no progress
    EXPECT_EQ(Drawn(), "");
    At(2100ms);
    // A shorter line is drawn over the whole of the longer one.
    line.Reached(440 * kMiB, 0);
    const std::string shorter = "  440 MB  210 MB/s";
    EXPECT_EQ(Drawn(), "\r" + shorter + std::string(26 - shorter.size(), ' '));
    At(2300ms);
    line.Reached(1000 * kMiB, 1000 * kMiB);
    EXPECT_EQ(Drawn(), "\r" + std::string(26, ' ') + "\r");
    line.Clear();  // nothing left to clear
    EXPECT_EQ(Drawn(), "");
}

TEST_F(ProgressLineTest, AFailureOrAMessageFindsTheLineCleared) {
    At(0ms);
    {
        ProgressLine line = Line();
        At(3s);
        line.Reached(1, 2);
        EXPECT_FALSE(Drawn().empty());
        line.Clear();
        EXPECT_EQ(Drawn(), "\r" + std::string(26, ' ') + "\r");
        At(4s);
        line.Reached(1, 2);  // drawn again after the message
        EXPECT_FALSE(Drawn().empty());
    }
    EXPECT_EQ(Drawn().back(), '\r');  // cleared as the run unwinds

    ProgressLine hidden = Line(false);
    At(10s);
    hidden.Reached(1, 2);
    hidden.Clear();
    EXPECT_EQ(Drawn(), "");
}

TEST_F(ProgressLineTest, ManyInputsShowTheShareOfAllTheirBytesAndEachEndClearsIt) {
    At(0ms);
    ProgressLine line = Line();
    line.Within(600 * kMiB, 1000 * kMiB);  // the third input, of 400 MiB, after 600 MiB
    At(10s);
    line.Reached(200 * kMiB, 400 * kMiB);
    EXPECT_EQ(Drawn(), "\r  80%  80 MB/s  0:03 left");
    At(11s);
    line.Reached(400 * kMiB, 400 * kMiB);  // its count is printed next
    EXPECT_EQ(Drawn(), "\r" + std::string(25, ' ') + "\r");
}

// The parts of a run over a loaded input on the line: the load its first half, the steps the
// third quarter, the save the last, each part's end the next one's start, also for an input
// past what 64-bit products of sizes hold; the save's end is the run's.
TEST_F(ProgressLineTest, ARunsPartsAreSpansOfTheInputsBytes) {
    const std::uint64_t huge = std::uint64_t{1} << 42;  // 4 TiB
    const struct {
        std::uint64_t size;
        int part;  // -1 the load, 0 to 2 the steps of three, 3 the save
        std::uint64_t done;
        std::uint64_t total;
        const char* share;  // the line's start; empty: cleared
    } cases[] = {
        {1000 * kMiB, -1, 300, 1000, "  15%"}, {1000 * kMiB, -1, 1000, 1000, "  50%"},
        {1000 * kMiB, 0, 10, 10, "  58%"},     {1000 * kMiB, 2, 7, 7, "  75%"},
        {1000 * kMiB, 3, 0, 990, "  75%"},     {1000 * kMiB, 3, 495, 990, "  87%"},
        {1000 * kMiB, 3, 990, 990, ""},        {huge, -1, huge - 1, huge, "  49%"},
        {huge, 3, huge / 2, huge, "  87%"},    {huge, 3, huge, huge, ""},
    };
    for (const auto& c : cases) {
        At(0ms);
        ProgressLine line = Line();
        line.Reached(0, 0);
        At(5s);
        line.Reached(1, c.size);  // drawn, so that an end has a line to clear
        At(10s);
        Drawn();
        const RunShares shares(&line, c.size);
        PartMeter part = c.part < 0   ? shares.Load()
                         : c.part < 3 ? shares.Step(c.part, 3)
                                      : shares.Save();
        part.Reached(c.done, c.total);
        const std::string drawn = Drawn();
        if (*c.share == '\0') {
            EXPECT_EQ(drawn.back(), '\r') << drawn;
            EXPECT_EQ(drawn.find_first_not_of("\r "), std::string::npos) << drawn;
        } else {
            EXPECT_EQ(drawn.substr(0, 6), std::string("\r") + c.share) << c.part << " " << c.done;
        }
    }
}

}  // namespace
}  // namespace quillex::batch
