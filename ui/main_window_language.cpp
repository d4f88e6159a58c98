// Main window: the language push and the four language switches.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "ui/image_button.h"
#include "ui/main_layout.h"
#include "ui/main_window.h"
#include "ui/panels/function_panels.h"
#include "ui/splash_window.h"
#include "ui/text_bridge.h"

namespace quillex {

void MainWindow::ApplyLanguage() {
    quillex::CaptionTable& table = help_ != nullptr ? help_->Captions() : ownCaptions_;
    FillCaptionTable(LanguageIndex(), table);
    // Qt's own texts first, so that a dialog opened from here on speaks the language.
    qtLanguage_.Apply(LanguageIndex());
    // Every fixed place of the window, parked controls included; with no language selected
    // the table is empty and so is every text.
    helpButton_->setToolTip(FromUtf8(table.Txt_Help_Hint));
    webPageButton_->setToolTip(FromUtf8(table.Txt_Website));
    minimiseButton_->setToolTip(FromUtf8(table.Txt_Min_Tray_Hint));
    closeButton_->setToolTip(FromUtf8(table.Txt_Exit));
    minimiseAtStartToggle_->setToolTip(FromUtf8(table.Txt_Auto_Min_Hint));
    minimiseAtStartLabel_->setText(FromUtf8(table.Txt_Minimize));
    minimiseAtStartLabel_->setToolTip(FromUtf8(table.Txt_Auto_Min_Hint));
    hintsToggle_->setToolTip(FromUtf8(table.Txt_Hints_Hint));
    hintsLabel_->setText(FromUtf8(table.Txt_Hints));
    hintsLabel_->setToolTip(FromUtf8(table.Txt_Hints_Hint));
    languageEdit_->setText(FromUtf8(table.Txt_Language));
    trayWebPageItem_->setText(FromUtf8(table.Txt_Website));
    trayWebPageItem_->setToolTip(FromUtf8(table.Txt_Website));
    trayExitItem_->setText(FromUtf8(table.Txt_Exit));
    trayExitItem_->setToolTip(FromUtf8(table.Txt_Exit));
    processedLabel_->setText(FromUtf8(table.Txt_Lines_Processed));  // the bare prefix, no number
    processed_.reset();
    loadFileCaption_->setText(FromUtf8(table.Txt_Load_File));
    saveFileCaption_->setText(FromUtf8(table.Txt_Save_File));
    chooserCaption_->setText(FromUtf8(table.Txt_Select_Function));
    openButton_->SetCaption(FromUtf8(table.Txt_Open), layout::kFileButtonCaption);
    saveButton_->SetCaption(FromUtf8(table.Txt_Save), layout::kFileButtonCaption);
    panels_->Controls().cancelButton->setText(FromUtf8(table.Txt_Cancel));
    // In place: the chooser is not re-selected and the shown panel stays.
    panels_->SetFunctionNames(table);
}

void MainWindow::SwitchToEnglish() {
    SetLanguageIndex(kLanguageEnglish);
    ApplyLanguage();
    UpdateStatistics();
}

void MainWindow::SwitchToRussian() {
    SetLanguageIndex(kLanguageRussian);
    ApplyLanguage();
    UpdateStatistics();
}

void MainWindow::ToggleLanguage() {
    // Any index but English, a stray stored one included, becomes English.
    SetLanguageIndex(LanguageIndex() == kLanguageEnglish ? kLanguageRussian : kLanguageEnglish);
    ApplyLanguage();
    UpdateStatistics();
}

}  // namespace quillex
