#pragma once

#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/caption_table.h"
#include "core/document_lines.h"
#include "core/settings.h"
#include "core/tray_state.h"
#include "core/undo_history.h"
#include "core/window_logic.h"
#include "ui/qt_language.h"
#include "ui/run_host.h"
#include "ui/work_runner.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolButton;

namespace quillex {

class CursorSource;
class Dialogs;
class ErrorReport;
class FunctionPanels;
class ImageButton;
class Shell;
class TfmHelp;
class TfmLogo;
class TitledMenu;
class TrayIcon;

// What the main window asks of the world outside it, each behind an interface so that tests
// drive the window headless.
struct MainWindowServices {
    Dialogs& dialogs;
    CursorSource& cursor;
    // The general error report, for failures no handler of its own catches.
    ErrorReport& report;
    // Where Min_FormShow and HintShow are read at creation and written at destruction.
    SettingsStore& settings;
    // Opens the help file and the web page.
    Shell& shell;
    // Whether the desktop has a tray: without one, minimising must not hide the window.
    std::function<bool()> trayAvailable;
    // Where the help files are; empty: the working folder.
    std::filesystem::path helpFolder = {};
    // Where the load file's bytes are kept for undo; empty: the user's cache folder.
    std::filesystem::path backupFolder = {};
    // Where loading, saving and the line functions run: tests run them at once.
    WorkRunner::Where work = WorkRunner::Where::Worker;
};

// The main window: borderless, 806 x 580, skinned, with the document view, the load and save
// columns, the function chooser and its panels. Its members are split by concern over
// main_window*.cpp: lifecycle and layout, view, file commands, popup menu and statistics,
// work timer.
class TfmMain : public QWidget, public RunHost {
    Q_OBJECT

  public:
    static constexpr int kWidth = 806;
    static constexpr int kHeight = 580;

    explicit TfmMain(const MainWindowServices& services, QWidget* parent = nullptr);
    ~TfmMain() override;

    // The start-up and help windows are created after this one; they are handed over here.
    void Attach(TfmLogo& logo, TfmHelp& help);

    // RunHost
    quillex::DocumentLines& Document() override { return DocumentLines; }
    WorkRunner& Work() override { return *work_; }
    QString LoadFileText() const override;
    void ShowProgress(std::size_t n) override;
    void ShowRunError() override;
    void RefreshView() override;
    void RunLoadCommand() override { Btn_Load_FileClick(); }
    bool MayOverwriteLoadFile() override;
    std::optional<std::size_t> ShownProgress() const override { return processed_; }
    void RecordChange(UndoStep step) override;
    std::optional<std::filesystem::path> UndoFolder() const override { return backupFolder_; }

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
    // Closing the window, shown or in the tray, ends the program (see Closed).
    void FormClose() {}

    // Settings: Min_FormShow and HintShow are read at creation and written at destruction.
    void LoadSettings();
    void SaveSettings();
    // Hints of the whole application on or off := HintShow.
    void ApplyHintShow();
    // Flip one setting for the running program; neither writes to the store.
    void Cb_HintShowClick();
    void Cb_Min_FormShowClick();
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
    // What the load button does with the chosen file: loads it, or reports the failure and
    // keeps the document and the field as they were. Also for a dropped file.
    void LoadFile(const QString& path);
    // The file named by the program's first argument, if any, loaded as above.
    void LoadStartFile(const QStringList& arguments);
    void Btn_Save_FileClick() { SaveDocument(); }
    void SaveDocument();
    // Asks before `target` is written over the file the document was loaded from only up
    // to a NUL byte; true when nothing needs asking or the user agrees.
    bool MayWriteOverCutLoad(const QString& target);
    void NoteCutLoad(const LoadReport& report);
    // Where a NUL byte ended the text loaded from the load file, if it did.
    std::optional<std::uint64_t> CutLoadOffset() const;

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

    // Undo and redo: the view menu's N5 and N6, Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z.
    void N5Click();
    void N6Click();
    const UndoHistory& History() const noexcept { return history_; }

    // Work timer tick: deferred auto-minimise, hover pictures, language label colours.
    void Timer_WorkTimer();

