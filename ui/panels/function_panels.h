#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

#include "core/caption_table.h"
#include "core/line_functions.h"
#include "ui/error_report.h"
#include "ui/panels/panel_controls.h"
#include "ui/run_host.h"

class QWidget;

namespace quillex {

class DigitKeyFilter;

// The function chooser and the twelve parameter panels with their Start handlers. Created
// with the main window, whose children the controls become; the window supplies the
// document, the progress label, the messages and the load command through RunHost.
class FunctionPanels : public QObject {
    Q_OBJECT

  public:
    FunctionPanels(QWidget* window, RunHost& host, ErrorReport& report);

    const PanelControls& Controls() const { return c_; }

    // The chooser's twelve entries in the current language, replaced in place: the
    // selection and the shown panel stay.
    void SetFunctionNames(const CaptionTable& captions);
    // Shows Gb_0 alone, whatever the chooser holds (each time the window is shown).
    void ShowPanelOfFunction0();
    // The off-screen field that takes the focus after a pick, so that no parameter control
    // of the new panel holds the caret.
    void SetFocusSink(QWidget* sink) { focusSink_ = sink; }
    // The controls in the order Tab visits them: the chooser, then each panel's parameters
    // from left to right and top to bottom, then its Start. Hidden panels are skipped by Tab.
    QList<QWidget*> TabOrder() const;

    // Event handlers, connected to their controls.
    // The chooser's pick: the panel of function `index` alone is shown.
    void ShowPanelOf(int index);
    // The condition list's pick: the text field only for "String contains a text".
    void ShowConditionTextFor(int index);
    // The Start buttons Btn_0 .. Btn_11, in the chooser's order.
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

  private:
    void ConnectHandlers();
    // While work runs the chooser is disabled and Cancel stands in place of Start.
    void ShowWorking(bool working);
    // Runs a function by its kind: over the document, or round the load file, after which
    // `then` follows unless the run was cancelled. Nothing while other work runs.
    void Run(FunctionId id, const FunctionParams& params, std::function<void()> then = {});
    // A field's text as bytes in the document's encoding.
    std::string InDocument(const QString& text) const;

    RunHost& host_;
    ErrorReport& report_;
    PanelControls c_;
    DigitKeyFilter* digitFilter_;
    QPointer<QWidget> focusSink_;
};

}  // namespace quillex
