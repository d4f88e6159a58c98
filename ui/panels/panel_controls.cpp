#include "ui/panels/panel_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include <string_view>

#include "core/function_options.h"
#include "ui/main_layout.h"
#include "ui/text_bridge.h"

namespace quillex {

namespace {

// Inside a panel: parameters on the left, the Start button on the right.
constexpr QRect kStartRect(336, 18, 80, 25);
constexpr int kRowTop = 20;
constexpr int kRowHeight = 21;

template <typename Widget>
Widget* Make(QWidget* parent, std::string_view name, QRect geometry) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name.data(), static_cast<qsizetype>(name.size())));
    widget->setGeometry(geometry);
    return widget;
}

// The control of a function's option as the functions' description names it.
std::string_view ControlOf(FunctionId id, std::string_view option) {
    return FindOption(id, option)->control;
}

// The entries the description lists for an option.
QStringList EntriesOf(FunctionId id, std::string_view option) {
    QStringList entries;
    for (std::string_view entry : FindOption(id, option)->entries) {
        entries << QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
    }
    return entries;
}

QRect Row(int left, int width) {
    return QRect(left, kRowTop, width, kRowHeight);
}

// A combo box the user types into; typed texts never become entries.
QComboBox* MakeEditableCombo(QWidget* parent, std::string_view name, QRect geometry,
                             const QStringList& entries) {
    auto* combo = Make<QComboBox>(parent, name, geometry);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(entries);
    combo->setCurrentIndex(0);
    return combo;
}

// A drop-down list: only its entries can be chosen.
QComboBox* MakeListCombo(QWidget* parent, std::string_view name, QRect geometry,
                         const QStringList& entries) {
    auto* combo = Make<QComboBox>(parent, name, geometry);
    combo->addItems(entries);
    combo->setCurrentIndex(0);
    return combo;
}

QLineEdit* MakeEdit(QWidget* parent, std::string_view name, QRect geometry, const QString& text) {
    auto* edit = Make<QLineEdit>(parent, name, geometry);
    edit->setText(text);
    return edit;
}

void CreateParameters(PanelControls& c) {
    using F = FunctionId;
    const FunctionParams defaults;
    c.cutCount = MakeEditableCombo(c.panels[0], ControlOf(F::CutLeading, "count"), Row(8, 80),
                                   EntriesOf(F::CutLeading, "count"));

    c.replacedChar = MakeEditableCombo(c.panels[1], ControlOf(F::ReplaceChar, "from"), Row(8, 60),
                                       EntriesOf(F::ReplaceChar, "from"));
    c.replacementChar = MakeEditableCombo(c.panels[1], ControlOf(F::ReplaceChar, "to"), Row(80, 60),
                                          EntriesOf(F::ReplaceChar, "to"));
    for (QComboBox* combo : {c.replacedChar, c.replacementChar}) {
        combo->lineEdit()->setMaxLength(1);
    }

    c.cutWord = MakeEditableCombo(c.panels[2], ControlOf(F::CutAtWord, "word"), Row(8, 240),
                                  {DecodeForView(defaults.cut_word)});

    c.leftText = MakeEditableCombo(c.panels[3], ControlOf(F::AddText, "left"), Row(8, 90),
                                   {DecodeForView(defaults.left)});
    c.addLeft = Make<QCheckBox>(c.panels[3], "Cb_3_0", Row(104, 56));
    c.addLeft->setText(QStringLiteral("Left"));
    c.rightText = MakeEditableCombo(c.panels[3], ControlOf(F::AddText, "right"), Row(166, 90),
                                    {DecodeForView(defaults.right)});
    c.addRight = Make<QCheckBox>(c.panels[3], "Cb_3_1", Row(262, 60));
    c.addRight->setText(QStringLiteral("Right"));

    c.condition = MakeListCombo(c.panels[4], ControlOf(F::RemoveIf, "condition"), Row(8, 180),
                                EntriesOf(F::RemoveIf, "condition"));
    c.conditionText = MakeEdit(c.panels[4], ControlOf(F::RemoveIf, "text"), Row(196, 132),
                               DecodeForView(defaults.condition_text));
    c.conditionText->hide();

    c.charClass = MakeListCombo(c.panels[6], ControlOf(F::RemoveClass, "class"), Row(8, 240),
                                EntriesOf(F::RemoveClass, "class"));

    c.joinMarker = Make<QCheckBox>(c.panels[7], ControlOf(F::Join, "br"), Row(8, 320));
    c.joinMarker->setText(QString::fromUtf8("Заменить переносы строк на <br>"));

    c.dropCount = MakeEdit(c.panels[8], ControlOf(F::DropFirst, "lines"), Row(8, 100),
                           DecodeForView(defaults.drop_count));

    c.extension = MakeEdit(c.panels[9], ControlOf(F::FilterExt, "text"), QRect(8, 18, 60, 21),
                           DecodeForView(defaults.extension));
    c.keepMatching =
        Make<QRadioButton>(c.panels[9], ControlOf(F::FilterExt, "keep"), QRect(76, 10, 250, 20));
    c.keepMatching->setText(QString::fromUtf8("Оставить строки с текстом"));
    c.removeMatching =
        Make<QRadioButton>(c.panels[9], ControlOf(F::FilterExt, "drop"), QRect(76, 30, 250, 20));
    c.removeMatching->setText(QString::fromUtf8("Удалить строки с текстом"));
    c.keepMatching->setChecked(true);

    c.trimSide = MakeListCombo(c.panels[10], ControlOf(F::Trim, "side"), Row(8, 240),
                               EntriesOf(F::Trim, "side"));

    c.removeWord = MakeEdit(c.panels[11], ControlOf(F::RemoveWithWord, "word"), Row(8, 240),
                            DecodeForView(defaults.remove_word));

    c.sortOrder = MakeListCombo(c.panels[12], ControlOf(F::Sort, "by"), Row(8, 200),
                                EntriesOf(F::Sort, "by"));
    c.descending = Make<QCheckBox>(c.panels[12], ControlOf(F::Sort, "descending"), Row(216, 110));
    c.descending->setText(QStringLiteral("Descending"));

    c.seed = MakeEdit(c.panels[14], ControlOf(F::Shuffle, "seed"), Row(8, 160), QString());
    c.seed->setPlaceholderText(QStringLiteral("Seed (random order)"));

    c.duplicateKeep = MakeListCombo(c.panels[15], ControlOf(F::Duplicates, "keep"),
                                    QRect(8, 18, 190, 21), EntriesOf(F::Duplicates, "keep"));
    c.exactDuplicates =
        Make<QCheckBox>(c.panels[15], ControlOf(F::Duplicates, "exact"), QRect(206, 10, 124, 20));
    c.exactDuplicates->setText(QStringLiteral("Letter case counts"));
    c.countDuplicates =
        Make<QCheckBox>(c.panels[15], ControlOf(F::Duplicates, "count"), QRect(206, 30, 124, 20));
    c.countDuplicates->setText(QStringLiteral("Count in front"));
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
