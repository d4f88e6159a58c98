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

#include <utility>

#include "core/view_text.h"
#include "platform/cursor.h"
#include "platform/window_move.h"
#include "ui/guarded.h"
#include "ui/image_button.h"
#include "ui/logo_window.h"
#include "ui/main_layout.h"
#include "ui/panels/function_panels.h"
#include "ui/skin.h"
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

TfmMain::TfmMain(const MainWindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint),
      dialogs_(services.dialogs),
      cursor_(services.cursor),
      report_(services.report),
      store_(services.settings),
      shell_(services.shell),
      trayAvailable_(services.trayAvailable),
      helpFolder_(services.helpFolder),
      backupFolder_(services.backupFolder),
      work_(new WorkRunner(services.work, services.report, this)) {
    if (backupFolder_.empty()) {
        backupFolder_ =
            ToPath(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)) / "undo";
    }
    setFixedSize(kWidth, kHeight);
    setMask(layout::WindowRegion());
    FormCreate();
}

TfmMain::~TfmMain() {
    FormDestroy();
}

void TfmMain::Attach(TfmLogo& logo, TfmHelp& help) {
    fmLogo_ = &logo;
    fmHelp_ = &help;
    connect(&logo, &TfmLogo::Closed, this, [this] { LogoShown = true; });
    // They are destroyed first at exit; nothing this window does afterwards may reach them.
    connect(&logo, &QObject::destroyed, this, [this] { fmLogo_ = nullptr; });
    connect(&help, &QObject::destroyed, this, [this] { fmHelp_ = nullptr; });
}

const quillex::CaptionTable& TfmMain::Captions() const {
    return fmHelp_ != nullptr ? fmHelp_->CaptionTable : ownCaptions_;
}

std::int32_t TfmMain::LanguageIndex() const {
    return fmLogo_ != nullptr ? fmLogo_->LanguageIndex : ownLanguageIndex_;
}

void TfmMain::SetLanguageIndex(std::int32_t index) {
    (fmLogo_ != nullptr ? fmLogo_->LanguageIndex : ownLanguageIndex_) = index;
}

void TfmMain::FormCreate() {
    LogoShown = false;
    setAcceptDrops(true);
    AutoMinimize = AutoMinimizeDecision();
    LoadSettings();
    displayLimit_ = 0;
    skin_ = SkinPixmap(QStringLiteral("background"), size());
    BitmapList_Btn = ButtonPictures();
    BuildControls();
    BuildParkedControls();
    BuildMenu();
    BuildTray();
    // At creation the chooser and every parameter combo box start at their first entry.
    panels_ = new FunctionPanels(this, *this, report_);
    panels_->SetFocusSink(Edit_Focus);
    DocumentLines.Clear();
    // The view's capacity is kViewCapacity, enforced by RefreshView (the only writer).
    Timer_Work.setInterval(100);
    connect(&Timer_Work, &QTimer::timeout, this, Guarded(report_, this, &TfmMain::Timer_WorkTimer));
    Timer_Work.start();
}

