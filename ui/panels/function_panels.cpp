#include "ui/panels/function_panels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <exception>
#include <optional>
#include <string>

#include "core/line_operations.h"
#include "ui/guarded.h"
#include "ui/main_layout.h"
#include "ui/panels/key_filters.h"
#include "ui/panels/run_protocol.h"
#include "ui/text_bridge.h"

namespace quillex {

namespace {

// The first character of a field, or none for an empty field.
std::optional<char> FirstByte(const QString& text) {
    const std::string bytes = EncodeFromView(text);
    if (bytes.empty()) {
        return std::nullopt;
    }
    return bytes.front();
}

// The entry index of a drop-down list as one of `count` enumerators, or none.
template <typename Enum>
std::optional<Enum> SelectedEntry(const QComboBox* combo, int count) {
    const int index = combo->currentIndex();
    if (index < 0 || index >= count) {
        return std::nullopt;
    }
    return static_cast<Enum>(index);
}

constexpr int kConditionCount = 10;
constexpr int kConditionWithText = 9;

}  // namespace

FunctionPanels::FunctionPanels(QWidget* window, RunHost& host, ErrorReport& report)
    : QObject(window),
      host_(host),
      report_(report),
      c_(CreatePanelControls(window)),
      digitFilter_(new DigitKeyFilter(this)) {
    // The editable combo box takes the keys itself and hands them to its line edit.
    for (QObject* field :
         {static_cast<QObject*>(c_.ComboBox_0_0),
          static_cast<QObject*>(c_.ComboBox_0_0->lineEdit()), static_cast<QObject*>(c_.Edit_8_0)}) {
        field->installEventFilter(digitFilter_);
    }
    ConnectHandlers();
    ShowPanelOfFunction0();
}

void FunctionPanels::ConnectHandlers() {
    connect(c_.ComboBox_Select, &QComboBox::activated, this,
            Guarded(report_, this, &FunctionPanels::ComboBox_SelectClick));
    connect(c_.ComboBox_4_0, &QComboBox::currentIndexChanged, this,
            Guarded(report_, this, &FunctionPanels::ComboBox_4_0Change));

    using Handler = void (FunctionPanels::*)();
    static constexpr std::array<Handler, kFunctionCount> kStartHandlers = {
        &FunctionPanels::Btn_0Click, &FunctionPanels::Btn_1Click,  &FunctionPanels::Btn_2Click,
        &FunctionPanels::Btn_3Click, &FunctionPanels::Btn_4Click,  &FunctionPanels::Btn_5Click,
        &FunctionPanels::Btn_6Click, &FunctionPanels::Btn_7Click,  &FunctionPanels::Btn_8Click,
        &FunctionPanels::Btn_9Click, &FunctionPanels::Btn_10Click, &FunctionPanels::Btn_11Click,
    };
    for (int k = 0; k < kFunctionCount; ++k) {
        connect(c_.Btn[k], &QPushButton::clicked, this, Guarded(report_, this, kStartHandlers[k]));
    }
}

void FunctionPanels::SetFunctionNames(const CaptionTable& captions) {
    for (int k = 0; k < kFunctionCount; ++k) {
        c_.ComboBox_Select->setItemText(k, QString::fromStdString(captions.FunctionName(k)));
    }
}

void FunctionPanels::ShowPanelOfFunction0() {
    for (int k = 0; k < kFunctionCount; ++k) {
        c_.Gb[k]->setTitle(QString());
        c_.Gb[k]->setGeometry(layout::kPanels);
        c_.Gb[k]->setVisible(k == 0);
    }
}

void FunctionPanels::ComboBox_SelectClick(int index) {
    for (QGroupBox* panel : c_.Gb) {
        panel->hide();
    }
    if (index >= 0 && index < kFunctionCount) {
        c_.Gb[index]->show();
    }
    if (focusSink_ && focusSink_->isEnabled() && focusSink_->isVisible() &&
        focusSink_->focusPolicy() != Qt::NoFocus) {
        focusSink_->setFocus();
    }
}

void FunctionPanels::ComboBox_4_0Change(int index) {
    c_.Edit_4_0->setVisible(index == kConditionWithText);
}

void FunctionPanels::Btn_0Click() {
    const std::string count = EncodeFromView(c_.ComboBox_0_0->currentText());
    RunOverDocument(host_, [&](Lines& lines, const Progress& progress) {
        RemoveLeadingChars(lines, count, progress);
    });
}

void FunctionPanels::Btn_1Click() {
    const std::optional<char> c1 = FirstByte(c_.ComboBox_1_0->currentText());
    const std::optional<char> c2 = FirstByte(c_.ComboBox_1_1->currentText());
    RunOverDocument(host_, [&](Lines& lines, const Progress& progress) {
        ReplaceChar(lines, c1, c2, progress);
    });
}

void FunctionPanels::Btn_2Click() {
    const std::string word = EncodeFromView(c_.ComboBox_2_0->currentText());
    RunOverDocument(host_, [&](Lines& lines, const Progress& progress) {
        TruncateAtWord(lines, word, progress);
    });
}

void FunctionPanels::Btn_3Click() {
    const std::string left =
        c_.Cb_3_0->isChecked() ? EncodeFromView(c_.ComboBox_3_0->currentText()) : "";
    const std::string right =
        c_.Cb_3_1->isChecked() ? EncodeFromView(c_.ComboBox_3_1->currentText()) : "";
    RunOverDocument(host_, [&](Lines& lines, const Progress& progress) {
        AddTextToLines(lines, left, right, progress);
    });
}

void FunctionPanels::Btn_4Click() {
    const auto condition = SelectedEntry<RemovalCondition>(c_.ComboBox_4_0, kConditionCount);
    const std::string text = EncodeFromView(c_.Edit_4_0->text());
    RunOverDocument(host_, [&](Lines& lines, const Progress& progress) {
        RemoveLinesByCondition(lines, condition, text, progress);
    });
}

void FunctionPanels::Btn_5Click() {
    DocumentLines& document = host_.Document();
    if (document.Count() == 0) {
        return;
    }
    Lines kept;
    // The load command rebuilds the view, whether the user loads a file or cancels.
    RunRoundTrip(host_, [&](const Progress& progress) -> const Lines& {
        kept = RemoveDuplicateLines(document.lines(), progress);
        return kept;
    });
}

void FunctionPanels::Btn_6Click() {
    const auto charClass = SelectedEntry<CharClass>(c_.ComboBox_6_0, 3);
    RunOverDocument(host_, [&](Lines& lines, const Progress& progress) {
        RemoveCharClass(lines, charClass, progress);
    });
}

void FunctionPanels::Btn_7Click() {
    const bool marker = c_.Cb_7_0->isChecked();
    RunOverDocument(host_, [&](Lines& lines, const Progress& progress) {
        RemoveLineFolds(lines, marker, progress);
    });
}

void FunctionPanels::Btn_8Click() {
    // An invalid number is not the run's to catch: it goes to the general error report and
    // nothing else happens.
    const std::int32_t n = ParseCountText(EncodeFromView(c_.Edit_8_0->text()));
    DocumentLines& document = host_.Document();
    Lines rest;
    RunRoundTrip(host_, [&](const Progress& progress) -> const Lines& {
        rest = RemoveLinesBefore(document.lines(), n, progress);
        return rest;
    });
    host_.RefreshView();
}

void FunctionPanels::Btn_9Click() {
    const std::string text = EncodeFromView(c_.Edit_9_0->text());
    const FilterMode mode =
        c_.Rb_9_1->isChecked() ? FilterMode::RemoveMatching : FilterMode::KeepMatching;
    DocumentLines& document = host_.Document();
    ExtensionSplit split;
    // The document gives up the other lines only once the file holds the result, so a failed
    // write loses nothing.
    RunRoundTrip(
        host_,
        [&](const Progress& progress) -> const Lines& {
            split = FilterLinesByExtension(document.lines(), text, progress);
            return split.ToWrite(mode);
        },
        [&] { document.lines() = std::move(split.matching); });
    host_.RefreshView();
}

void FunctionPanels::Btn_10Click() {
    const auto side = SelectedEntry<TrimSide>(c_.ComboBox_10_0, 3);
    RunOverDocument(
        host_, [&](Lines& lines, const Progress& progress) { TrimLines(lines, side, progress); });
}

void FunctionPanels::Btn_11Click() {
    const std::string word = EncodeFromView(c_.Edit_11_0->text());
    RunOverDocument(host_, [&](Lines& lines, const Progress& progress) {
        RemoveLinesWithWord(lines, word, progress);
    });
}

}  // namespace quillex
