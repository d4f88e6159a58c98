#include <QAction>

#include <tuple>

#include "core/display_limit.h"
#include "core/view_text.h"
#include "ui_fixture.h"

namespace quillex::testing {
namespace {

class DisplayLimits : public MainWindowTest,
                      public ::testing::WithParamInterface<std::tuple<int, std::size_t>> {};

TEST_P(DisplayLimits, ShowTheFirstLinesUpToTheCap) {
    const auto [limit, count] = GetParam();
    constexpr std::size_t kCaps[] = {100, 200, 500, 1000, SIZE_MAX};
    const std::size_t shown = std::min(count, kCaps[limit]);
    SetLines(count);
    Child<QAction>(mainWindow, QStringLiteral("N0_%1").arg(limit))->trigger();
    EXPECT_EQ(mainWindow.DisplayLimit(), limit);
    ASSERT_EQ(ViewLines(), static_cast<int>(shown));
    const QStringList viewLines = ViewText().split(u'\n');
    EXPECT_EQ(viewLines.front(), "line 0");
    EXPECT_EQ(viewLines[static_cast<int>(shown) - 1], QString("line %1").arg(shown - 1));
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), QString("Lines: %1").arg(shown));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(mainWindow.Document().Count(), count);
}

INSTANTIATE_TEST_SUITE_P(
    CapsAndCounts, DisplayLimits,
    ::testing::Combine(::testing::Values(0, 1, 2, 3, 4),
                       ::testing::Values(std::size_t{99}, std::size_t{100}, std::size_t{101},
                                         std::size_t{1000}, std::size_t{1001}, std::size_t{5000})));

TEST_F(MainWindowTest, EmptyDocumentShowsAnEmptyView) {
    mainWindow.RefreshView();
    EXPECT_TRUE(ViewText().isEmpty());
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "Lines: 0");
}

TEST_F(MainWindowTest, OneEmptyLineIsOneEmptyViewLine) {
    mainWindow.Document().Add("");
    mainWindow.RefreshView();
    EXPECT_EQ(ViewText(), "\n");
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_1")->text(), "Lines: 1");
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_2")->text(), "Characters: 2");
}

TEST_F(MainWindowTest, WholeFileStopsAtTheViewCapacityWithTheFileMessage) {
    Child<QLineEdit>(mainWindow, "Edit_Load_File")->setText("big.txt");
    for (int i = 0; i < 5000; ++i) {
        mainWindow.Document().Add(std::string(30, 'a' + i % 26));  // 160,000 characters
    }
    Child<QAction>(mainWindow, QStringLiteral("N0_%1").arg(kDisplayLimitAll))->trigger();
    EXPECT_EQ(dialogs.messages, QStringList{"File: big.txt error!"});
    EXPECT_EQ(Child<QLabel>(mainWindow, "Lbl_2")->text(),
              QString("Characters: %1").arg(kViewCapacity));
    EXPECT_TRUE(ViewText().startsWith(QString(30, 'a') + "\n" + QString(30, 'b')));
    EXPECT_EQ(mainWindow.Document().Count(), 5000u);
    // The message names the field even when it is empty.
    Child<QLineEdit>(mainWindow, "Edit_Load_File")->clear();
    mainWindow.RefreshView();
    EXPECT_EQ(dialogs.messages.last(), "File:  error!");
}

TEST_F(MainWindowTest, LinesAreNeverTakenAsMarkup) {
    mainWindow.Document().Add("<b>bold</b> &amp; <img src=x>");
    mainWindow.Document().Add("<html><body>hi</body></html>");
    mainWindow.RefreshView();
    EXPECT_EQ(ViewText(), "<b>bold</b> &amp; <img src=x>\n<html><body>hi</body></html>\n");
}

TEST_F(MainWindowTest, BytesAreShownAsWindows1251) {
    mainWindow.Document().Add("\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8 \x96");
    mainWindow.RefreshView();
    EXPECT_EQ(ViewText(), QString::fromUtf8("Привет Ёё \u2013\n"));
}

TEST_F(MainWindowTest, SameLimitTwiceRebuildsTheSameView) {
    SetLines(150);
    mainWindow.SetDisplayLimit(0);
    const QString first = ViewText();
    mainWindow.SetDisplayLimit(0);
    EXPECT_EQ(ViewText(), first);
}

}  // namespace
}  // namespace quillex::testing
