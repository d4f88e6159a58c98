#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

#include "ui_fixture.h"

namespace quillex::testing {
namespace {

class KeyboardTest : public MainWindowTest {
  protected:
    // Focus moves and keys reach the window's shortcuts only while it is the active window.
    KeyboardTest() {
        mainWindow.show();
        QApplication::setActiveWindow(&mainWindow);
    }

    static QWidget* Focused() { return QApplication::focusWidget(); }
    static std::string NameOf(const QWidget* widget) {
        return widget == nullptr ? "(none)" : widget->objectName().toStdString();
    }
    // Where the user can see the widget: its bounds, mapped to the window, lie inside it.
    bool Visible(const QWidget& widget) const {
        const QRect bounds(widget.mapTo(&mainWindow, QPoint(0, 0)), widget.size());
        return widget.isVisible() && mainWindow.rect().contains(bounds);
    }
};

// Tab from where the window puts the focus at its showing walks the whole window and comes
// back; it lands only on controls the user sees, in the order load field, Open, save field,
// Save, chooser, the shown panel's parameters, its Start, then the view.
TEST_F(KeyboardTest, TabWalksTheVisibleControlsInOrderForEveryPanel) {
    for (int function = 0; function < kFunctionCount; ++function) {
        SCOPED_TRACE("panel " + std::to_string(function));
        Pick(function);
        Child<QLineEdit>(mainWindow, "Edit_Focus")->setFocus();
        std::vector<std::string> walk;
        for (int step = 0; step < 40; ++step) {
            QTest::keyClick(Focused(), Qt::Key_Tab);
            QWidget* focused = Focused();
            ASSERT_NE(focused, nullptr);
            ASSERT_TRUE(Visible(*focused)) << NameOf(focused) << " lies outside the window";
            if (!walk.empty() && NameOf(focused) == walk.front()) {
                break;
            }
            walk.push_back(NameOf(focused));
        }
        const std::string start = "Btn_" + std::to_string(function);
        const std::vector<std::string> head = {"Edit_Load_File", "Btn_Load_File", "Edit_Save_File",
                                               "Btn_Save_File", "ComboBox_Select"};
        ASSERT_GE(walk.size(), head.size() + 2) << ::testing::PrintToString(walk);
        EXPECT_EQ(std::vector<std::string>(walk.begin(), walk.begin() + 5), head);
        EXPECT_EQ(walk[walk.size() - 2], start) << ::testing::PrintToString(walk);
        EXPECT_EQ(walk.back(), "RichEdit_Text");
        // Between the chooser and Start: the shown panel's own parameters only.
        const QGroupBox* panel = mainWindow.Panels().Controls().panels[function];
        for (std::size_t k = head.size(); k + 2 < walk.size(); ++k) {
            const QWidget* parameter = panel->findChild<QWidget*>(QString::fromStdString(walk[k]));
            EXPECT_NE(parameter, nullptr) << walk[k] << " is not a parameter of the panel";
        }
    }
}

// The arrow keys go on picking entries one after another, the panel following each, and Tab
// then goes into the shown panel: the chooser keeps the focus throughout.
TEST_F(KeyboardTest, ArrowKeysOnTheChooserKeepTheFocusThere) {
    QComboBox* chooser = mainWindow.Panels().Controls().chooser;
    chooser->setFocus();
    for (int function = 1; function <= 3; ++function) {
        QTest::keyClick(Focused(), Qt::Key_Down);
        ASSERT_EQ(Focused(), chooser) << "after the pick of " << function;
        EXPECT_EQ(chooser->currentIndex(), function);
        EXPECT_EQ(VisiblePanels(), std::vector<int>{function});
    }
    QTest::keyClick(Focused(), Qt::Key_Up);
    EXPECT_EQ(chooser->currentIndex(), 2);
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(NameOf(Focused()), "ComboBox_2_0");
}

// The view, the last Tab stop, shows that it has the keyboard: its frame turns to the focus
// colour, and back when the focus goes on.
TEST_F(KeyboardTest, TheViewsFrameShowsTheFocus) {
    const QLabel* frame = Child<QLabel>(mainWindow, "Image1");
    const QImage plain = frame->pixmap().toImage();
    Pick(0);
    Child<QPushButton>(mainWindow, "Btn_0")->setFocus();
    QTest::keyClick(Focused(), Qt::Key_Tab);
    ASSERT_EQ(NameOf(Focused()), "RichEdit_Text");
    EXPECT_NE(frame->pixmap().toImage(), plain);
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(frame->pixmap().toImage(), plain);
}

// The keys a user expects: Ctrl+O and Ctrl+S open the same dialogs as the buttons, from
// wherever the focus is; Space and Enter press the focused Open, Save and Start buttons.
TEST_F(KeyboardTest, KeysOpenSaveAndStart) {
    SetLines(3);
    mainWindow.RefreshView();
    Child<QLineEdit>(mainWindow, "Edit_Save_File")->setFocus();
    dialogs.openAnswers = {std::nullopt, std::nullopt, std::nullopt};
    dialogs.saveAnswers = {std::nullopt, std::nullopt, std::nullopt};

    QTest::keyClick(Focused(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(Focused(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.openFolders.size(), 1);
    EXPECT_EQ(dialogs.saveFolders.size(), 1);

    for (const char* button : {"Btn_Load_File", "Btn_Save_File"}) {
        Child<QWidget>(mainWindow, button)->setFocus();
        QTest::keyClick(Focused(), Qt::Key_Space);
        QTest::keyClick(Focused(), Qt::Key_Return);
    }
    EXPECT_EQ(dialogs.openFolders.size(), 3);
    EXPECT_EQ(dialogs.saveFolders.size(), 3);

    // Function 0 cuts the first character of every line.
    Pick(0);
    Child<QPushButton>(mainWindow, "Btn_0")->setFocus();
    QTest::keyClick(Focused(), Qt::Key_Return);
    EXPECT_EQ(mainWindow.Document().Get(0), "ine 0");
    QTest::keyClick(Focused(), Qt::Key_Enter);
    EXPECT_EQ(mainWindow.Document().Get(0), "ne 0");
}

}  // namespace
}  // namespace quillex::testing
