#pragma once

#include <QList>
#include <QObject>

#include <functional>

#include "core/caption_table.h"
#include "core/line_functions.h"
#include "ui/error_report.h"
#include "ui/panels/panel_controls.h"
#include "ui/run_host.h"

class QWidget;

namespace quillex {

class DigitKeyFilter;

// The function chooser and the parameter panels with their Start handlers. Created
// with the main window, whose children the controls become; the window supplies the
// document, the progress label, the messages and the load command through RunHost.
class FunctionPanels : public QObject {
    Q_OBJECT

  public:
    FunctionPanels(QWidget* window, RunHost& host, ErrorReport& report);

    const PanelControls& Controls() const { return c_; }

    // The chooser's entries in the current language, replaced in place: the
    // selection and the shown panel stay.
    void SetFunctionNames(const CaptionTable& captions);
    // Shows Gb_0 alone, whatever the chooser holds (each time the window is shown).
    void ShowPanelOfFunction0();
    // The controls in the order Tab visits them: the chooser, then each panel's parameters
    // from left to right and top to bottom, then its Start. Hidden panels are skipped by Tab.
    QList<QWidget*> TabOrder() const;

    // Event handlers, connected to their controls.
    // The chooser's pick: the panel of function `index` alone is shown, and the chooser keeps
    // the keyboard, so that the arrow keys go on picking and Tab goes on into the panel.
    void ShowPanelOf(int index);
    // The condition list's pick: the text field only for "String contains a text".
    void ShowConditionTextFor(int index);
    // The Start buttons Btn_0 .. Btn_15, in the chooser's order.
    void StartCutLeading();
    void StartReplaceChar();
    void StartCutAtWord();
    void StartAddText();
    void StartRemoveIf();
    void StartDedupe();
    void StartRemoveClass();
    void StartJoin();
    void StartDropFirst();
    void StartFilterExt();
    void StartTrim();
    void StartRemoveWithWord();
    void StartSort();
    void StartReverse();
    void StartShuffle();
    void StartDuplicates();

    // While work runs the chooser is disabled and Cancel stands in place of Start.
    void ShowWorking(bool working);

  private:
    void ConnectHandlers();
    // Runs a function by its kind: over the document, or round the load file, after which
    // `then` follows unless the run was cancelled. Nothing while other work runs.
    void Run(FunctionId id, const FunctionParams& params, std::function<void()> then = {});
    // The function's parameters from its panel's controls, as its description names them.
    FunctionParams ReadPanel(FunctionId id) const;
    // Runs the function with its panel's parameters.
    void Start(FunctionId id, std::function<void()> then = {});
    // A field's text as bytes in the document's encoding. A character the encoding cannot
    // hold is refused, not replaced: Start then says so, naming `field`, and runs nothing.
    std::string InDocument(const QString& text, const std::string CaptionTable::*field) const;
    // A Start handler, with the refusal of a field's text shown as a message.
    void StartRefusingTexts(void (FunctionPanels::*handler)());

    RunHost& host_;
    ErrorReport& report_;
    PanelControls c_;
    DigitKeyFilter* digitFilter_;
};

}  // namespace quillex
