#include "core/window_logic.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillex {
namespace {

TEST(SplashSchedule, GaugeStepsDonePictureAndClose) {
    SplashSchedule schedule;
    std::vector<int> gauges;
    int doneAt = 0;
    int closeAt = 0;
    for (int i = 1; i <= 40 && closeAt == 0; ++i) {
        const SplashSchedule::Step step = schedule.Tick();
        gauges.push_back(step.gauge);
        if (step.showDone) {
            EXPECT_EQ(doneAt, 0) << "the done picture is shown once";
            doneAt = i;
        }
        if (step.close) {
            closeAt = i;
        }
    }
    EXPECT_EQ(doneAt, 20);
    EXPECT_EQ(closeAt, 31);
    EXPECT_EQ(schedule.tick(), 31);
    const std::vector<int> expected = {5,  10, 15, 20, 25, 28, 33, 38, 43, 48, 53,
                                       58, 61, 66, 71, 76, 81, 86, 91, 96, 99, 99,
                                       99, 99, 99, 99, 99, 99, 99, 99, 99};
    EXPECT_EQ(gauges, expected);
}

TEST(SplashSchedule, NoTickBeforeThirtyOneCloses) {
    SplashSchedule schedule;
    for (int i = 1; i <= 30; ++i) {
        EXPECT_FALSE(schedule.Tick().close) << "tick " << i;
    }
    EXPECT_TRUE(schedule.Tick().close);
}

TEST(AutoMinimizeDecision, WaitsForTheActiveWindowThenDecidesOnce) {
    AutoMinimizeDecision decision;
    EXPECT_FALSE(decision.Tick(false, true));
    EXPECT_FALSE(decision.Tick(false, true));
    EXPECT_TRUE(decision.pending());
    EXPECT_TRUE(decision.Tick(true, true));
    EXPECT_FALSE(decision.pending());
    // Restored later and active again: never minimised again in this run.
    EXPECT_FALSE(decision.Tick(true, true));
}

TEST(AutoMinimizeDecision, SettingOffDecidesWithoutMinimising) {
    AutoMinimizeDecision decision;
    EXPECT_FALSE(decision.Tick(true, false));
    EXPECT_FALSE(decision.pending());
    // Switching the setting on afterwards has no effect before the next start.
    EXPECT_FALSE(decision.Tick(true, true));
}

struct HoverCase {
    int x;
    int y;
    bool inside;
};

class HoverTestEdges : public ::testing::TestWithParam<HoverCase> {};

// Btn_Load_File (11, 524, 164 x 50) in a window at (237, 10).
TEST_P(HoverTestEdges, StrictOnTheLeftAndTopInclusiveOnTheRightAndBottom) {
    const HoverCase c = GetParam();
    const ControlBounds button{11, 524, 164, 50};
    EXPECT_EQ(HoverTest(true, {237, 10}, button, {c.x, c.y}), c.inside)
        << "(" << c.x << ", " << c.y << ")";
}

INSTANTIATE_TEST_SUITE_P(Edges, HoverTestEdges,
                         ::testing::Values(HoverCase{248, 560, false},  // left-most column
                                           HoverCase{249, 560, true},   // one pixel inside
                                           HoverCase{300, 534, false},  // top-most row
                                           HoverCase{300, 535, true},   // one pixel inside
                                           HoverCase{411, 560, true},   // right-most column
                                           HoverCase{412, 560, false},  // just right of it
                                           HoverCase{300, 583, true},   // bottom-most row
                                           HoverCase{300, 584, false},  // just below it
                                           HoverCase{249, 535, true}, HoverCase{411, 583, true},
                                           HoverCase{0, 0, false}));

TEST(HoverTest, HiddenWindowNeverHovers) {
    EXPECT_FALSE(HoverTest(false, {0, 0}, {10, 10, 30, 30}, {20, 20}));
    EXPECT_TRUE(HoverTest(true, {0, 0}, {10, 10, 30, 30}, {20, 20}));
}

TEST(ButtonImageIndex, NormalAndHighlightedPairs) {
    EXPECT_EQ(ButtonImageIndex(0, false), 0);
    EXPECT_EQ(ButtonImageIndex(0, true), 1);
    EXPECT_EQ(ButtonImageIndex(2, true), 3);
    EXPECT_EQ(ButtonImageIndex(4, false), 4);
    EXPECT_EQ(ButtonImageIndex(4, true), 5);
}

struct LabelCase {
    int label;
    int language;
    bool hovered;
    LabelColour colour;
};

class LanguageLabelColours : public ::testing::TestWithParam<LabelCase> {};

TEST_P(LanguageLabelColours, FollowTheTable) {
    const LabelCase c = GetParam();
    EXPECT_EQ(LanguageLabelColour(c.label, c.language, c.hovered), c.colour);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LanguageLabelColours,
    ::testing::Values(
        LabelCase{0, 0, false, LabelColour::Green}, LabelCase{0, 1, false, LabelColour::Grey},
        LabelCase{0, 0, true, LabelColour::Green}, LabelCase{0, 1, true, LabelColour::Black},
        LabelCase{1, 1, false, LabelColour::Green}, LabelCase{1, 0, false, LabelColour::Grey},
        LabelCase{1, 1, true, LabelColour::Green}, LabelCase{1, 0, true, LabelColour::Black},
        // No valid language: both grey, a hovered one green.
        LabelCase{0, 2, false, LabelColour::Grey}, LabelCase{1, 2, false, LabelColour::Grey},
        LabelCase{0, 7, true, LabelColour::Green}, LabelCase{1, -1, true, LabelColour::Green}));

TEST(CentredLeft, TruncatesTowardZero) {
    EXPECT_EQ(CentredLeft(1280, 806), 237);
    EXPECT_EQ(CentredLeft(1281, 806), 237);
    EXPECT_EQ(CentredLeft(800, 806), -3);
    EXPECT_EQ(CentredLeft(799, 806), -3);
    EXPECT_EQ(CentredLeft(1024, 400), 312);
}

// The top centre where the window fits; moved back onto the screen where it does not, its
// top-left corner always on the screen.
TEST(PlaceOnScreen, KeepsTheTopLeftCornerOnTheScreen) {
    struct Case {
        ControlBounds screen;
        int centredLeft;
        int x;
        int y;
    };
    const Case cases[] = {
        {{0, 0, 1280, 1024}, CentredLeft(1280, 802), 239, 10},
        {{0, 0, 800, 600}, CentredLeft(800, 802), 0, 0},        // a little too small
        {{0, 0, 640, 512}, CentredLeft(640, 802), 0, 0},        // 200 % on 1280 x 1024
        {{0, 28, 1280, 996}, CentredLeft(1280, 802), 239, 38},  // below a panel
        {{0, 0, 1280, 1024}, CentredLeft(3840, 802), 478, 10},  // centred on a wider desktop
        {{1280, 0, 640, 512}, CentredLeft(1920, 802), 1280, 0},
    };
    for (const Case& c : cases) {
        const ScreenPoint at = PlaceOnScreen(c.screen, c.centredLeft, 802, 602);
        EXPECT_EQ(at.x, c.x) << c.screen.width << " x " << c.screen.height;
        EXPECT_EQ(at.y, c.y) << c.screen.width << " x " << c.screen.height;
    }
    EXPECT_DOUBLE_EQ(FittingScale(1280, 1024, 802, 602), 1.0);
    EXPECT_DOUBLE_EQ(FittingScale(640, 512, 802, 602), 640.0 / 802);
}

TEST(GradientStep, RunsFromOneEndToTheOther) {
    const Rgb from{2, 61, 125};
    const Rgb to{55, 190, 255};
    EXPECT_EQ(GradientStep(from, to, 0, 64), from);
    EXPECT_EQ(GradientStep(from, to, 63, 64), to);
    const Rgb middle = GradientStep(from, to, 32, 64);
    EXPECT_GT(middle.r, from.r);
    EXPECT_LT(middle.r, to.r);
}

}  // namespace
}  // namespace quillex
