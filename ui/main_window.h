#pragma once

#include <QList>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstddef>
#include <cstdint>

#include "core/caption_table.h"
#include "core/document_lines.h"
#include "core/window_logic.h"
#include "ui/run_host.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace quillex {

class CursorSource;
class Dialogs;
class ImageButton;
class TfmHelp;
class TfmLogo;
class TitledMenu;

// The main window: borderless, 806 x 580, skinned, with the document view, the load and save
// columns, the function chooser and its panels. Its members are split by concern over
// main_window*.cpp: lifecycle and layout, view, file commands, popup menu and statistics,
// work timer.
class TfmMain : public QWidget, public RunHost {
    Q_OBJECT

  public:
    static constexpr int kWidth = 806;
    static constexpr int kHeight = 580;

    TfmMain(Dialogs& dialogs, CursorSource& cursor, QWidget* parent = nullptr);
    ~TfmMain() override;

    // The start-up and help windows are created after this one; they are handed over here.
    void Attach(TfmLogo& logo, TfmHelp& help);

    // RunHost
    quillex::DocumentLines& Document() override { return DocumentLines; }
    QString LoadFileText() const override;
    void ShowProgress(std::size_t n) override;
    void ShowRunError() override;
    void RefreshView() override;
    void RunLoadCommand() override { Btn_Load_FileClick(); }

    // The language in force, for every text composed at display time.
    const quillex::CaptionTable& Captions() const;
    std::int32_t LanguageIndex() const;
    void SetLanguageIndex(std::int32_t index);

    // Lifecycle, in the order the steps run.
    void FormCreate();
    void FormShow();
    void FormDestroy();
    // Every showing (the first and each restore) runs FormShow before the window appears.
    void setVisible(bool visible) override;

    // Settings: Min_FormShow and HintShow are read at creation and written at destruction.
    void LoadSettings();
    void SaveSettings();
    // Hints of the whole application on or off := HintShow.
    void ApplyHintShow();
    // Fills the caption table for LanguageIndex and pushes its texts into the window.
    void ApplyLanguage();
    // Lbl_1, Lbl_2 from the view, Lbl_3 from the whole document.
    void UpdateStatistics();

    // View.
    int DisplayLimit() const noexcept { return displayLimit_; }
    void N0_Click(int displayLimit);  // N0_0Click .. N0_4Click
    void RichEdit_TextChange();

    // File commands.
    void Btn_Load_FileClick();
    void Btn_Save_FileClick() { SaveDocument(); }
    void SaveDocument();

    // Popup menu and the view commands behind it.
    void Menu_RichEdit_TextPopup();
    void N1Click();
    void N2Click();
    void N3Click();
    void N4Click();
    void Btn_18Click();  // colour the Cyrillic letters red
    void Btn_44Click();  // MoveCaretToEnd
    void Btn_20Click();  // select and copy all
    void Btn_19Click();  // empty the view

    // Work timer tick: deferred auto-minimise, hover pictures, language label colours.
    void Timer_WorkTimer();

    // Shell: closing, tray, help file, web page.
    void Sb_CloseClick() { close(); }
    void Sb_MinClick();
    void Sb_HelpClick();
    void Sb_InternetClick();

    // Language switches.
    void Lbl_Lang0Click();
    void Lbl_Lang1Click();
    void Sb_Lang_UpClick();
    void Sb_Lang_DownClick() { Sb_Lang_UpClick(); }

    // State.
    bool LogoShown = false;
    bool Min_FormShow = false;
    bool HintShow = true;
    quillex::DocumentLines DocumentLines;
    AutoMinimizeDecision AutoMinimize;
    QList<QPixmap> BitmapList_Btn;
    QTimer Timer_Work;

    // Controls.
    ImageButton* Sb_Close = nullptr;
    QLabel* Lbl_1 = nullptr;
    QLabel* Lbl_2 = nullptr;
    QLabel* Lbl_3 = nullptr;
    QLabel* Lbl_Work = nullptr;
    QLabel* Lbl_Lang0 = nullptr;
    QLabel* Lbl_Lang1 = nullptr;
    QLabel* Image1 = nullptr;
    QPlainTextEdit* RichEdit_Text = nullptr;
    QLabel* Lbl_Load_File = nullptr;
    QLineEdit* Edit_Load_File = nullptr;
    ImageButton* Btn_Load_File = nullptr;
    QLabel* Lbl_Save_File = nullptr;
    QLineEdit* Edit_Save_File = nullptr;
    ImageButton* Btn_Save_File = nullptr;
    QLabel* Lbl_Select = nullptr;
    QLineEdit* Edit_Focus = nullptr;  // parked focus sink
    // The function chooser ComboBox_Select and the panels Gb_0 .. Gb_11 belong to the
    // panels object, created in FormCreate (step 4), laid out in FormShow (steps 8 and 9) at
    // layout::kComboBox_Select and layout::kPanels, owned by this window.
    QWidget* FunctionPanels = nullptr;

    TitledMenu* Menu_RichEdit_Text = nullptr;
    QAction* N0 = nullptr;
    QMenu* N0_Menu = nullptr;
    QAction* N0_Items[5] = {};
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void BuildMenu();
    void PlaceControls();
    void ShowFileError(const QString& fieldText);
    bool Hover(const QWidget& control, QPoint cursor) const;
    void ColourLanguageLabel(QLabel& label, int language, bool hovered);

    Dialogs& dialogs_;
    CursorSource& cursor_;
    TfmLogo* fmLogo_ = nullptr;
    TfmHelp* fmHelp_ = nullptr;
    quillex::CaptionTable ownCaptions_;  // until the help window is attached
    std::int32_t ownLanguageIndex_ = kLanguageEnglish;
    int displayLimit_ = 0;
    bool batchingView_ = false;  // RefreshView renders the statistics once, at its end
    QPixmap skin_;
};

}  // namespace quillex
