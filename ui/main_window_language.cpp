// Main window: the language push and the four language switches.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "ui/image_button.h"
#include "ui/logo_window.h"
#include "ui/main_layout.h"
#include "ui/main_window.h"
#include "ui/panels/function_panels.h"
#include "ui/text_bridge.h"

namespace quillex {

void TfmMain::ApplyLanguage() {
    quillex::CaptionTable& table = fmHelp_ != nullptr ? fmHelp_->CaptionTable : ownCaptions_;
    FillCaptionTable(LanguageIndex(), table);
    // Qt's own texts first, so that a dialog opened from here on speaks the language.
    qtLanguage_.Apply(LanguageIndex());
    // Every fixed place of the window, parked controls included; with no language selected
    // the table is empty and so is every text.
    Sb_Help->setToolTip(FromUtf8(table.Txt_Help_Hint));
    Sb_Internet->setToolTip(FromUtf8(table.Txt_Website));
    Sb_Min->setToolTip(FromUtf8(table.Txt_Min_Tray_Hint));
    Sb_Close->setToolTip(FromUtf8(table.Txt_Exit));
    Cb_Min_FormShow->setToolTip(FromUtf8(table.Txt_Auto_Min_Hint));
    Lbl_Min_FormShow->setText(FromUtf8(table.Txt_Minimize));
    Lbl_Min_FormShow->setToolTip(FromUtf8(table.Txt_Auto_Min_Hint));
    Cb_HintShow->setToolTip(FromUtf8(table.Txt_Hints_Hint));
    Lbl_HintShow->setText(FromUtf8(table.Txt_Hints));
    Lbl_HintShow->setToolTip(FromUtf8(table.Txt_Hints_Hint));
    Edit_Lang->setText(FromUtf8(table.Txt_Language));
    TrayMenu_3->setText(FromUtf8(table.Txt_Website));
    TrayMenu_3->setToolTip(FromUtf8(table.Txt_Website));
    TrayMenu_4->setText(FromUtf8(table.Txt_Exit));
    TrayMenu_4->setToolTip(FromUtf8(table.Txt_Exit));
    Lbl_Work->setText(FromUtf8(table.Txt_Lines_Processed));  // the bare prefix, no number
    Lbl_Load_File->setText(FromUtf8(table.Txt_Load_File));
    Lbl_Save_File->setText(FromUtf8(table.Txt_Save_File));
    Lbl_Select->setText(FromUtf8(table.Txt_Select_Function));
    Btn_Load_File->SetCaption(FromUtf8(table.Txt_Open), layout::kFileButtonCaption);
    Btn_Save_File->SetCaption(FromUtf8(table.Txt_Save), layout::kFileButtonCaption);
    // In place: the chooser is not re-selected and the shown panel stays.
    panels_->SetFunctionNames(table);
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
    // Any index but English, a stray stored one included, becomes English.
    SetLanguageIndex(LanguageIndex() == kLanguageEnglish ? kLanguageRussian : kLanguageEnglish);
    ApplyLanguage();
    UpdateStatistics();
}

}  // namespace quillex
