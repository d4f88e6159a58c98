#include "platform/tray.h"

#include <QIcon>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QWidget>

#include <gtest/gtest.h>

namespace quillex {
namespace {

QSystemTrayIcon& PlatformIcon(TrayIcon& tray) {
    auto* icon = tray.findChild<QSystemTrayIcon*>();
    if (icon == nullptr) {
        throw std::logic_error("tray icon has no QSystemTrayIcon");
    }
    return *icon;
}

TEST(TrayIcon, HasItsOwn32PixelPictureAndTheProgramsNameAsHint) {
    TrayIcon tray;
    QSystemTrayIcon& icon = PlatformIcon(tray);
    EXPECT_EQ(icon.toolTip(), QStringLiteral("Quillex"));
    EXPECT_FALSE(icon.icon().isNull());
    EXPECT_EQ(TrayIcon::Picture().size(), QSize(32, 32));
    EXPECT_FALSE(tray.IsShown());  // inactive until the first minimise
}

TEST(TrayIcon, ReportsDoubleAndSingleClicksApart) {
    TrayIcon tray;
    QSignalSpy doubleClicks(&tray, &TrayIcon::doubleClicked);
    QSignalSpy clicks(&tray, &TrayIcon::clicked);
    emit PlatformIcon(tray).activated(QSystemTrayIcon::DoubleClick);
    emit PlatformIcon(tray).activated(QSystemTrayIcon::Trigger);
    emit PlatformIcon(tray).activated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(TrayIcon, RightClickPopsUpTheMenuGivenToIt) {
    TrayIcon tray;
    emit PlatformIcon(tray).activated(QSystemTrayIcon::Context);  // no menu yet: nothing

    QMenu menu;
    menu.addAction(QStringLiteral("Go to our website"));
    menu.addAction(QStringLiteral("Exit"));
    tray.SetMenu(&menu);
    EXPECT_EQ(tray.Menu(), &menu);
    emit PlatformIcon(tray).activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(menu.isVisible());
    menu.close();
}

TEST(ApplyTrayStep, ToTheTrayAndBack) {
    QWidget window;
    window.show();
    TrayIcon tray;
    TrayState state;

    ApplyTrayStep(state.Minimize(true), window, tray);
    EXPECT_TRUE(tray.IsShown());
    EXPECT_FALSE(window.isVisible());

    ApplyTrayStep(state.Restore(), window, tray);
    EXPECT_FALSE(tray.IsShown());
    EXPECT_TRUE(window.isVisible());
}

TEST(ApplyTrayStep, WithoutATrayTheWindowStaysReachable) {
    QWidget window;
    window.show();
    TrayIcon tray;
    TrayState state;

    ApplyTrayStep(state.Minimize(false), window, tray);
    EXPECT_FALSE(tray.IsShown());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
}

}  // namespace
}  // namespace quillex
