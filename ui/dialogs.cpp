#include "ui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/text_bridge.h"

namespace quillex {

QStringList FileTypeFilters(const CaptionTable& captions) {
    return {QStringLiteral("txt (*.txt)"), QStringLiteral("ini (*.ini)"),
            FromUtf8(captions.Txt_All_Files)};
}

QStringList RecipeFilters(const CaptionTable& captions) {
    return {FromUtf8(captions.Txt_Recipe_Files), FromUtf8(captions.Txt_All_Files)};
}

namespace {

// "recipe" from "Recipes (*.recipe)".
QString SuffixOf(const QString& filter) {
    const qsizetype dot = filter.indexOf(QStringLiteral("(*."));
    const qsizetype end = filter.indexOf(u')', dot);
    return dot < 0 || end < 0 ? QString() : filter.mid(dot + 3, end - dot - 3);
}

std::optional<QString> First(const QStringList& files) {
    return files.isEmpty() ? std::nullopt : std::optional<QString>(files.front());
}

}  // namespace

QStringList QtDialogs::Run(const QString& folder, const QStringList& filters,
                           QFileDialog::FileMode mode, bool save) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(mode);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (mode == QFileDialog::Directory) {
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
    }
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) {
        dialog.selectNameFilter(filters.front());
        dialog.setDefaultSuffix(SuffixOf(filters.front()));
    }
    dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

std::optional<QString> QtDialogs::OpenFile(const QString& folder, const QStringList& filters) {
    // Opening a name that does not exist is allowed: the load then reports it.
    return First(Run(folder, filters, QFileDialog::AnyFile, false));
}

std::optional<QString> QtDialogs::SaveFile(const QString& folder, const QStringList& filters) {
    return First(Run(folder, filters, QFileDialog::AnyFile, true));
}

QStringList QtDialogs::OpenFiles(const QString& folder, const QStringList& filters) {
    return Run(folder, filters, QFileDialog::ExistingFiles, false);
}

std::optional<QString> QtDialogs::ChooseFolder(const QString& folder) {
    return First(Run(folder, {}, QFileDialog::Directory, false));
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
