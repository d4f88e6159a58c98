// Main window: creation, showing, layout, destruction and the language push.
#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolButton>

#include <chrono>
#include <iterator>
#include <utility>

#include "core/view_text.h"
#include "platform/cursor.h"
#include "platform/tray.h"
#include "platform/window_move.h"
#include "ui/dialogs.h"
#include "ui/guarded.h"
#include "ui/image_button.h"
#include "ui/main_layout.h"
#include "ui/panels/function_panels.h"
#include "ui/skin.h"
#include "ui/splash_window.h"
#include "ui/text_bridge.h"
#include "ui/titled_menu.h"

namespace quillex {

namespace {

QFont Verdana(int pixels, bool bold = false) {
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const QRect& bounds, QColor colour, bool bold = false) {
    auto* label = new QLabel(parent);
    label->setFont(Verdana(11, bold));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setGeometry(bounds);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const QRect& bounds) {
    auto* edit = new QLineEdit(parent);
    edit->setFont(Verdana(11));
    edit->setGeometry(bounds);
    edit->setStyleSheet(QStringLiteral(
        "QLineEdit { border: 1px solid #9db4cc; border-radius: 3px; background: #fbfdff;"
        " padding: 0 3px; color: #1d2b3a; selection-background-color: #2a8fd6; }"
        "QLineEdit:focus { border-color: #2a8fd6; }"));
    return edit;
}

}  // namespace

MainWindow::MainWindow(const MainWindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint),
      idleDialogs_(IdleWhileAsking(services.dialogs)),
      dialogs_(*idleDialogs_),
      cursor_(services.cursor),
      report_(services.report),
      store_(services.settings),
      shell_(services.shell),
      trayAvailable_(services.trayAvailable),
      helpFolder_(services.helpFolder),
      work_(new WorkRunner(services.work, services.report, this)),
      open_(*work_, !services.backupFolder.empty()
                        ? services.backupFolder
                        : ToPath(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)) /
                              "undo") {
    // Copies a crashed or killed run left behind: a week gives its user time to take them.
    RemoveStaleBackups(open_.UndoFolder(),
                       std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 7));
    setFixedSize(kWidth, kHeight);
    setMask(layout::WindowRegion());
    BuildWindow();
}

double MainWindow::ScaleToFit(const QScreen& screen) {
    const QSize free = screen.availableSize();
    return FittingScale(free.width(), free.height(), kWidth, kHeight);
}

MainWindow::~MainWindow() {
    Shutdown();
}

void MainWindow::Attach(SplashWindow& splash, HelpWindow& help) {
    splash_ = &splash;
    help_ = &help;
    connect(&splash, &SplashWindow::Closed, this, [this] { splashShown_ = true; });
    // They are destroyed first at exit; nothing this window does afterwards may reach them.
    connect(&splash, &QObject::destroyed, this, [this] { splash_ = nullptr; });
    connect(&help, &QObject::destroyed, this, [this] { help_ = nullptr; });
}

const quillex::CaptionTable& MainWindow::Captions() const {
    return help_ != nullptr ? help_->Captions() : ownCaptions_;
}

std::int32_t MainWindow::LanguageIndex() const {
    return splash_ != nullptr ? splash_->LanguageIndex() : ownLanguageIndex_;
}

void MainWindow::SetLanguageIndex(std::int32_t index) {
    if (splash_ != nullptr) {
        splash_->SetLanguageIndex(index);
    } else {
        ownLanguageIndex_ = index;
    }
}

void MainWindow::BuildWindow() {
    splashShown_ = false;
    setAcceptDrops(true);
    autoMinimise_ = AutoMinimizeDecision();
    LoadSettings();
    displayLimit_ = 0;
    skin_ = SkinPixmap(QStringLiteral("background"), size());
    buttonImages_ = ButtonPictures();
    BuildControls();
    BuildParkedControls();
    BuildMenu();
    BuildTray();
    // At creation the chooser and every parameter combo box start at their first entry.
    panels_ = new FunctionPanels(this, *this, report_);
    BuildWorkControls();
    open_.Lines().Clear();
    // The view's capacity is kViewCapacity, enforced by RefreshView (the only writer).
    workTimer_.setInterval(100);
    connect(&workTimer_, &QTimer::timeout, this, Guarded(report_, this, &MainWindow::OnWorkTimer));
    workTimer_.start();
    NameControls();
    BuildKeyboard();
}

