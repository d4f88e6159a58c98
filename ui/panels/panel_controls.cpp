#include "ui/panels/panel_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include "ui/main_layout.h"
#include "ui/text_bridge.h"

namespace quillex {

namespace {

// Inside a panel: parameters on the left, the Start button on the right.
constexpr QRect kStartRect(336, 18, 80, 25);
constexpr int kRowTop = 20;
constexpr int kRowHeight = 21;

template <typename Widget>
Widget* Make(QWidget* parent, const char* name, QRect geometry) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QRect Row(int left, int width) {
    return QRect(left, kRowTop, width, kRowHeight);
}

// A combo box the user types into; typed texts never become entries.
QComboBox* MakeEditableCombo(QWidget* parent, const char* name, QRect geometry,
                             const QStringList& entries) {
    auto* combo = Make<QComboBox>(parent, name, geometry);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(entries);
    combo->setCurrentIndex(0);
    return combo;
}

// A drop-down list: only its entries can be chosen.
QComboBox* MakeListCombo(QWidget* parent, const char* name, QRect geometry,
                         const QStringList& entries) {
    auto* combo = Make<QComboBox>(parent, name, geometry);
    combo->addItems(entries);
    combo->setCurrentIndex(0);
    return combo;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect geometry, const QString& text) {
    auto* edit = Make<QLineEdit>(parent, name, geometry);
    edit->setText(text);
    return edit;
}

QStringList CharacterEntries() {
    return {"?", ".", ",", "=", "\\", "|", "/", "<", ">",
            "%", "$", "#", "(", ")",  "[", "]", "{", "}"};
}

void CreateParameters(PanelControls& c) {
    const FunctionParams defaults;
    c.cutCount =
        MakeEditableCombo(c.panels[0], "ComboBox_0_0", Row(8, 80),
                          {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "15", "20", "50"});

    c.replacedChar = MakeEditableCombo(c.panels[1], "ComboBox_1_0", Row(8, 60), CharacterEntries());
    c.replacementChar =
        MakeEditableCombo(c.panels[1], "ComboBox_1_1", Row(80, 60), CharacterEntries());
    for (QComboBox* combo : {c.replacedChar, c.replacementChar}) {
        combo->lineEdit()->setMaxLength(1);
    }

    c.cutWord = MakeEditableCombo(c.panels[2], "ComboBox_2_0", Row(8, 240),
                                  {DecodeForView(defaults.cut_word)});

    c.leftText =
        MakeEditableCombo(c.panels[3], "ComboBox_3_0", Row(8, 90), {DecodeForView(defaults.left)});
    c.addLeft = Make<QCheckBox>(c.panels[3], "Cb_3_0", Row(104, 56));
    c.addLeft->setText(QStringLiteral("Left"));
    c.rightText = MakeEditableCombo(c.panels[3], "ComboBox_3_1", Row(166, 90),
                                    {DecodeForView(defaults.right)});
    c.addRight = Make<QCheckBox>(c.panels[3], "Cb_3_1", Row(262, 60));
    c.addRight->setText(QStringLiteral("Right"));

    c.condition = MakeListCombo(
        c.panels[4], "ComboBox_4_0", Row(8, 180),
        {"Line length = 0", "Line length < 5", "Line length < 20", "Line length > 1",
         "Line length > 5", "Line length > 20", "String contains a sign %",
         "String contains a sign ?", "String contains a sign $", "String contains a text"});
    c.conditionText =
        MakeEdit(c.panels[4], "Edit_4_0", Row(196, 132), DecodeForView(defaults.condition_text));
    c.conditionText->hide();

    c.charClass = MakeListCombo(
        c.panels[6], "ComboBox_6_0", Row(8, 240),
        {"Marks ['.', ';', ',', ':', '!', '?']", "Numbers ['0'..'9']", "Internal spaces [' ']"});

    c.joinMarker = Make<QCheckBox>(c.panels[7], "Cb_7_0", Row(8, 320));
    c.joinMarker->setText(QString::fromUtf8("Заменить переносы строк на <br>"));

    c.dropCount =
        MakeEdit(c.panels[8], "Edit_8_0", Row(8, 100), DecodeForView(defaults.drop_count));

    c.extension =
        MakeEdit(c.panels[9], "Edit_9_0", QRect(8, 18, 60, 21), DecodeForView(defaults.extension));
    c.keepMatching = Make<QRadioButton>(c.panels[9], "Rb_9_0", QRect(76, 10, 250, 20));
    c.keepMatching->setText(QString::fromUtf8("Оставить строки с текстом"));
    c.removeMatching = Make<QRadioButton>(c.panels[9], "Rb_9_1", QRect(76, 30, 250, 20));
    c.removeMatching->setText(QString::fromUtf8("Удалить строки с текстом"));
    c.keepMatching->setChecked(true);

    c.trimSide = MakeListCombo(
        c.panels[10], "ComboBox_10_0", Row(8, 240),
        {"At the start of the line", "At the end of lines", "To the start and end of line"});

    c.removeWord =
        MakeEdit(c.panels[11], "Edit_11_0", Row(8, 240), DecodeForView(defaults.remove_word));
}

}  // namespace

PanelControls CreatePanelControls(QWidget* window) {
    PanelControls c;
    c.chooser = Make<QComboBox>(window, "ComboBox_Select", layout::kComboBox_Select);
    for (int k = 0; k < kFunctionCount; ++k) {
        c.chooser->addItem(QString());
    }
    c.chooser->setCurrentIndex(0);

    for (int k = 0; k < kFunctionCount; ++k) {
        const QByteArray number = QByteArray::number(k);
        c.panels[k] = Make<QGroupBox>(window, ("Gb_" + number).constData(), layout::kPanels);
        c.panels[k]->hide();
        c.startButtons[k] =
            Make<QPushButton>(c.panels[k], ("Btn_" + number).constData(), kStartRect);
        c.startButtons[k]->setText(QStringLiteral("Start"));
        // Enter on a focused Start starts too, not only Space.
        c.startButtons[k]->setAutoDefault(true);
    }
    CreateParameters(c);
    // Above the panels, where every panel has its Start button; its caption is the language's.
    c.cancelButton =
        Make<QPushButton>(window, "Btn_Cancel", kStartRect.translated(layout::kPanels.topLeft()));
    c.cancelButton->hide();
    return c;
}

}  // namespace quillex
