#include "ui/panels/function_panels.h"

#include <QAbstractButton>
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

// A panel's text that the document's encoding cannot hold, named by its caption entry.
struct TextRefused {
    const std::string CaptionTable::*field;
};

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

FunctionParams FunctionPanels::ReadPanel(FunctionId id) const {
    // Each parameter from its control, by the kind and the control name the function's
    // description gives: the same description the batch runner's options come from.
    FunctionParams params;
    const Encoding encoding = host_.Document().GetEncoding();
    const QWidget* panel = c_.panels[static_cast<std::size_t>(id)];
    const auto control = [panel](std::string_view name) {
        return panel->findChild<QWidget*>(
            QLatin1String(name.data(), static_cast<qsizetype>(name.size())));
    };
    for (const OptionInfo& option : OptionsOf(id)) {
        QWidget* widget = control(option.control);
        auto* combo = qobject_cast<QComboBox*>(widget);
        auto* edit = qobject_cast<QLineEdit*>(widget);
        const QString text = combo != nullptr  ? combo->currentText()
                             : edit != nullptr ? edit->text()
                                               : QString();
        switch (option.kind) {
            case OptionKind::Flag:
                option.set(params, qobject_cast<QAbstractButton*>(widget)->isChecked() ? "1" : "0",
                           encoding);
                break;
            case OptionKind::Choice: {
                const int index = combo->currentIndex();
                const bool listed = index >= 0 && index < static_cast<int>(option.entries.size());
                if (!option.words
                         .empty()) {  // a choice by word has no "none": it keeps its default
                    if (listed) {
                        option.set(params, option.words[static_cast<std::size_t>(index)], encoding);
                    }
                } else {
                    option.set(params, std::to_string(listed ? index : -1), encoding);
                }
                break;
            }
            case OptionKind::Number:
                // Digits only reach the field; a number too large is the general error report's.
                if (!text.isEmpty()) {
                    option.set(params, text.toStdString(), encoding);
                }
                break;
            case OptionKind::OptionalText: {
                const std::string bytes = InDocument(text, option.field);
                if (qobject_cast<QAbstractButton*>(control(option.toggle))->isChecked()) {
                    option.set(params, bytes, encoding);
                }
                break;
            }
            case OptionKind::CountText:
            case OptionKind::OneChar:
            case OptionKind::Text:
                option.set(params, InDocument(text, option.field), encoding);
                break;
        }
    }
    return params;
}

void FunctionPanels::Start(FunctionId id, std::function<void()> then) {
    Run(id, ReadPanel(id), std::move(then));
}

void FunctionPanels::StartCutLeading() {
    Start(FunctionId::CutLeading);
}

void FunctionPanels::StartReplaceChar() {
    Start(FunctionId::ReplaceChar);
}

void FunctionPanels::StartCutAtWord() {
    Start(FunctionId::CutAtWord);
}

void FunctionPanels::StartAddText() {
    Start(FunctionId::AddText);
}

void FunctionPanels::StartRemoveIf() {
    Start(FunctionId::RemoveIf);
}

void FunctionPanels::StartDedupe() {
    if (host_.Document().Count() == 0) {
        return;
    }
    // The load command rebuilds the view, whether the user loads a file or cancels.
    Start(FunctionId::Dedupe);
}

void FunctionPanels::StartRemoveClass() {
    Start(FunctionId::RemoveClass);
}

void FunctionPanels::StartJoin() {
    Start(FunctionId::Join);
}

void FunctionPanels::StartDropFirst() {
    const FunctionParams p = ReadPanel(FunctionId::DropFirst);
    // An invalid number is not the run's to catch: it goes to the general error report and
    // nothing else happens.
    ParseCountText(p.drop_count);
    Run(FunctionId::DropFirst, p, [this] { host_.RefreshView(); });
}

void FunctionPanels::StartFilterExt() {
    Start(FunctionId::FilterExt, [this] { host_.RefreshView(); });
}

void FunctionPanels::StartTrim() {
    Start(FunctionId::Trim);
}

void FunctionPanels::StartRemoveWithWord() {
    Start(FunctionId::RemoveWithWord);
}

void FunctionPanels::StartSort() {
    Start(FunctionId::Sort);
}

void FunctionPanels::StartReverse() {
    Start(FunctionId::Reverse);
}

void FunctionPanels::StartShuffle() {
    Start(FunctionId::Shuffle);
}

void FunctionPanels::StartDuplicates() {
    Start(FunctionId::Duplicates);
}

}  // namespace quillex
