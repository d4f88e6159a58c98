#include "tests/ui/panel_fixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

namespace quillex::testing {

PanelsTest::PanelsTest() : panels_(new FunctionPanels(&window_, host_, report_)) {
    host_.loadFileText = QString::fromStdString(LoadFilePath().string());
    window_.resize(806, 580);
    window_.show();
}

void PanelsTest::Pick(int function) {
    QComboBox* chooser = c().chooser;
    QTest::keyClick(chooser, Qt::Key_Home);
    for (int k = 0; k < function; ++k) {
        QTest::keyClick(chooser, Qt::Key_Down);
    }
    ASSERT_EQ(chooser->currentIndex(), function);
}

void PanelsTest::Start(int function) {
    Pick(function);
    QPushButton* start = c().startButtons[function];
    ASSERT_TRUE(start->isVisible());
    QTest::mouseClick(start, Qt::LeftButton);
}

void PanelsTest::ConfirmLoadDialog() {
    host_.onLoadCommand = [this] {
        host_.document.LoadFromFile(LoadFilePath());
        host_.events.push_back("refresh");
    };
}

std::vector<int> PanelsTest::VisiblePanels() const {
    std::vector<int> visible;
    for (int k = 0; k < kFunctionCount; ++k) {
        if (c().panels[k]->isVisible()) {
            visible.push_back(k);
        }
    }
    return visible;
}

}  // namespace quillex::testing
