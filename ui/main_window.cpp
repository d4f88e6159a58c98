// Main window: creation, showing, layout, destruction and the language push.
#include "ui/main_window.h"

#include <QApplication>
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

#include "core/view_text.h"
#include "platform/cursor.h"
#include "platform/window_move.h"
#include "ui/image_button.h"
#include "ui/logo_window.h"
#include "ui/main_layout.h"
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

TfmMain::TfmMain(Dialogs& dialogs, CursorSource& cursor, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), dialogs_(dialogs), cursor_(cursor) {
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
    AutoMinimize = AutoMinimizeDecision();
    LoadSettings();
    displayLimit_ = 0;
    skin_ = SkinPixmap(QStringLiteral("background"), size());
    BitmapList_Btn = ButtonPictures();
    BuildControls();
    BuildMenu();
    // Step 4 (chooser and parameter combo boxes at item 0) happens where the panels object
    // is created, in FunctionPanels.
    DocumentLines.Clear();
    // The view's capacity is kViewCapacity, enforced by RefreshView (the only writer).
    Timer_Work.setInterval(100);
    connect(&Timer_Work, &QTimer::timeout, this, &TfmMain::Timer_WorkTimer);
    Timer_Work.start();
}

void TfmMain::BuildControls() {
    const QColor grey(126, 126, 126);
    Sb_Close = new ImageButton(BitmapList_Btn, 0, this);
    connect(Sb_Close, &QAbstractButton::clicked, this, &TfmMain::Sb_CloseClick);

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
    connect(RichEdit_Text, &QPlainTextEdit::textChanged, this, &TfmMain::RichEdit_TextChange);

    const QColor caption(40, 70, 105);
    Lbl_Load_File = MakeLabel(this, layout::kLbl_Load_File, caption, true);
    Edit_Load_File = MakeEdit(this, layout::kEdit_Load_File);
    Btn_Load_File = new ImageButton(BitmapList_Btn, 2, this);
    Btn_Load_File->setCursor(Qt::PointingHandCursor);
    connect(Btn_Load_File, &QAbstractButton::clicked, this, &TfmMain::Btn_Load_FileClick);

    Lbl_Save_File = MakeLabel(this, layout::kLbl_Save_File, caption, true);
    Edit_Save_File = MakeEdit(this, layout::kEdit_Save_File);
    Btn_Save_File = new ImageButton(BitmapList_Btn, 4, this);
    Btn_Save_File->setCursor(Qt::PointingHandCursor);
    connect(Btn_Save_File, &QAbstractButton::clicked, this, &TfmMain::Btn_Save_FileClick);

    Lbl_Select = MakeLabel(this, layout::kLbl_Select, caption, true);

    Edit_Focus = new QLineEdit(this);
    Edit_Focus->move(layout::kEdit_Focus);

    // Parked, not built: Sb_Help, Sb_Internet, Sb_Min, Cb_Min_FormShow, Lbl_Min_FormShow,
    // Cb_HintShow, Lbl_HintShow, Edit_Lang, Sb_Lang_Up, Sb_Lang_Down, the title labels and
    // Btn_18, Btn_44, Btn_20, Btn_19. Their operations are the methods of the same names.
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
    // The panels object places ComboBox_Select and shows only Gb_0 here (steps 8 and 9).
}

void TfmMain::FormDestroy() {
    Timer_Work.stop();
    SaveSettings();
    DocumentLines.Clear();
}

// The settings store fills these; until then the defaults stand.
void TfmMain::LoadSettings() {}
void TfmMain::SaveSettings() {}

void TfmMain::ApplyHintShow() {
    // Hints are switched off by swallowing every tooltip event of the application.
    qApp->removeEventFilter(this);
    if (!HintShow) {
        qApp->installEventFilter(this);
    }
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !HintShow) {
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Lbl_Lang0) {
            Lbl_Lang0Click();
            return true;
        }
        if (watched == Lbl_Lang1) {
            Lbl_Lang1Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfmMain::ApplyLanguage() {
    quillex::CaptionTable& table = fmHelp_ != nullptr ? fmHelp_->CaptionTable : ownCaptions_;
    FillCaptionTable(LanguageIndex(), table);
    // Hints of Sb_Help, Sb_Internet, Sb_Min, the settings controls and the tray menu items
    // are pushed by their owners after this step.
    Sb_Close->setToolTip(FromUtf8(table.Txt_Exit));
    Lbl_Work->setText(FromUtf8(table.Txt_Lines_Processed));
    Lbl_Load_File->setText(FromUtf8(table.Txt_Load_File));
    Lbl_Save_File->setText(FromUtf8(table.Txt_Save_File));
    Lbl_Select->setText(FromUtf8(table.Txt_Select_Function));
    // The twelve chooser items are replaced in place by the panels object.
}

void TfmMain::Lbl_Lang0Click() {
    SetLanguageIndex(kLanguageEnglish);
    ApplyLanguage();
    UpdateStatistics();
}

void TfmMain::Lbl_Lang1Click() {
    SetLanguageIndex(kLanguageRussian);
    ApplyLanguage();
    UpdateStatistics();
}

void TfmMain::Sb_Lang_UpClick() {
    SetLanguageIndex(LanguageIndex() == kLanguageEnglish ? kLanguageRussian : kLanguageEnglish);
    ApplyLanguage();
    UpdateStatistics();
}

// Filled by the tray and shell side.
void TfmMain::Sb_MinClick() {}
void TfmMain::Sb_HelpClick() {}
void TfmMain::Sb_InternetClick() {}

void TfmMain::ShowProgress(std::size_t n) {
    Lbl_Work->setText(FromUtf8(LabelWithNumber(Captions().Txt_Lines_Processed, n)));
    // A line function blocks the event loop; paint the number now.
    Lbl_Work->repaint();
}

void TfmMain::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, skin_);
}

void TfmMain::mousePressEvent(QMouseEvent* event) {
    StartWindowMove(*this, *event);
}

}  // namespace quillex