void MainWindow::NameControls() {
    const std::pair<QObject*, const char*> controls[] = {
        {closeButton_, "Sb_Close"},
        {viewLinesLabel_, "Lbl_1"},
        {viewCharsLabel_, "Lbl_2"},
        {longestLineLabel_, "Lbl_3"},
        {encodingLabel_, "Lbl_Encoding"},
        {processedLabel_, "Lbl_Work"},
        {englishLabel_, "Lbl_Lang0"},
        {russianLabel_, "Lbl_Lang1"},
        {viewFrame_, "Image1"},
        {view_, "RichEdit_Text"},
        {loadFileCaption_, "Lbl_Load_File"},
        {loadFileEdit_, "Edit_Load_File"},
        {openButton_, "Btn_Load_File"},
        {saveFileCaption_, "Lbl_Save_File"},
        {saveFileEdit_, "Edit_Save_File"},
        {saveButton_, "Btn_Save_File"},
        {chooserCaption_, "Lbl_Select"},
        {focusSink_, "Edit_Focus"},
        {helpButton_, "Sb_Help"},
        {webPageButton_, "Sb_Internet"},
        {minimiseButton_, "Sb_Min"},
        {minimiseAtStartToggle_, "Cb_Min_FormShow"},
        {minimiseAtStartLabel_, "Lbl_Min_FormShow"},
        {hintsToggle_, "Cb_HintShow"},
        {hintsLabel_, "Lbl_HintShow"},
        {languageEdit_, "Edit_Lang"},
        {languageUpButton_, "Sb_Lang_Up"},
        {languageDownButton_, "Sb_Lang_Down"},
        {titleLabel_, "Label_Title_Name"},
        {titleShadowLabel_, "Label_Title_Name_Shadow"},
        {tray_, "Tray"},
        {trayMenu_, "Menu_Tray"},
        {trayWebPageItem_, "TrayMenu_3"},
        {trayExitItem_, "TrayMenu_4"},
        {viewMenu_, "Menu_RichEdit_Text"},
        {displayLimitItem_, "N0"},
        {highlightItem_, "N1"},
        {caretToEndItem_, "N2"},
        {copyAllItem_, "N3"},
        {emptyViewItem_, "N4"},
        {undoItem_, "N5"},
        {redoItem_, "N6"},
        {encodingItem_, "N7"},
        {encodingItems_[0], "N7_0"},
        {encodingItems_[1], "N7_1"},
        {saveStepsItem_, "N8"},
        {applyRecipeItem_, "N9"},
        {applyToFilesItem_, "N10"},
    };
    for (const auto& [control, name] : controls) {
        control->setObjectName(QLatin1String(name));
    }
    for (int limit = 0; limit < static_cast<int>(std::size(displayLimitItems_)); ++limit) {
        displayLimitItems_[limit]->setObjectName(QStringLiteral("N0_%1").arg(limit));
    }
}

