#pragma once

#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "core/caption_table.h"
#include "core/document_lines.h"
#include "core/settings.h"
#include "core/system_memory.h"
#include "core/tray_state.h"
#include "core/undo_history.h"
#include "core/window_logic.h"
#include "ui/open_document.h"
#include "ui/qt_language.h"
#include "ui/run_host.h"
#include "ui/work_runner.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QScreen;
class QShortcut;
class QToolButton;

namespace quillex {

namespace batch {
struct RecipeStep;
}
struct FileOutcome;
class CursorSource;
class Dialogs;
class ErrorReport;
class FunctionPanels;
class ImageButton;
class Shell;
class HelpWindow;
class SplashWindow;
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

// The main window: borderless, 802 x 602, skinned, with the document view, the load and save
// columns, the function chooser and its panels. Its members are split by concern over
// main_window*.cpp: lifecycle and layout, view, file commands, popup menu and statistics,
// work timer.
class MainWindow : public QWidget, public RunHost {
    Q_OBJECT

  public:
    // The skin's size, which the window's rounded shape (layout::WindowRegion) is cut from.
    static constexpr int kWidth = 802;
    static constexpr int kHeight = 602;
    // The scale (at most 1) the program must take on so that the window fits `screen`'s free
    // area: below 1 on a small screen at a high scale (200 % on 1280 x 1024).
    static double ScaleToFit(const QScreen& screen);

