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

// The function chooser and the parameter panels, created as children of the main
// window. Every control carries its control name (in the comments) as its object name.
struct PanelControls {
    QComboBox* chooser = nullptr;                             // ComboBox_Select
    std::array<QGroupBox*, kFunctionCount> panels{};          // Gb_0 .. Gb_15
    std::array<QPushButton*, kFunctionCount> startButtons{};  // Btn_0 .. Btn_15
    // In place of the Start buttons while work runs; hidden otherwise.
    QPushButton* cancelButton = nullptr;  // Btn_Cancel

    QComboBox* cutCount = nullptr;           // ComboBox_0_0
    QComboBox* replacedChar = nullptr;       // ComboBox_1_0
    QComboBox* replacementChar = nullptr;    // ComboBox_1_1
    QComboBox* cutWord = nullptr;            // ComboBox_2_0
    QComboBox* leftText = nullptr;           // ComboBox_3_0
    QComboBox* rightText = nullptr;          // ComboBox_3_1
    QCheckBox* addLeft = nullptr;            // Cb_3_0
    QCheckBox* addRight = nullptr;           // Cb_3_1
    QComboBox* condition = nullptr;          // ComboBox_4_0
    QLineEdit* conditionText = nullptr;      // Edit_4_0
    QComboBox* charClass = nullptr;          // ComboBox_6_0
    QCheckBox* joinMarker = nullptr;         // Cb_7_0
    QLineEdit* dropCount = nullptr;          // Edit_8_0
    QLineEdit* extension = nullptr;          // Edit_9_0
    QRadioButton* keepMatching = nullptr;    // Rb_9_0
    QRadioButton* removeMatching = nullptr;  // Rb_9_1
    QComboBox* trimSide = nullptr;           // ComboBox_10_0
    QLineEdit* removeWord = nullptr;         // Edit_11_0
    QComboBox* sortOrder = nullptr;          // ComboBox_12_0
    QCheckBox* descending = nullptr;         // Cb_12_0
    QLineEdit* seed = nullptr;               // Edit_14_0, empty for a random order
    QComboBox* duplicateKeep = nullptr;      // ComboBox_15_0
    QCheckBox* exactDuplicates = nullptr;    // Cb_15_0
    QCheckBox* countDuplicates = nullptr;    // Cb_15_1
};

// Creates the chooser (an empty entry a function, filled by the language) and the panels with
// their start-up entries and defaults; every panel is placed in the same rectangle and
// hidden.
PanelControls CreatePanelControls(QWidget* window);

}  // namespace quillex
