// Main window: loading and saving through the file dialogs, from the command line and by
// dropping a file on the window.
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <exception>
#include <utility>

#include "core/input_check.h"
#include "ui/dialogs.h"
#include "ui/guarded.h"
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

// The first local file among the dropped addresses; other drops (text, web addresses) are not
// taken.
std::optional<QString> DroppedFile(const QMimeData* data) {
    if (data == nullptr) {
        return std::nullopt;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return std::nullopt;
}

}  // namespace

QString MainWindow::LoadFileText() const {
    return loadFileEdit_->text();
}

void MainWindow::ShowFileError(const QString& fieldText, const QString& detail) {
    dialogs_.Message(QStringLiteral("File: ") + fieldText + QStringLiteral(" error!") +
                     (detail.isEmpty() ? QString() : u'\n' + detail));
}

void MainWindow::ShowRunError() {
    ShowFileError(loadFileEdit_->text());
}

void MainWindow::ChooseAndLoadFile() {
    const std::optional<QString> chosen =
        dialogs_.OpenFile(QDir::currentPath(), FileTypeFilters(Captions()));
    if (!chosen) {
        RefreshView();
        return;
    }
    LoadFile(*chosen);
}

void MainWindow::LoadFile(const QString& path) {
    // What the field names before: it is put back if the new file fails to load, so that the
    // field always names the file whose lines are held (the round-trip functions overwrite
    // that file).
    const QString previousText = loadFileEdit_->text();
    const QString previousHint = loadFileEdit_->toolTip();
    TakeChosenFile(*loadFileEdit_, path);
    LoadReport report;
    quillex::DocumentLines loaded;
    try {
        loaded.LoadFromFile(ToPath(loadFileEdit_->text()), &report);
        loaded.SetEncoding(DetectEncoding(loaded.TextForm()));
    } catch (const std::exception& error) {
        // A file refused for what it is says so below the usual message.
        const auto* refused = dynamic_cast<const InputRefused*>(&error);
        ShowFileError(loadFileEdit_->text(),
                      refused != nullptr
                          ? QStringLiteral("The file ") + FromUtf8(refused->reason()) + u'.'
                          : QString());
        loadFileEdit_->setText(previousText);
        loadFileEdit_->setToolTip(previousHint);
        return;
    }
    // The document it replaces is moved into the undo step, not copied.
    UndoStep step;
    step.document = std::exchange(document_, std::move(loaded));
    step.processed = processed_;
    step.loaded = LoadedFile{previousText.toStdString(), CutLoadOffset()};
    RecordChange(std::move(step));
    NoteCutLoad(report);
    RefreshView();
    if (!cutLoadFile_.empty()) {
        dialogs_.Message(FromUtf8(NulNotice(cutLoadFile_, cutLoadOffset_)) + u'.');
    }
}

void MainWindow::NoteCutLoad(const LoadReport& report) {
    cutLoadFile_ = report.nulOffset ? ToPath(loadFileEdit_->text()) : std::filesystem::path();
    cutLoadOffset_ = report.nulOffset.value_or(0);
}

std::optional<std::uint64_t> MainWindow::CutLoadOffset() const {
    if (cutLoadFile_.empty()) {
        return std::nullopt;
    }
    return cutLoadOffset_;
}

bool MainWindow::MayWriteOverCutLoad(const QString& target) {
    std::error_code ec;
    if (cutLoadFile_.empty() || !std::filesystem::equivalent(ToPath(target), cutLoadFile_, ec)) {
        return true;
    }
    if (!dialogs_.Ask(FromUtf8(NulNotice(cutLoadFile_, cutLoadOffset_)) +
                      QStringLiteral(". Writing the document over it loses the rest for good. "
                                     "Write it anyway?"))) {
        return false;
    }
    cutLoadFile_.clear();  // asked once: the user chose to let the rest go
    return true;
}

bool MainWindow::MayOverwriteLoadFile() {
    return MayWriteOverCutLoad(loadFileEdit_->text());
}

void MainWindow::LoadStartFile(const QStringList& arguments) {
    // Named relative to the folder the program was started in, which the first load changes.
    if (arguments.size() > 1 && !arguments[1].isEmpty()) {
        LoadFile(QFileInfo(arguments[1]).absoluteFilePath());
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (const std::optional<QString> file = DroppedFile(event->mimeData())) {
        event->acceptProposedAction();
        ReportingFailures(report_, [&] { LoadFile(*file); });
    }
}

void MainWindow::SaveDocument() {
    const std::optional<QString> chosen =
        dialogs_.SaveFile(QCoreApplication::applicationDirPath(), FileTypeFilters(Captions()));
    if (!chosen || !MayWriteOverCutLoad(*chosen)) {
        return;
    }
    TakeChosenFile(*saveFileEdit_, *chosen);
    try {
        document_.SaveToFile(ToPath(saveFileEdit_->text()));
    } catch (const std::exception&) {
        ShowFileError(saveFileEdit_->text());
    }
}

}  // namespace quillex
