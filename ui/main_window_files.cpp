// Main window: loading and saving through the file dialogs, from the command line and by
// dropping a file on the window.
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QUrl>

#include <exception>
#include <memory>
#include <system_error>
#include <utility>

#include "core/input_check.h"
#include "ui/dialogs.h"
#include "ui/guarded.h"
#include "ui/main_window.h"
#include "ui/text_bridge.h"

namespace quillex {

namespace {

// A chosen file goes into its field and the field's hint; the working directory becomes its
// folder, so the next dialog starts there. What they held before is given back, for a load or
// save that is cancelled (or a load that fails) to put back.
struct ChosenFile {
    QString text;
    QString hint;
    QString folder;
};

ChosenFile TakeChosenFile(QLineEdit& field, const QString& path) {
    ChosenFile before{field.text(), field.toolTip(), QDir::currentPath()};
    QDir::setCurrent(QFileInfo(path).absolutePath());
    field.setText(path);
    field.setToolTip(path);
    return before;
}

void PutBack(QLineEdit& field, const ChosenFile& before, bool folderToo) {
    field.setText(before.text);
    field.setToolTip(before.hint);
    if (folderToo) {
        QDir::setCurrent(before.folder);
    }
}

// A load on the worker: the new document and what the load found.
struct LoadedDocument {
    DocumentLines document;
    LoadReport report;
};

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

// Why a file was refused, in the interface language.
QString RefusalText(const CaptionTable& table, InputRefused::Kind kind) {
    using Kind = InputRefused::Kind;
    if (kind == Kind::Utf16) {
        return FromUtf8(table.Txt_Utf16_Text);
    }
    const std::string& name = kind == Kind::Directory         ? table.Txt_Kind_Directory
                              : kind == Kind::Pipe            ? table.Txt_Kind_Pipe
                              : kind == Kind::Socket          ? table.Txt_Kind_Socket
                              : kind == Kind::CharacterDevice ? table.Txt_Kind_Character_Device
                              : kind == Kind::BlockDevice     ? table.Txt_Kind_Block_Device
                                                              : table.Txt_Kind_Special_File;
    return FromUtf8(table.Txt_Not_Regular_File).arg(FromUtf8(name));
}

// "640 MB", "2.5 GB" (in Russian "2,5 ГБ"), in powers of 1024 as memory is counted.
QString SizeText(const CaptionTable& table, const QLocale& locale, std::uint64_t bytes) {
    constexpr double kMegabyte = 1024.0 * 1024.0;
    const double megabytes = static_cast<double>(bytes) / kMegabyte;
    if (megabytes >= 1024) {
        return FromUtf8(table.Txt_Gigabytes).arg(locale.toString(megabytes / 1024, 'f', 1));
    }
    return FromUtf8(table.Txt_Megabytes)
        .arg(locale.toString(megabytes, 'f', megabytes < 10 ? 1 : 0));
}

}  // namespace

QString MainWindow::LoadFileText() const {
    return loadFileEdit_->text();
}

void MainWindow::ShowFileError(const QString& fieldText, const QString& detail) {
    ShowMessage(FromUtf8(Captions().Txt_File_Error).arg(fieldText) +
                (detail.isEmpty() ? QString() : u'\n' + detail));
}

void MainWindow::ShowRunError() {
    ShowFileError(loadFileEdit_->text());
}

void MainWindow::ShowMessage(const QString& text) {
    if (!closing_) {  // the window is going: no message holds it up
        dialogs_.Message(text);
    }
}

void MainWindow::ChooseAndLoadFile() {
    ChooseAndLoad(true);
}

void MainWindow::RunLoadCommand() {
    // The file a round trip wrote, loaded again: its steps go on.
    ChooseAndLoad(false);
}

void MainWindow::ChooseAndLoad(bool startsAnew) {
    if (!work_->CanStart() || closing_) {
        return;
    }
    const std::optional<QString> chosen =
        dialogs_.OpenFile(QDir::currentPath(), FileTypeFilters(Captions()));
    if (!chosen) {
        RefreshView();
        return;
    }
    StartLoad(*chosen, startsAnew);
}

void MainWindow::LoadFile(const QString& path) {
    StartLoad(path, true);
}

void MainWindow::StartLoad(const QString& path, bool startsAnew) {
    if (!work_->CanStart() || closing_ || RefuseTooLarge(path)) {
        return;
    }
    // What the field names before: it is put back if the new file fails to load, so that the
    // field always names the file whose lines are held (the round-trip functions overwrite
    // that file). A cancelled load puts the folder back too.
    const ChosenFile before = TakeChosenFile(*loadFileEdit_, path);
    auto load = std::make_shared<LoadedDocument>();
    work_->Start(
        [load, file = ToPath(loadFileEdit_->text())](WorkMeter& meter) {
            load->document.LoadFromFile(file, &load->report, Progress({}, &meter));
            load->document.TakeEncoding();
            meter.StopIfAsked();
        },
        [this, load, before, startsAnew](std::exception_ptr failure) {
            if (failure) {
                const bool cancelled = WasCancelled(failure);
                const QString shown = loadFileEdit_->text();
                PutBack(*loadFileEdit_, before, cancelled);
                if (!cancelled) {
                    ShowLoadError(shown, failure);
                }
                return;
            }
            TakeLoadedDocument(std::move(load->document), load->report, before.text, startsAnew);
        });
}

bool MainWindow::RefuseTooLarge(const QString& path) {
    std::error_code ec;
    const std::uint64_t size = std::filesystem::file_size(ToPath(path), ec);
    if (ec || size <= loadBound_) {
        return false;  // the load says what is wrong with a file it cannot read
    }
    const QLocale locale(LanguageIndex() == kLanguageRussian ? QLocale::Russian : QLocale::English);
    ShowFileError(
        path, FromUtf8(Captions().Txt_Too_Large)
                  .arg(SizeText(Captions(), locale, size), SizeText(Captions(), locale, loadBound_),
                       FromUtf8(Captions().Txt_Apply_Recipe_To_Files)));
    return true;
}

void MainWindow::ShowLoadError(const QString& fieldText, const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const InputRefused& refused) {
        // A file refused for what it is says so below the usual message.
        ShowFileError(fieldText, RefusalText(Captions(), refused.kind()));
    } catch (const std::exception&) {
        ShowFileError(fieldText);
    }
}

