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
#include <utility>

#include "core/line_functions.h"
#include "ui/guarded.h"
#include "ui/main_layout.h"
#include "ui/panels/key_filters.h"
#include "ui/panels/run_protocol.h"
#include "ui/text_bridge.h"
#include "ui/work_runner.h"

namespace quillex {

namespace {

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

void FunctionPanels::Run(FunctionId id, const FunctionParams& params, std::function<void()> then) {
    if (host_.Work().Busy()) {
        return;
    }
    if (Describe(id).result == FunctionResultKind::RewritesDocument) {
        RunOverDocument(host_, [id, params](DocumentLines& document, const Progress& progress) {
            RunLineFunction(id, params, document, progress);
        });
        return;
    }
    RunRoundTrip(
        host_,
        [id, params](const DocumentLines& document, const Progress& progress) {
            return BuildLoadFileResult(id, params, document, progress);
        },
        std::move(then));
}

void FunctionPanels::Btn_0Click() {
    FunctionParams p;
    p.count = EncodeFromView(c_.ComboBox_0_0->currentText());
    Run(FunctionId::CutLeading, p);
}

void FunctionPanels::Btn_1Click() {
    FunctionParams p;
    p.from = FirstByte(EncodeFromView(c_.ComboBox_1_0->currentText()));
    p.to = FirstByte(EncodeFromView(c_.ComboBox_1_1->currentText()));
    Run(FunctionId::ReplaceChar, p);
}

void FunctionPanels::Btn_2Click() {
    FunctionParams p;
    p.cut_word = EncodeFromView(c_.ComboBox_2_0->currentText());
    Run(FunctionId::CutAtWord, p);
}

void FunctionPanels::Btn_3Click() {
    FunctionParams p;
    p.left = EncodeFromView(c_.ComboBox_3_0->currentText());
    p.add_left = c_.Cb_3_0->isChecked();
    p.right = EncodeFromView(c_.ComboBox_3_1->currentText());
    p.add_right = c_.Cb_3_1->isChecked();
    Run(FunctionId::AddText, p);
}

void FunctionPanels::Btn_4Click() {
    FunctionParams p;
    p.condition = SelectedEntry<RemovalCondition>(c_.ComboBox_4_0, kConditionCount);
    p.condition_text = EncodeFromView(c_.Edit_4_0->text());
    Run(FunctionId::RemoveIf, p);
}

void FunctionPanels::Btn_5Click() {
    if (host_.Document().Count() == 0) {
        return;
    }
    // The load command rebuilds the view, whether the user loads a file or cancels.
    Run(FunctionId::Dedupe, FunctionParams{});
}

void FunctionPanels::Btn_6Click() {
    FunctionParams p;
    p.char_class = SelectedEntry<CharClass>(c_.ComboBox_6_0, 3);
    Run(FunctionId::RemoveClass, p);
}

void FunctionPanels::Btn_7Click() {
    FunctionParams p;
    p.marker = c_.Cb_7_0->isChecked();
    Run(FunctionId::Join, p);
}

void FunctionPanels::Btn_8Click() {
    FunctionParams p;
    p.drop_count = EncodeFromView(c_.Edit_8_0->text());
    // An invalid number is not the run's to catch: it goes to the general error report and
    // nothing else happens.
    ParseCountText(p.drop_count);
    Run(FunctionId::DropFirst, p, [this] { host_.RefreshView(); });
}

void FunctionPanels::Btn_9Click() {
    FunctionParams p;
    p.extension = EncodeFromView(c_.Edit_9_0->text());
    p.mode = c_.Rb_9_1->isChecked() ? FilterMode::RemoveMatching : FilterMode::KeepMatching;
    Run(FunctionId::FilterExt, p, [this] { host_.RefreshView(); });
}

void FunctionPanels::Btn_10Click() {
    FunctionParams p;
    p.side = SelectedEntry<TrimSide>(c_.ComboBox_10_0, 3);
    Run(FunctionId::Trim, p);
}

void FunctionPanels::Btn_11Click() {
    FunctionParams p;
    p.remove_word = EncodeFromView(c_.Edit_11_0->text());
    Run(FunctionId::RemoveWithWord, p);
}

}  // namespace quillex
