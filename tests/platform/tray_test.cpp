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

QPixmap Picture(int side = TrayIcon::kIconSize) {
    QPixmap picture(side, side);
    picture.fill(Qt::darkBlue);
    return picture;
}

TEST(TrayIcon, Has32PixelPictureAndTheProgramsNameAsHint) {
    TrayIcon tray(Picture(64));
    QSystemTrayIcon& icon = PlatformIcon(tray);
    EXPECT_EQ(icon.toolTip(), QStringLiteral("Quillex"));
    EXPECT_FALSE(icon.icon().isNull());
    EXPECT_EQ(icon.icon().availableSizes(), QList<QSize>{QSize(32, 32)});
    EXPECT_FALSE(tray.IsShown());  // inactive until the first minimise
}

TEST(TrayIcon, ReportsDoubleAndSingleClicksApart) {
    TrayIcon tray(Picture());
    QSignalSpy doubleClicks(&tray, &TrayIcon::doubleClicked);
    QSignalSpy clicks(&tray, &TrayIcon::clicked);
    emit PlatformIcon(tray).activated(QSystemTrayIcon::DoubleClick);
    emit PlatformIcon(tray).activated(QSystemTrayIcon::Trigger);
    emit PlatformIcon(tray).activated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(TrayIcon, RightClickPopsUpTheMenuGivenToIt) {
    TrayIcon tray(Picture());
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

class ApplyTrayStepTest : public ::testing::Test {
  protected:
    void SetUp() override { window_.show(); }

    QWidget window_;
    TrayIcon tray_{Picture()};
    TrayState state_;
};

TEST_F(ApplyTrayStepTest, ToTheTrayAndBack) {
    ApplyTrayStep(state_.Minimize(true), window_, tray_);
    EXPECT_TRUE(tray_.IsShown());
    EXPECT_FALSE(window_.isVisible());

    ApplyTrayStep(state_.Restore(), window_, tray_);
    EXPECT_FALSE(tray_.IsShown());
    EXPECT_TRUE(window_.isVisible());
}

TEST_F(ApplyTrayStepTest, WithoutATrayTheWindowStaysReachable) {
    ApplyTrayStep(state_.Minimize(false), window_, tray_);
    EXPECT_FALSE(tray_.IsShown());
    EXPECT_TRUE(window_.isVisible());
    EXPECT_TRUE(window_.isMinimized());
}

}  // namespace
}  // namespace quillex
