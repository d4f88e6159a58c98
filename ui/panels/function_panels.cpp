#include "ui/panels/function_panels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "core/function_options.h"
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

// A panel's text that the document's encoding cannot hold, named by its caption entry.
struct TextRefused {
    const std::string CaptionTable::*field;
};

constexpr int kConditionCount = 10;
constexpr int kConditionWithText = 9;
constexpr int kSortOrderCount = 5;
constexpr int kDuplicateKeepCount = 4;

}  // namespace

FunctionPanels::FunctionPanels(QWidget* window, RunHost& host, ErrorReport& report)
    : QObject(window),
      host_(host),
      report_(report),
      c_(CreatePanelControls(window)),
      digitFilter_(new DigitKeyFilter(this)) {
    // The editable combo box takes the keys itself and hands them to its line edit.
    for (QObject* field :
         {static_cast<QObject*>(c_.cutCount), static_cast<QObject*>(c_.cutCount->lineEdit()),
          static_cast<QObject*>(c_.dropCount), static_cast<QObject*>(c_.seed)}) {
        field->installEventFilter(digitFilter_);
    }
    ConnectHandlers();
    ShowPanelOfFunction0();
}

void FunctionPanels::ConnectHandlers() {
    connect(c_.chooser, &QComboBox::activated, this,
            Guarded(report_, this, &FunctionPanels::ShowPanelOf));
    connect(c_.condition, &QComboBox::currentIndexChanged, this,
            Guarded(report_, this, &FunctionPanels::ShowConditionTextFor));

    using Handler = void (FunctionPanels::*)();
    static constexpr std::array<Handler, kFunctionCount> kStartHandlers = {
        &FunctionPanels::StartCutLeading,  &FunctionPanels::StartReplaceChar,
        &FunctionPanels::StartCutAtWord,   &FunctionPanels::StartAddText,
        &FunctionPanels::StartRemoveIf,    &FunctionPanels::StartDedupe,
        &FunctionPanels::StartRemoveClass, &FunctionPanels::StartJoin,
        &FunctionPanels::StartDropFirst,   &FunctionPanels::StartFilterExt,
        &FunctionPanels::StartTrim,        &FunctionPanels::StartRemoveWithWord,
        &FunctionPanels::StartSort,        &FunctionPanels::StartReverse,
        &FunctionPanels::StartShuffle,     &FunctionPanels::StartDuplicates,
    };
    for (int k = 0; k < kFunctionCount; ++k) {
        connect(
            c_.startButtons[k], &QPushButton::clicked, this,
            Guarded(report_, [this, handler = kStartHandlers[k]] { StartRefusingTexts(handler); }));
    }
    WorkRunner& work = host_.Work();
    connect(c_.cancelButton, &QPushButton::clicked, &work, &WorkRunner::Cancel);
    connect(&work, &WorkRunner::BusyChanged, this, &FunctionPanels::ShowWorking);
}

void FunctionPanels::ShowWorking(bool working) {
    QPushButton* shownStart = nullptr;
    for (int k = 0; k < kFunctionCount; ++k) {
        if (!c_.panels[k]->isHidden()) {
            shownStart = c_.startButtons[k];
        }
    }
    // The keyboard's place goes from Start to Cancel and back, so that Enter and Space keep
    // working on the button that stands there.
    QWidget* focused = working ? static_cast<QWidget*>(shownStart) : c_.cancelButton;
    const bool moveFocus = focused != nullptr && focused->hasFocus();
    c_.chooser->setEnabled(!working);
    c_.cancelButton->setVisible(working);
    for (QPushButton* start : c_.startButtons) {
        start->setVisible(!working);
    }
    if (moveFocus) {
        QWidget* next = working ? static_cast<QWidget*>(c_.cancelButton) : shownStart;
        if (next != nullptr) {
            next->setFocus();
        }
    }
}

