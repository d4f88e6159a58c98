// Main window: loading and saving through the file dialogs.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include <exception>

#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/text_bridge.h"

namespace quillex {

namespace {

// A chosen file goes into its field and the field's hint; the working directory becomes its
// folder, so the next dialog starts there.
void TakeChosenFile(QLineEdit& field, const QString& path) {
    QDir::setCurrent(QFileInfo(path).absolutePath());
    field.setText(path);
    field.setToolTip(path);
}

}  // namespace

QString TfmMain::LoadFileText() const {
    return Edit_Load_File->text();
}

void TfmMain::ShowFileError(const QString& fieldText) {
    dialogs_.Message(QStringLiteral("File: ") + fieldText + QStringLiteral(" error!"));
}

void TfmMain::ShowRunError() {
    ShowFileError(Edit_Load_File->text());
}

void TfmMain::Btn_Load_FileClick() {
    // What the field names before the dialog: it is put back if the new file fails to load,
    // so that the field always names the file whose lines are held (the round-trip functions
    // overwrite that file).
    const QString previousText = Edit_Load_File->text();
    const QString previousHint = Edit_Load_File->toolTip();
    const std::optional<QString> chosen = dialogs_.OpenFile(QDir::currentPath());
    if (chosen) {
        TakeChosenFile(*Edit_Load_File, *chosen);
        try {
            DocumentLines.LoadFromFile(ToPath(Edit_Load_File->text()));
        } catch (const std::exception&) {
            ShowRunError();
            Edit_Load_File->setText(previousText);
            Edit_Load_File->setToolTip(previousHint);
            return;
        }
    }
    RefreshView();
}

void TfmMain::SaveDocument() {
    const std::optional<QString> chosen = dialogs_.SaveFile(QCoreApplication::applicationDirPath());
    if (!chosen) {
        return;
    }
    TakeChosenFile(*Edit_Save_File, *chosen);
    try {
        DocumentLines.SaveToFile(ToPath(Edit_Save_File->text()));
    } catch (const std::exception&) {
        ShowFileError(Edit_Save_File->text());
    }
}

}  // namespace quillex