    // Shell: closing, tray, help file, web page.
    void Sb_CloseClick() { close(); }
    void Sb_MinClick();
    void TrayIconDblClick();
    void TrayMenu_3Click() { Sb_InternetClick(); }
    void TrayMenu_4Click() { Sb_CloseClick(); }
    void Sb_HelpClick();
    void Sb_InternetClick();
    bool InTray() const { return trayState_.place() == TrayPlace::InTray; }

    // Language switches.
    void Lbl_Lang0Click();
    void Lbl_Lang1Click();
    void Sb_Lang_UpClick();
    void Sb_Lang_DownClick() { Sb_Lang_UpClick(); }

    // The chooser ComboBox_Select and the panels Gb_0 .. Gb_11 with their Start handlers.
    FunctionPanels& Panels() { return *panels_; }

    // State.
    bool LogoShown = false;
    quillex::MainSettings Settings;  // Min_FormShow, HintShow
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

    // Parked below the window's bottom edge (layout::kParked...): built, never seen; their
    // texts are still set by the language push.
    QLineEdit* Edit_Focus = nullptr;  // the focus sink
    QToolButton* Sb_Help = nullptr;
    QToolButton* Sb_Internet = nullptr;
    QToolButton* Sb_Min = nullptr;
    QToolButton* Cb_Min_FormShow = nullptr;
    QLabel* Lbl_Min_FormShow = nullptr;
    QToolButton* Cb_HintShow = nullptr;
    QLabel* Lbl_HintShow = nullptr;
    QLineEdit* Edit_Lang = nullptr;
    QToolButton* Sb_Lang_Up = nullptr;
    QToolButton* Sb_Lang_Down = nullptr;
    QLabel* Label_Title_Name = nullptr;
    QLabel* Label_Title_Name_Shadow = nullptr;

    // The tray icon, inactive until the first minimise, and its menu.
    quillex::TrayIcon* Tray = nullptr;
    TitledMenu* Menu_Tray = nullptr;
    QAction* TrayMenu_3 = nullptr;
    QAction* TrayMenu_4 = nullptr;

    TitledMenu* Menu_RichEdit_Text = nullptr;
    QAction* N0 = nullptr;
    QMenu* N0_Menu = nullptr;
    QAction* N0_Items[5] = {};
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;
    QAction* N5 = nullptr;  // undo
    QAction* N6 = nullptr;  // redo
    QAction* N5_Separator = nullptr;

  signals:
    // The window has closed: the program ends. Said outright rather than left to "the last
    // window closed", which a hidden window or a visible tray icon would keep from happening.
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void BuildParkedControls();
    void BuildMenu();
    void BuildTray();
    void BuildUndo();
    // Exchanges the step's state with the window's; throws when the load file's part fails.
    void ExchangeStep(UndoStep& step, bool undoing);
    // False when the user keeps a load file changed on disk since the program wrote it.
    bool MayExchangeLoadFile(const FileBackup& backup);
    void EmptyView();
    void PlaceControls();
    // "File: " + field + " error!", and `detail` on a line of its own where given.
    void ShowFileError(const QString& fieldText, const QString& detail = {});
    bool Hover(const QWidget& control, QPoint cursor) const;
    void ColourLanguageLabel(QLabel& label, int language, bool hovered);

    Dialogs& dialogs_;
    CursorSource& cursor_;
    ErrorReport& report_;
    SettingsStore& store_;
    Shell& shell_;
    std::function<bool()> trayAvailable_;
    std::filesystem::path helpFolder_;
    FunctionPanels* panels_ = nullptr;  // owned as a child
    TrayState trayState_;
    TfmLogo* fmLogo_ = nullptr;
    TfmHelp* fmHelp_ = nullptr;
    quillex::CaptionTable ownCaptions_;  // until the help window is attached
    std::int32_t ownLanguageIndex_ = kLanguageEnglish;
    int displayLimit_ = 0;
    bool batchingView_ = false;  // RefreshView renders the statistics once, at its end
    QPixmap skin_;
    QtLanguage qtLanguage_;
    // The file the document was loaded from where a NUL byte ended its text, and where.
    std::filesystem::path cutLoadFile_;
    std::uint64_t cutLoadOffset_ = 0;
    std::optional<std::size_t> processed_;  // the number Lbl_Work shows, if any
    UndoHistory history_;
    std::filesystem::path backupFolder_;
    WorkRunner* work_ = nullptr;  // owned as a child
};

}  // namespace quillex