void MainWindow::BuildControls() {
    const QColor grey(126, 126, 126);
    closeButton_ = new ImageButton(buttonImages_, 0, this);
    connect(closeButton_, &QAbstractButton::clicked, this,
            Guarded(report_, this, &MainWindow::CloseWindow));

    viewLinesLabel_ = MakeLabel(this, layout::kLbl_1, grey);
    viewCharsLabel_ = MakeLabel(this, layout::kLbl_2, grey);
    longestLineLabel_ = MakeLabel(this, layout::kLbl_3, grey);
    encodingLabel_ = MakeLabel(this, layout::kLbl_Encoding, grey);
    processedLabel_ = MakeLabel(this, layout::kLbl_Work, grey);
    englishLabel_ = MakeLabel(this, layout::kLbl_Lang0, QColor(128, 128, 128), true);
    englishLabel_->setText(QStringLiteral("Engl"));
    russianLabel_ = MakeLabel(this, layout::kLbl_Lang1, QColor(128, 128, 128), true);
    russianLabel_->setText(QStringLiteral("Russ"));
    for (QLabel* label : {englishLabel_, russianLabel_}) {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }

    viewFrame_ = new QLabel(this);
    viewFramePictures_[0] = SkinPixmap(QStringLiteral("frame"), layout::kImage1.size());
    viewFramePictures_[1] = SkinPixmap(QStringLiteral("frame_focus"), layout::kImage1.size());
    viewFrame_->setPixmap(viewFramePictures_[0]);

    view_ = new QPlainTextEdit(this);
    view_->setReadOnly(true);
    view_->setUndoRedoEnabled(false);  // only RefreshView writes; nothing to undo
    view_->setAcceptDrops(false);      // a file dropped on the view goes to the window
    view_->setFrameShape(QFrame::NoFrame);
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view_->setFont(Verdana(11));
    QPalette viewPalette = view_->palette();
    viewPalette.setColor(QPalette::Base, QColor(241, 241, 241));
    viewPalette.setColor(QPalette::Text, Qt::black);
    view_->setPalette(viewPalette);
    const QString scrollBars = QStringLiteral(
        "QScrollBar { background: #e6ebf0; border: none; margin: 0; }"
        "QScrollBar:vertical { width: 11px; } QScrollBar:horizontal { height: 11px; }"
        "QScrollBar::handle { background: #a9bccf; border-radius: 4px; margin: 2px; }"
        "QScrollBar::handle:hover { background: #2a8fd6; }"
        "QScrollBar::handle:vertical { min-height: 24px; }"
        "QScrollBar::handle:horizontal { min-width: 24px; }"
        "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }");
    view_->verticalScrollBar()->setStyleSheet(scrollBars);
    view_->horizontalScrollBar()->setStyleSheet(scrollBars);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    view_->installEventFilter(this);  // its frame shows when it has the focus
    connect(view_, &QPlainTextEdit::textChanged, this,
            Guarded(report_, this, &MainWindow::OnViewTextChanged));

    const QColor caption(40, 70, 105);
    // Open and Save: picture buttons that Tab reaches, each running its command.
    auto makeFileButton = [this](int picture, void (MainWindow::*command)()) {
        auto* button = new ImageButton(buttonImages_, picture, this);
        button->setCursor(Qt::PointingHandCursor);
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QAbstractButton::clicked, this, Guarded(report_, this, command));
        return button;
    };
    loadFileCaption_ = MakeLabel(this, layout::kLbl_Load_File, caption, true);
    loadFileEdit_ = MakeEdit(this, layout::kEdit_Load_File);
    openButton_ = makeFileButton(2, &MainWindow::ChooseAndLoadFile);

    saveFileCaption_ = MakeLabel(this, layout::kLbl_Save_File, caption, true);
    saveFileEdit_ = MakeEdit(this, layout::kEdit_Save_File);
    saveButton_ = makeFileButton(4, &MainWindow::SaveDocument);

    chooserCaption_ = MakeLabel(this, layout::kLbl_Select, caption, true);
}

