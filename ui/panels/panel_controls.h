#pragma once

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

#include "core/line_functions.h"

namespace quillex {

// The function chooser and the twelve parameter panels, created as children of the main
// window. Every control carries its name as its object name.
struct PanelControls {
    QComboBox* ComboBox_Select = nullptr;
    std::array<QGroupBox*, kFunctionCount> Gb{};
    std::array<QPushButton*, kFunctionCount> Btn{};

    QComboBox* ComboBox_0_0 = nullptr;
    QComboBox* ComboBox_1_0 = nullptr;
    QComboBox* ComboBox_1_1 = nullptr;
    QComboBox* ComboBox_2_0 = nullptr;
    QComboBox* ComboBox_3_0 = nullptr;
    QComboBox* ComboBox_3_1 = nullptr;
    QCheckBox* Cb_3_0 = nullptr;
    QCheckBox* Cb_3_1 = nullptr;
    QComboBox* ComboBox_4_0 = nullptr;
    QLineEdit* Edit_4_0 = nullptr;
    QComboBox* ComboBox_6_0 = nullptr;
    QCheckBox* Cb_7_0 = nullptr;
    QLineEdit* Edit_8_0 = nullptr;
    QLineEdit* Edit_9_0 = nullptr;
    QRadioButton* Rb_9_0 = nullptr;
    QRadioButton* Rb_9_1 = nullptr;
    QComboBox* ComboBox_10_0 = nullptr;
    QLineEdit* Edit_11_0 = nullptr;
};

// Creates the chooser (twelve empty entries, filled by the language) and the panels with
// their start-up entries and defaults; every panel is placed in the same rectangle and
// hidden.
PanelControls CreatePanelControls(QWidget* window);

}  // namespace quillex
