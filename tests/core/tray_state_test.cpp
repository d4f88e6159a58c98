#include "core/tray_state.h"

#include <gtest/gtest.h>

namespace quillex {
namespace {

TEST(TrayState, MinimizeAndRestoreGoBackAndForth) {
    TrayState state;
    EXPECT_EQ(state.place(), TrayPlace::Shown);
    EXPECT_EQ(state.Restore(), TrayStep::None);  // no icon to double-click yet

    EXPECT_EQ(state.Minimize(true), TrayStep::HideToTray);
    EXPECT_EQ(state.place(), TrayPlace::InTray);
    EXPECT_EQ(state.Minimize(true), TrayStep::None);

    EXPECT_EQ(state.Restore(), TrayStep::RestoreFromTray);
    EXPECT_EQ(state.place(), TrayPlace::Shown);
    EXPECT_EQ(state.Restore(), TrayStep::None);

    EXPECT_EQ(state.Minimize(true), TrayStep::HideToTray);  // again in the same run
}

TEST(TrayState, WithoutATrayTheWindowIsNeverHidden) {
    TrayState state;
    EXPECT_EQ(state.Minimize(false), TrayStep::MinimizeNormally);
    EXPECT_EQ(state.place(), TrayPlace::Shown);
    EXPECT_EQ(state.Restore(), TrayStep::None);
}

TEST(AutoMinimize, WaitsForTheWindowToBeActiveThenDecidesOnce) {
    AutoMinimize autoMinimize;
    EXPECT_FALSE(autoMinimize.Tick(false, true));  // splash: main window not active
    EXPECT_FALSE(autoMinimize.Tick(false, true));
    EXPECT_TRUE(autoMinimize.pending());

    EXPECT_TRUE(autoMinimize.Tick(true, true));
    EXPECT_FALSE(autoMinimize.pending());
    // Restored and active again: never minimised a second time in the run.
    EXPECT_FALSE(autoMinimize.Tick(true, true));
}

TEST(AutoMinimize, SettingOffDecidesWithoutMinimisingAndLaterChangesWait) {
    AutoMinimize autoMinimize;
    EXPECT_FALSE(autoMinimize.Tick(true, false));
    EXPECT_FALSE(autoMinimize.pending());
    EXPECT_FALSE(autoMinimize.Tick(true, true));  // switched on after the decision
}

}  // namespace
}  // namespace quillex