QList<QWidget*> FunctionPanels::TabOrder() const {
    QList<QWidget*> order{c_.chooser};
    for (int k = 0; k < kFunctionCount; ++k) {
        QList<QWidget*> parameters =
            c_.panels[k]->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        parameters.removeOne(c_.startButtons[k]);
        std::stable_sort(parameters.begin(), parameters.end(),
                         [](const QWidget* a, const QWidget* b) {
                             return std::pair(a->x(), a->y()) < std::pair(b->x(), b->y());
                         });
        order << parameters << c_.startButtons[k];
    }
    return order;
}

void FunctionPanels::SetFunctionNames(const CaptionTable& captions) {
    for (int k = 0; k < kFunctionCount; ++k) {
        c_.chooser->setItemText(k, QString::fromStdString(captions.FunctionName(k)));
    }
}

void FunctionPanels::ShowPanelOfFunction0() {
    for (int k = 0; k < kFunctionCount; ++k) {
        c_.panels[k]->setTitle(QString());
        c_.panels[k]->setGeometry(layout::kPanels);
        c_.panels[k]->setVisible(k == 0);
    }
}

void FunctionPanels::ShowPanelOf(int index) {
    for (QGroupBox* panel : c_.panels) {
        panel->hide();
    }
    if (index >= 0 && index < kFunctionCount) {
        c_.panels[index]->show();
    }
    // No control of a hidden panel keeps the focus, nor does a field out of sight take it.
    if (c_.chooser->isVisible() && c_.chooser->isEnabled()) {
        c_.chooser->setFocus();
    }
}

void FunctionPanels::ShowConditionTextFor(int index) {
    c_.conditionText->setVisible(index == kConditionWithText);
}

std::string FunctionPanels::InDocument(const QString& text,
                                       const std::string CaptionTable::*field) const {
    // The same conversion as quillex-batch's text options.
    std::optional<std::string> bytes =
        EncodeFromUnicode(U16View(text), host_.Document().GetEncoding());
    if (!bytes) {
        throw TextRefused{field};
    }
    return std::move(*bytes);
}

void FunctionPanels::StartRefusingTexts(void (FunctionPanels::*handler)()) {
    try {
        (this->*handler)();
    } catch (const TextRefused& refused) {
        const CaptionTable& captions = host_.Captions();
        host_.ShowMessage(
            FromUtf8(captions.Txt_Cannot_Hold)
                .arg(FromUtf8(captions.*refused.field),
                     FromUtf8(std::string(EncodingName(host_.Document().GetEncoding())))));
    }
}

void FunctionPanels::Run(FunctionId id, const FunctionParams& params, std::function<void()> then) {
    if (!host_.Work().CanStart()) {
        return;
    }
    std::vector<StepWordList> applied{StepWords(id, params, host_.Document().GetEncoding())};
    if (Describe(id).result == FunctionResultKind::RewritesDocument) {
        RunOverDocument(
            host_,
            [id, params](DocumentLines& document, const Progress& progress) {
                RunLineFunction(id, params, document, progress);
            },
            std::move(applied));
        return;
    }
    RunRoundTrip(
        host_,
        [id, params](const DocumentLines& document, const Progress& progress) {
            return BuildLoadFileResult(id, params, document, progress);
        },
        std::move(then), std::move(applied));
}

void FunctionPanels::StartCutLeading() {
    FunctionParams p;
    p.count = InDocument(c_.cutCount->currentText(), &CaptionTable::Txt_Field_Count);
    Run(FunctionId::CutLeading, p);
}

void FunctionPanels::StartReplaceChar() {
    FunctionParams p;
    p.from =
        FirstChar(InDocument(c_.replacedChar->currentText(), &CaptionTable::Txt_Field_Replaced),
                  host_.Document().GetEncoding());
    p.to = FirstChar(
        InDocument(c_.replacementChar->currentText(), &CaptionTable::Txt_Field_Replacement),
        host_.Document().GetEncoding());
    Run(FunctionId::ReplaceChar, p);
}

void FunctionPanels::StartCutAtWord() {
    FunctionParams p;
    p.cut_word = InDocument(c_.cutWord->currentText(), &CaptionTable::Txt_Field_Cut_Word);
    Run(FunctionId::CutAtWord, p);
}

