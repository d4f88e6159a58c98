#include "ui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/text_bridge.h"

namespace quillex {

QStringList FileTypeFilters(const CaptionTable& captions) {
    return {QStringLiteral("txt (*.txt)"), QStringLiteral("ini (*.ini)"),
            FromUtf8(captions.Txt_All_Files)};
}

std::optional<QString> QtDialogs::Run(const QString& folder, const QStringList& filters,
                                      bool save) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Opening a name that does not exist is allowed: the load then reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) {
        dialog.selectNameFilter(filters.front());
    }
    dialog.setDefaultSuffix(QString::fromLatin1(kDefaultSuffix));
    dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

std::optional<QString> QtDialogs::OpenFile(const QString& folder, const QStringList& filters) {
    return Run(folder, filters, false);
}

std::optional<QString> QtDialogs::SaveFile(const QString& folder, const QStringList& filters) {
    return Run(folder, filters, true);
}

void QtDialogs::Message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title_, text, QMessageBox::Ok, parent_);
    box.exec();
}

bool QtDialogs::Ask(const QString& text) {
    QMessageBox box(QMessageBox::Question, title_, text, QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace quillex