    explicit MainWindow(const MainWindowServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up and help windows are created after this one; they are handed over here.
    void Attach(SplashWindow& splash, HelpWindow& help);

    // RunHost
    quillex::DocumentLines& Document() override { return open_.Lines(); }
    const quillex::DocumentLines& Document() const noexcept { return open_.Lines(); }
    WorkRunner& Work() override { return *work_; }
    QString LoadFileText() const override;
    void ShowProgress(std::size_t n) override;
    void ShowRunError() override;
    void ShowMessage(const QString& text) override;
    void RefreshView() override;
    void RunLoadCommand() override;
    bool MayOverwriteLoadFile() override;
    std::optional<std::size_t> ShownProgress() const override { return processed_; }
    void RecordChange(UndoStep step, std::vector<StepWordList> applied) override;
    std::optional<std::filesystem::path> UndoFolder() const override { return open_.UndoFolder(); }

    // The language in force, for every text composed at display time.
    const quillex::CaptionTable& Captions() const override;
    std::int32_t LanguageIndex() const;
    void SetLanguageIndex(std::int32_t index);

    // Every showing (the first and each restore) prepares the window before it appears.
    void setVisible(bool visible) override;
    // Whether the start-up window has run; the first showing runs it otherwise.
    bool SplashShown() const noexcept { return splashShown_; }
    void SetSplashShown(bool shown) noexcept { splashShown_ = shown; }

    // Settings: Min_FormShow and HintShow are read at creation and written at destruction.
    const quillex::MainSettings& Settings() const noexcept { return settings_; }
    // Flip one setting for the running program; neither writes to the store.
    void ToggleHints();
    void ToggleMinimiseAtStart();
    // Whether a minimise to the tray waits for the window to become active first.
    bool AutoMinimisePending() const noexcept { return autoMinimise_.pending(); }
    // Fills the caption table for LanguageIndex and pushes its texts into the window.
    void ApplyLanguage();
    // Lbl_1, Lbl_2 from the view, Lbl_3 from the whole document.
    void UpdateStatistics();

    // View.
    int DisplayLimit() const noexcept { return displayLimit_; }
    void SetDisplayLimit(int displayLimit);  // the view menu's five limits

    // File commands.
    // The Open button: the file dialog, then LoadFile; a cancelled dialog rebuilds the view.
    void ChooseAndLoadFile();
    // What the load button does with the chosen file: loads it, or reports the failure and
    // keeps the document and the field as they were. Also for a dropped file.
    void LoadFile(const QString& path);
    // The file named by the program's first argument, if any, loaded as above.
    void LoadStartFile(const QStringList& arguments);
    // A file larger than this many bytes is refused before it is read, pointing to the batch
    // runner: the window holds the whole file in memory. By default DefaultMemoryBound.
    void SetLoadBound(std::uint64_t bytes) noexcept { loadBound_ = bytes; }
    // The Save button: the file dialog, then the document written to the chosen file.
    void SaveDocument();
    // Asks before `target` is written over the file the document was loaded from only up
    // to a NUL byte; true when nothing needs asking or the user agrees.
    bool MayWriteOverCutLoad(const QString& target);
    void NoteCutLoad(const LoadReport& report);
    // Where a NUL byte ended the text loaded from the load file, if it did.
    std::optional<std::uint64_t> CutLoadOffset() const;
    // The notice that the load file's text ended at a NUL byte, in the interface language.
    QString CutLoadNotice() const;

    // The view's popup menu, set up at each opening, and the view commands behind it.
    void PrepareViewMenu();
    void HighlightCyrillic();  // colours the Cyrillic letters red
    void MoveCaretToEnd();
    void CopyAll();    // selects and copies the whole view
    void EmptyView();  // clears the view, as a change that can be undone
    // The document's bytes read in the other encoding, as a change that can be undone.
    void SwitchEncoding(Encoding encoding);

    // Recipes, from the view menu. The functions applied since the load, as a recipe file;
    // a recipe file's steps over the document as one change that can be undone; and over
    // files the user picks, each result into a folder, the document untouched.
    void SaveStepsAsRecipe();
    void ApplyRecipe();
    void ApplyRecipeToFiles();

    // Undo and redo: the view menu's items, Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z.
    void Undo();
    void Redo();
    const UndoHistory& History() const noexcept { return open_.History(); }
    // The document with its history, its steps since the load and its work.
    const OpenDocument& Open() const noexcept { return open_; }

    // Work timer tick: deferred auto-minimise, hover pictures, language label colours.
    void OnWorkTimer();

    // Shell: closing, tray, help file, web page.
    void CloseWindow() { close(); }
    void Minimise();
    void RestoreFromTray();
    void OpenHelpFile();
    void OpenWebPage();
    bool InTray() const { return trayState_.place() == TrayPlace::InTray; }

    // Language switches: the two labels and the parked up/down buttons.
    void SwitchToEnglish();
    void SwitchToRussian();
    void ToggleLanguage();

    // The chooser ComboBox_Select and the panels Gb_0 .. Gb_11 with their Start handlers.
    FunctionPanels& Panels() { return *panels_; }
    // The load, save and close buttons' pictures, plain and hovered.
    const QList<QPixmap>& ButtonImages() const noexcept { return buttonImages_; }

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
    // Lifecycle, in the order the steps run: built at construction, prepared at each
    // showing, settings written and the document dropped at destruction.
    void BuildWindow();
    void PrepareShowing();
    void Shutdown();
    void LoadSettings();
    void SaveSettings();
    // Hints of the whole application on or off := HintShow.
    void ApplyHintSetting();
    void OnViewTextChanged();
    // The view menu's items; each but the first does nothing while the view is empty.
    void OnHighlightItem();  // highlights, or with an empty view opens a file
    void OnCaretToEndItem();
    void OnCopyAllItem();
    void OnEmptyViewItem();
    void BuildControls();
    // Every control gets its control name as its object name, for tests and readers.
    void NameControls();
    void BuildParkedControls();
    void BuildMenu();
    void BuildTray();
    void BuildUndo();
    // The share bar, Esc and what is disabled while work runs.
    void BuildWorkControls();
    void ShowWorking(bool working);
    // The bar, Cancel in place of Start, the greyed chooser and picture buttons: shown while
    // work runs, and put away while a dialog that a piece's end opens (its message, the round
    // trip's load dialog) is up, since what it tells of has finished.
    void ShowWorkIndicators(bool working);
    void ShowShare(bool shown);
    // `dialogs`, showing the window idle while they are up during work.
    std::unique_ptr<Dialogs> IdleWhileAsking(Dialogs& dialogs);
    // The end of a load on the worker, on the window's thread.
    void ShowLoadError(const QString& fieldText, const std::exception_ptr& failure);
    void TakeLoadedDocument(quillex::DocumentLines loaded, const LoadReport& report,
                            const QString& previousField, bool startsAnew);
    // The open dialog, then Load; a load the user asks for starts the steps since the load
    // anew, the one that follows a round trip goes on with them.
    void ChooseAndLoad(bool startsAnew);
    void StartLoad(const QString& path, bool startsAnew);
    // Says so where the file is larger than the window may hold; true then.
    bool RefuseTooLarge(const QString& path);
    void BuildEncodingMenu();
    void BuildRecipeMenu();
    void PrepareRecipeMenu(bool hasText);
    void RunRecipeSteps(std::vector<batch::RecipeStep> steps);
    // "3 files written to FOLDER, 1 failed." and a line for each that failed.
    QString FilesSummary(const std::vector<FileOutcome>& outcomes, const QString& folder) const;
    // Lbl_Work shows the number it showed before, or the bare prefix.
    void RestoreProcessedLabel();
    // The encoding submenu's caption and check mark, at each opening of the menu.
    void PrepareEncodingMenu(bool hasText);
    // The Tab order and the Ctrl+O and Ctrl+S keys.
    void BuildKeyboard();
    // Undo or Redo, refused while work runs.
    void StepThroughHistory(bool undoing);
    // Exchanges the step's state with the window's; throws when the load file's part fails.
    void ExchangeStep(UndoStep& step, bool undoing);
    // False when the user keeps a load file changed on disk since the program wrote it.
    bool MayExchangeLoadFile(const FileBackup& backup);
    void ClearView();
    void PlaceControls();
    // "File: " + field + " error!", and `detail` on a line of its own where given.
    void ShowFileError(const QString& fieldText, const QString& detail = {});
    bool Hover(const QWidget& control, QPoint cursor) const;
    void ColourLanguageLabel(QLabel& label, int language, bool hovered);

    bool splashShown_ = false;
    quillex::MainSettings settings_;  // Min_FormShow, HintShow
    AutoMinimizeDecision autoMinimise_;
    QList<QPixmap> buttonImages_;
    QTimer workTimer_;

    // Controls; each carries its control name as its object name.
    ImageButton* closeButton_ = nullptr;  // Sb_Close
    QLabel* viewLinesLabel_ = nullptr;    // Lbl_1
    QLabel* viewCharsLabel_ = nullptr;    // Lbl_2
    QLabel* longestLineLabel_ = nullptr;  // Lbl_3
    QLabel* encodingLabel_ = nullptr;     // Lbl_Encoding
    QLabel* processedLabel_ = nullptr;    // Lbl_Work
    QLabel* englishLabel_ = nullptr;      // Lbl_Lang0
    QLabel* russianLabel_ = nullptr;      // Lbl_Lang1
    QLabel* viewFrame_ = nullptr;         // Image1
    QPlainTextEdit* view_ = nullptr;      // RichEdit_Text
    QLabel* loadFileCaption_ = nullptr;   // Lbl_Load_File
    QLineEdit* loadFileEdit_ = nullptr;   // Edit_Load_File
    ImageButton* openButton_ = nullptr;   // Btn_Load_File
    QLabel* saveFileCaption_ = nullptr;   // Lbl_Save_File
    QLineEdit* saveFileEdit_ = nullptr;   // Edit_Save_File
    ImageButton* saveButton_ = nullptr;   // Btn_Save_File
    QLabel* chooserCaption_ = nullptr;    // Lbl_Select

    // Parked below the window's bottom edge (layout::kParked...): built, never seen; their
    // texts are still set by the language push.
    QLineEdit* focusSink_ = nullptr;                // Edit_Focus
    QToolButton* helpButton_ = nullptr;             // Sb_Help
    QToolButton* webPageButton_ = nullptr;          // Sb_Internet
    QToolButton* minimiseButton_ = nullptr;         // Sb_Min
    QToolButton* minimiseAtStartToggle_ = nullptr;  // Cb_Min_FormShow
    QLabel* minimiseAtStartLabel_ = nullptr;        // Lbl_Min_FormShow
    QToolButton* hintsToggle_ = nullptr;            // Cb_HintShow
    QLabel* hintsLabel_ = nullptr;                  // Lbl_HintShow
    QLineEdit* languageEdit_ = nullptr;             // Edit_Lang
    QToolButton* languageUpButton_ = nullptr;       // Sb_Lang_Up
    QToolButton* languageDownButton_ = nullptr;     // Sb_Lang_Down
    QLabel* titleLabel_ = nullptr;                  // Label_Title_Name
    QLabel* titleShadowLabel_ = nullptr;            // Label_Title_Name_Shadow

    // The tray icon, inactive until the first minimise, and its menu.
    quillex::TrayIcon* tray_ = nullptr;
    TitledMenu* trayMenu_ = nullptr;      // Menu_Tray
    QAction* trayWebPageItem_ = nullptr;  // TrayMenu_3
    QAction* trayExitItem_ = nullptr;     // TrayMenu_4

    TitledMenu* viewMenu_ = nullptr;       // Menu_RichEdit_Text
    QAction* displayLimitItem_ = nullptr;  // N0
    QMenu* displayLimitMenu_ = nullptr;
    QAction* displayLimitItems_[5] = {};  // N0_0 .. N0_4
    QAction* highlightItem_ = nullptr;    // N1
    QAction* caretToEndItem_ = nullptr;   // N2
    QAction* copyAllItem_ = nullptr;      // N3
    QAction* emptyViewItem_ = nullptr;    // N4
    QAction* undoItem_ = nullptr;         // N5
    QAction* redoItem_ = nullptr;         // N6
    QAction* undoSeparator_ = nullptr;
    QAction* encodingItem_ = nullptr;      // N7
    QAction* encodingItems_[2] = {};       // N7_0 UTF-8, N7_1 Windows-1251
    QAction* saveStepsItem_ = nullptr;     // N8
    QAction* applyRecipeItem_ = nullptr;   // N9
    QAction* applyToFilesItem_ = nullptr;  // N10

    std::unique_ptr<Dialogs> idleDialogs_;
    Dialogs& dialogs_;  // *idleDialogs_
    CursorSource& cursor_;
    ErrorReport& report_;
    SettingsStore& store_;
    Shell& shell_;
    std::function<bool()> trayAvailable_;
    std::filesystem::path helpFolder_;
    FunctionPanels* panels_ = nullptr;  // owned as a child
    TrayState trayState_;
    SplashWindow* splash_ = nullptr;
    HelpWindow* help_ = nullptr;
    quillex::CaptionTable ownCaptions_;  // until the help window is attached
    std::int32_t ownLanguageIndex_ = kLanguageEnglish;
    int displayLimit_ = 0;
    bool batchingView_ = false;  // RefreshView renders the statistics once, at its end
    QPixmap skin_;
    // Image1's pictures: the frame, and the frame in the focus colour while the view has it.
    QPixmap viewFramePictures_[2];
    QtLanguage qtLanguage_;
    std::optional<std::size_t> processed_;  // the number Lbl_Work shows, if any
    WorkRunner* work_ = nullptr;            // owned as a child
    OpenDocument open_;                     // works through *work_
    QProgressBar* workBar_ = nullptr;       // Progress_Work: the share of the running work done
    QShortcut* cancelKey_ = nullptr;        // Esc, while work runs
    bool shareShown_ = false;               // the runner shows the bar
    bool asking_ = false;                   // a dialog is up while work runs
    bool closing_ = false;                  // the window closes once the work it stopped has ended
    std::uint64_t loadBound_ = DefaultMemoryBound();
};

}  // namespace quillex