void FunctionPanels::StartAddText() {
    FunctionParams p;
    p.left = InDocument(c_.leftText->currentText(), &CaptionTable::Txt_Field_Left);
    p.add_left = c_.addLeft->isChecked();
    p.right = InDocument(c_.rightText->currentText(), &CaptionTable::Txt_Field_Right);
    p.add_right = c_.addRight->isChecked();
    Run(FunctionId::AddText, p);
}

void FunctionPanels::StartRemoveIf() {
    FunctionParams p;
    p.condition = SelectedEntry<RemovalCondition>(c_.condition, kConditionCount);
    p.condition_text =
        InDocument(c_.conditionText->text(), &CaptionTable::Txt_Field_Condition_Text);
    Run(FunctionId::RemoveIf, p);
}

void FunctionPanels::StartDedupe() {
    if (host_.Document().Count() == 0) {
        return;
    }
    // The load command rebuilds the view, whether the user loads a file or cancels.
    Run(FunctionId::Dedupe, FunctionParams{});
}

void FunctionPanels::StartRemoveClass() {
    FunctionParams p;
    p.char_class = SelectedEntry<CharClass>(c_.charClass, 3);
    Run(FunctionId::RemoveClass, p);
}

void FunctionPanels::StartJoin() {
    FunctionParams p;
    p.marker = c_.joinMarker->isChecked();
    Run(FunctionId::Join, p);
}

void FunctionPanels::StartDropFirst() {
    FunctionParams p;
    p.drop_count = InDocument(c_.dropCount->text(), &CaptionTable::Txt_Field_Line_Number);
    // An invalid number is not the run's to catch: it goes to the general error report and
    // nothing else happens.
    ParseCountText(p.drop_count);
    Run(FunctionId::DropFirst, p, [this] { host_.RefreshView(); });
}

void FunctionPanels::StartFilterExt() {
    FunctionParams p;
    p.extension = InDocument(c_.extension->text(), &CaptionTable::Txt_Field_Extension);
    p.mode = c_.removeMatching->isChecked() ? FilterMode::RemoveMatching : FilterMode::KeepMatching;
    Run(FunctionId::FilterExt, p, [this] { host_.RefreshView(); });
}

void FunctionPanels::StartTrim() {
    FunctionParams p;
    p.side = SelectedEntry<TrimSide>(c_.trimSide, 3);
    Run(FunctionId::Trim, p);
}

void FunctionPanels::StartRemoveWithWord() {
    FunctionParams p;
    p.remove_word = InDocument(c_.removeWord->text(), &CaptionTable::Txt_Field_Remove_Word);
    Run(FunctionId::RemoveWithWord, p);
}

void FunctionPanels::StartSort() {
    FunctionParams p;
    p.sort_by = SelectedEntry<SortOrder>(c_.sortOrder, kSortOrderCount).value_or(p.sort_by);
    p.descending = c_.descending->isChecked();
    Run(FunctionId::Sort, p);
}

void FunctionPanels::StartReverse() {
    Run(FunctionId::Reverse, FunctionParams{});
}

void FunctionPanels::StartShuffle() {
    FunctionParams p;
    // Digits only reach the field; a number too large for a seed is the general error report's.
    if (const QString seed = c_.seed->text(); !seed.isEmpty()) {
        FindOption(FunctionId::Shuffle, "seed")->set(p, seed.toStdString(), Encoding::Windows1251);
    }
    Run(FunctionId::Shuffle, p);
}

void FunctionPanels::StartDuplicates() {
    FunctionParams p;
    p.duplicates.keep = SelectedEntry<DuplicateKeep>(c_.duplicateKeep, kDuplicateKeepCount)
                            .value_or(p.duplicates.keep);
    p.duplicates.exact = c_.exactDuplicates->isChecked();
    p.duplicates.count = c_.countDuplicates->isChecked();
    Run(FunctionId::Duplicates, p);
}

}  // namespace quillex