void MainWindow::BuildParkedControls() {
    focusSink_ = new QLineEdit(this);
    focusSink_->move(layout::kEdit_Focus);
    // Nothing is typed into the sink; read-only, it leaves Ctrl+Z to the window's undo.
    focusSink_->setReadOnly(true);
    // The window gives it the focus; Tab never does, nor can a click reach it down there.
    focusSink_->setFocusPolicy(Qt::ClickFocus);

    auto button = [this](QPoint at, void (MainWindow::*handler)()) {
        auto* button = new QToolButton(this);
        button->setAutoRaise(true);
        button->setGeometry(QRect(at, QSize(22, 22)));
        // Out of sight, so out of the keyboard's reach too: no Tab lands here and no Space
        // presses a button the user has never seen.
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QAbstractButton::clicked, this, Guarded(report_, this, handler));
        return button;
    };
    helpButton_ = button(layout::kSb_Help, &MainWindow::OpenHelpFile);
    webPageButton_ = button(layout::kSb_Internet, &MainWindow::OpenWebPage);
    minimiseButton_ = button(layout::kSb_Min, &MainWindow::Minimise);
    minimiseAtStartToggle_ = button(layout::kCb_Min_FormShow, &MainWindow::ToggleMinimiseAtStart);
    hintsToggle_ = button(layout::kCb_HintShow, &MainWindow::ToggleHints);
    languageUpButton_ = button(layout::kSb_Lang_Up, &MainWindow::ToggleLanguage);
    languageDownButton_ = button(layout::kSb_Lang_Down, &MainWindow::ToggleLanguage);

    const QColor caption(40, 70, 105);
    minimiseAtStartLabel_ =
        MakeLabel(this, QRect(layout::kLbl_Min_FormShow, QSize(120, 15)), caption);
    hintsLabel_ = MakeLabel(this, QRect(layout::kLbl_HintShow, QSize(120, 15)), caption);
    for (QLabel* label : {minimiseAtStartLabel_, hintsLabel_}) {
        label->installEventFilter(this);
    }
    languageEdit_ = MakeEdit(this, QRect(layout::kEdit_Lang, QSize(64, 19)));
    languageEdit_->setReadOnly(true);
    languageEdit_->setFocusPolicy(Qt::NoFocus);

    // Presses on the title pass through to the window, which starts the drag.
    titleShadowLabel_ =
        MakeLabel(this, QRect(layout::kLabel_Title_Name_Shadow, QSize(120, 15)), Qt::white, true);
    titleLabel_ = MakeLabel(this, QRect(layout::kLabel_Title_Name, QSize(120, 15)), caption, true);
    for (QLabel* title : {titleLabel_, titleShadowLabel_}) {
        title->setText(QStringLiteral("Quillex"));
        title->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

void MainWindow::setVisible(bool visible) {
    if (visible && !isVisible()) {
        PrepareShowing();
    }
    QWidget::setVisible(visible);
}

void MainWindow::PrepareShowing() {
    if (!splashShown_ && splash_ != nullptr) {
        splash_->RunModal();
    }
    splashShown_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // The top centre of the desktop, but never off the screen: Open, Save and the chooser
        // must stay within reach.
        const QRect free = screen->availableGeometry();
        const ScreenPoint at =
            PlaceOnScreen({free.x(), free.y(), free.width(), free.height()},
                          CentredLeft(screen->virtualGeometry().width(), kWidth), kWidth, kHeight);
        move(at.x, at.y);
    }
    ApplyLanguage();
    UpdateStatistics();
    closeButton_->setGeometry(layout::kSb_Close);
    closeButton_->show();
    ApplyHintSetting();
    if (focusSink_->focusPolicy() != Qt::NoFocus && focusSink_->isEnabled()) {
        focusSink_->setFocus();
    }
    PlaceControls();
    panels_->ShowPanelOfFunction0();
}

void MainWindow::PlaceControls() {
    viewFrame_->setGeometry(layout::kImage1);
    view_->setGeometry(layout::kRichEdit_Text);
    loadFileCaption_->setGeometry(layout::kLbl_Load_File);
    loadFileEdit_->setGeometry(layout::kEdit_Load_File);
    openButton_->setGeometry(layout::kBtn_Load_File);
    saveFileCaption_->setGeometry(layout::kLbl_Save_File);
    saveFileEdit_->setGeometry(layout::kEdit_Save_File);
    saveButton_->setGeometry(layout::kBtn_Save_File);
    chooserCaption_->setGeometry(layout::kLbl_Select);
    panels_->Controls().chooser->setGeometry(layout::kComboBox_Select);
}

void MainWindow::Shutdown() {
    // Work still running reads the document: it stops before anything goes.
    work_->StopAndWait();
    workTimer_.stop();
    SaveSettings();
    open_.Lines().Clear();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !settings_.HintShow) {
        return true;
    }
    if (watched == view_ &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        viewFrame_->setPixmap(viewFramePictures_[event->type() == QEvent::FocusIn ? 1 : 0]);
    }
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The clickable labels.
        const std::pair<QObject*, void (MainWindow::*)()> bindings[] = {
            {englishLabel_, &MainWindow::SwitchToEnglish},
            {russianLabel_, &MainWindow::SwitchToRussian},
            {minimiseAtStartLabel_, &MainWindow::ToggleMinimiseAtStart},
            {hintsLabel_, &MainWindow::ToggleHints},
        };
        for (const auto& [label, handler] : bindings) {
            if (watched == label) {
                ReportingFailures(report_, [&] { (this->*handler)(); });
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::ShowProgress(std::size_t n) {
    processed_ = n;
    processedLabel_->setText(FromUtf8(LabelWithNumber(Captions().Txt_Lines_Processed, n)));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (work_->Busy()) {
        // The work stops first, cleanly; the window closes once it has (ShowWorking).
        closing_ = true;
        work_->Cancel();
        event->ignore();
        return;
    }
    // The program ends normally: the load file's kept bytes are not needed any more. Only
    // here, not on destruction, so that a crash leaves them for the user.
    open_.DropHistory();
    event->accept();
    emit Closed();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, skin_);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    StartWindowMove(*this, *event);
}

}  // namespace quillex