void TfmMain::BuildControls() {
    const QColor grey(126, 126, 126);
    Sb_Close = new ImageButton(BitmapList_Btn, 0, this);
    connect(Sb_Close, &QAbstractButton::clicked, this,
            Guarded(report_, this, &TfmMain::Sb_CloseClick));

    Lbl_1 = MakeLabel(this, layout::kLbl_1, grey);
    Lbl_2 = MakeLabel(this, layout::kLbl_2, grey);
    Lbl_3 = MakeLabel(this, layout::kLbl_3, grey);
    Lbl_Work = MakeLabel(this, layout::kLbl_Work, grey);
    Lbl_Lang0 = MakeLabel(this, layout::kLbl_Lang0, QColor(128, 128, 128), true);
    Lbl_Lang0->setText(QStringLiteral("Engl"));
    Lbl_Lang1 = MakeLabel(this, layout::kLbl_Lang1, QColor(128, 128, 128), true);
    Lbl_Lang1->setText(QStringLiteral("Russ"));
    for (QLabel* label : {Lbl_Lang0, Lbl_Lang1}) {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }

    Image1 = new QLabel(this);
    Image1->setPixmap(SkinPixmap(QStringLiteral("frame"), layout::kImage1.size()));

    RichEdit_Text = new QPlainTextEdit(this);
    RichEdit_Text->setReadOnly(true);
    RichEdit_Text->setUndoRedoEnabled(false);  // only RefreshView writes; nothing to undo
    RichEdit_Text->setAcceptDrops(false);      // a file dropped on the view goes to the window
    RichEdit_Text->setFrameShape(QFrame::NoFrame);
    RichEdit_Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit_Text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit_Text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit_Text->setFont(Verdana(11));
    QPalette viewPalette = RichEdit_Text->palette();
    viewPalette.setColor(QPalette::Base, QColor(241, 241, 241));
    viewPalette.setColor(QPalette::Text, Qt::black);
    RichEdit_Text->setPalette(viewPalette);
    const QString scrollBars = QStringLiteral(
        "QScrollBar { background: #e6ebf0; border: none; margin: 0; }"
        "QScrollBar:vertical { width: 11px; } QScrollBar:horizontal { height: 11px; }"
        "QScrollBar::handle { background: #a9bccf; border-radius: 4px; margin: 2px; }"
        "QScrollBar::handle:hover { background: #2a8fd6; }"
        "QScrollBar::handle:vertical { min-height: 24px; }"
        "QScrollBar::handle:horizontal { min-width: 24px; }"
        "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }");
    RichEdit_Text->verticalScrollBar()->setStyleSheet(scrollBars);
    RichEdit_Text->horizontalScrollBar()->setStyleSheet(scrollBars);
    RichEdit_Text->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit_Text, &QPlainTextEdit::textChanged, this,
            Guarded(report_, this, &TfmMain::RichEdit_TextChange));

    const QColor caption(40, 70, 105);
    Lbl_Load_File = MakeLabel(this, layout::kLbl_Load_File, caption, true);
    Edit_Load_File = MakeEdit(this, layout::kEdit_Load_File);
    Btn_Load_File = new ImageButton(BitmapList_Btn, 2, this);
    Btn_Load_File->setCursor(Qt::PointingHandCursor);
    connect(Btn_Load_File, &QAbstractButton::clicked, this,
            Guarded(report_, this, &TfmMain::Btn_Load_FileClick));

    Lbl_Save_File = MakeLabel(this, layout::kLbl_Save_File, caption, true);
    Edit_Save_File = MakeEdit(this, layout::kEdit_Save_File);
    Btn_Save_File = new ImageButton(BitmapList_Btn, 4, this);
    Btn_Save_File->setCursor(Qt::PointingHandCursor);
    connect(Btn_Save_File, &QAbstractButton::clicked, this,
            Guarded(report_, this, &TfmMain::Btn_Save_FileClick));

    Lbl_Select = MakeLabel(this, layout::kLbl_Select, caption, true);
}

