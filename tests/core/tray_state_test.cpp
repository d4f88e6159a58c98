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

}  // namespace
}  // namespace quillex
