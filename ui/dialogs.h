#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

#include "core/caption_table.h"

class QWidget;

namespace quillex {

// The modal dialogs and message boxes of the main window, behind one interface so that the
// commands run headless under test.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // The chosen file's full path, or nothing when the user cancels. Both dialogs list the
    // file types `filters` (the first selected), append "txt" to a name without an extension
    // and start in `folder`; the open dialog accepts names of files that do not exist and the
    // save dialog replaces a file without asking.
    virtual std::optional<QString> OpenFile(const QString& folder, const QStringList& filters) = 0;
    virtual std::optional<QString> SaveFile(const QString& folder, const QStringList& filters) = 0;
    // Several existing files to open, none when the user cancels.
    virtual QStringList OpenFiles(const QString& folder, const QStringList& filters) = 0;
    // An existing folder, or nothing when the user cancels.
    virtual std::optional<QString> ChooseFolder(const QString& folder) = 0;

    // A message box with an OK button, titled with the application's title. (The general
    // error report, with its error icon, is ErrorReport.)
    virtual void Message(const QString& text) = 0;
    // A question with Yes and No buttons, titled so too; true for Yes.
    virtual bool Ask(const QString& text) = 0;
};

// "txt" and "ini", then every file, named in the interface language.
QStringList FileTypeFilters(const CaptionTable& captions);
// Recipes, then every file. A name without an extension gets the first filter's.
QStringList RecipeFilters(const CaptionTable& captions);

// The real dialogs.
class QtDialogs final : public Dialogs {
  public:
    QtDialogs(QString title, QWidget* parent = nullptr)
        : title_(std::move(title)), parent_(parent) {}

    void SetParent(QWidget* parent) { parent_ = parent; }

    std::optional<QString> OpenFile(const QString& folder, const QStringList& filters) override;
    std::optional<QString> SaveFile(const QString& folder, const QStringList& filters) override;
    QStringList OpenFiles(const QString& folder, const QStringList& filters) override;
    std::optional<QString> ChooseFolder(const QString& folder) override;
    void Message(const QString& text) override;
    bool Ask(const QString& text) override;

  private:
    QStringList Run(const QString& folder, const QStringList& filters, QFileDialog::FileMode mode,
                    bool save);

    QString title_;
    QWidget* parent_;
};

}  // namespace quillex