void TfmMain::BuildParkedControls() {
    Edit_Focus = new QLineEdit(this);
    Edit_Focus->move(layout::kEdit_Focus);
    // Nothing is typed into the sink; read-only, it leaves Ctrl+Z to the window's undo.
    Edit_Focus->setReadOnly(true);

    auto button = [this](QPoint at, void (TfmMain::*handler)()) {
        auto* button = new QToolButton(this);
        button->setAutoRaise(true);
        button->setGeometry(QRect(at, QSize(22, 22)));
        connect(button, &QAbstractButton::clicked, this, Guarded(report_, this, handler));
        return button;
    };
    Sb_Help = button(layout::kSb_Help, &TfmMain::Sb_HelpClick);
    Sb_Internet = button(layout::kSb_Internet, &TfmMain::Sb_InternetClick);
    Sb_Min = button(layout::kSb_Min, &TfmMain::Sb_MinClick);
    Cb_Min_FormShow = button(layout::kCb_Min_FormShow, &TfmMain::Cb_Min_FormShowClick);
    Cb_HintShow = button(layout::kCb_HintShow, &TfmMain::Cb_HintShowClick);
    Sb_Lang_Up = button(layout::kSb_Lang_Up, &TfmMain::Sb_Lang_UpClick);
    Sb_Lang_Down = button(layout::kSb_Lang_Down, &TfmMain::Sb_Lang_DownClick);

    const QColor caption(40, 70, 105);
    Lbl_Min_FormShow = MakeLabel(this, QRect(layout::kLbl_Min_FormShow, QSize(120, 15)), caption);
    Lbl_HintShow = MakeLabel(this, QRect(layout::kLbl_HintShow, QSize(120, 15)), caption);
    for (QLabel* label : {Lbl_Min_FormShow, Lbl_HintShow}) {
        label->installEventFilter(this);
    }
    Edit_Lang = MakeEdit(this, QRect(layout::kEdit_Lang, QSize(64, 19)));
    Edit_Lang->setReadOnly(true);

    // Presses on the title pass through to the window, which starts the drag.
    Label_Title_Name_Shadow =
        MakeLabel(this, QRect(layout::kLabel_Title_Name_Shadow, QSize(120, 15)), Qt::white, true);
    Label_Title_Name =
        MakeLabel(this, QRect(layout::kLabel_Title_Name, QSize(120, 15)), caption, true);
    for (QLabel* title : {Label_Title_Name, Label_Title_Name_Shadow}) {
        title->setText(QStringLiteral("Quillex"));
        title->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

void TfmMain::setVisible(bool visible) {
    if (visible && !isVisible()) {
        FormShow();
    }
    QWidget::setVisible(visible);
}

void TfmMain::FormShow() {
    if (!LogoShown && fmLogo_ != nullptr) {
        fmLogo_->RunModal();
    }
    LogoShown = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(CentredLeft(screen->virtualGeometry().width(), kWidth), 10);
    }
    ApplyLanguage();
    UpdateStatistics();
    Sb_Close->setGeometry(layout::kSb_Close);
    Sb_Close->show();
    ApplyHintShow();
    if (Edit_Focus->focusPolicy() != Qt::NoFocus && Edit_Focus->isEnabled()) {
        Edit_Focus->setFocus();
    }
    PlaceControls();
    panels_->ShowPanelOfFunction0();
}

void TfmMain::PlaceControls() {
    Image1->setGeometry(layout::kImage1);
    RichEdit_Text->setGeometry(layout::kRichEdit_Text);
    Lbl_Load_File->setGeometry(layout::kLbl_Load_File);
    Edit_Load_File->setGeometry(layout::kEdit_Load_File);
    Btn_Load_File->setGeometry(layout::kBtn_Load_File);
    Lbl_Save_File->setGeometry(layout::kLbl_Save_File);
    Edit_Save_File->setGeometry(layout::kEdit_Save_File);
    Btn_Save_File->setGeometry(layout::kBtn_Save_File);
    Lbl_Select->setGeometry(layout::kLbl_Select);
    panels_->Controls().ComboBox_Select->setGeometry(layout::kComboBox_Select);
}

void TfmMain::FormDestroy() {
    Timer_Work.stop();
    SaveSettings();
    DocumentLines.Clear();
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !Settings.HintShow) {
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The clickable labels.
        const std::pair<QObject*, void (TfmMain::*)()> bindings[] = {
            {Lbl_Lang0, &TfmMain::Lbl_Lang0Click},
            {Lbl_Lang1, &TfmMain::Lbl_Lang1Click},
            {Lbl_Min_FormShow, &TfmMain::Cb_Min_FormShowClick},
            {Lbl_HintShow, &TfmMain::Cb_HintShowClick},
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

void TfmMain::ShowProgress(std::size_t n) {
    processed_ = n;
    Lbl_Work->setText(FromUtf8(LabelWithNumber(Captions().Txt_Lines_Processed, n)));
    // A line function blocks the event loop; paint the number now.
    Lbl_Work->repaint();
}

void TfmMain::closeEvent(QCloseEvent* event) {
    ReportingFailures(report_, [this] { FormClose(); });
    // The program ends normally: the load file's kept bytes are not needed any more. Only
    // here, not on destruction, so that a crash leaves them for the user.
    history_.Clear();
    event->accept();
    emit Closed();
}

void TfmMain::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, skin_);
}

void TfmMain::mousePressEvent(QMouseEvent* event) {
    StartWindowMove(*this, *event);
}

}  // namespace quillex