void MainWindow::TakeLoadedDocument(quillex::DocumentLines loaded, const LoadReport& report,
                                    const QString& previousField, bool startsAnew) {
    // The document it replaces is moved into the undo step, not copied.
    UndoStep step;
    step.document = std::exchange(open_.Lines(), std::move(loaded));
    step.processed = processed_;
    step.loaded = LoadedFile{previousField.toStdString(), CutLoadOffset()};
    open_.Record(std::move(step), {}, startsAnew);
    NoteCutLoad(report);
    RefreshView();
    if (CutLoadOffset()) {
        dialogs_.Message(CutLoadNotice());
    }
}

void MainWindow::NoteCutLoad(const LoadReport& report) {
    open_.NoteCutLoad(ToPath(loadFileEdit_->text()), report.nulOffset);
}

QString MainWindow::CutLoadNotice() const {
    return FromUtf8(Captions().Txt_Nul_Notice)
        .arg(FromUtf8(PathText(open_.CutLoadFile())), QString::number(CutLoadOffset().value_or(0)));
}

std::optional<std::uint64_t> MainWindow::CutLoadOffset() const {
    return open_.CutLoadOffset();
}

bool MainWindow::MayWriteOverCutLoad(const QString& target) {
    if (closing_) {
        return false;
    }
    std::error_code ec;
    if (!CutLoadOffset() || !std::filesystem::equivalent(ToPath(target), open_.CutLoadFile(), ec)) {
        return true;
    }
    if (!dialogs_.Ask(CutLoadNotice() + u' ' + FromUtf8(Captions().Txt_Nul_Write_Anyway))) {
        return false;
    }
    open_.ForgetCutLoad();  // asked once: the user chose to let the rest go
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
    if (!work_->Busy() && DroppedFile(event->mimeData())) {
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
    if (!work_->CanStart() || closing_) {
        return;
    }
    const std::optional<QString> chosen =
        dialogs_.SaveFile(QCoreApplication::applicationDirPath(), FileTypeFilters(Captions()));
    if (!chosen || !MayWriteOverCutLoad(*chosen)) {
        return;
    }
    const ChosenFile before = TakeChosenFile(*saveFileEdit_, *chosen);
    // The document is only read meanwhile: nothing that changes it runs while work does.
    work_->Start([this, file = ToPath(saveFileEdit_->text())](
                     WorkMeter& meter) { open_.Lines().SaveToFile(file, Progress({}, &meter)); },
                 [this, before](std::exception_ptr failure) {
                     if (WasCancelled(failure)) {
                         PutBack(*saveFileEdit_, before, true);
                     } else if (failure) {
                         ShowFileError(saveFileEdit_->text());
                     }
                 });
}

}  // namespace quillex
