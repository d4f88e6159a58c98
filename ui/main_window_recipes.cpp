// Main window: recipes from the view's menu. The steps applied since the load saved as a
// recipe, a recipe applied to the document as one change, and a recipe applied to files
// without touching the document; each runs through the batch runner's own step code.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMetaObject>
#include <QPlainTextEdit>

#include <exception>
#include <memory>
#include <utility>

#include "app/batch_recipe.h"
#include "core/file_format.h"
#include "core/function_options.h"
#include "core/recipe_text.h"
#include "ui/dialogs.h"
#include "ui/guarded.h"
#include "ui/main_window.h"
#include "ui/panels/run_protocol.h"
#include "ui/recipe_over_files.h"
#include "ui/text_bridge.h"
#include "ui/titled_menu.h"

namespace quillex {

namespace {

// A recipe read on the worker, for the window's thread to run.
struct ReadSteps {
    std::vector<batch::RecipeStep> steps;
};

// A run over files, from the worker to the window's thread.
struct FilesRun {
    std::vector<FileOutcome> outcomes;
};

QString FailureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return FromUtf8(e.what());
    }
}

bool IsBadRecipe(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const batch::BadRecipe&) {
        return true;
    } catch (...) {
        return false;
    }
}

std::string RecipeName(const QString& file) {
    return QFileInfo(file).fileName().toStdString();
}

}  // namespace

void MainWindow::BuildRecipeMenu() {
    viewMenu_->addSeparator();
    saveStepsItem_ = viewMenu_->addAction(QString());
    applyRecipeItem_ = viewMenu_->addAction(QString());
    applyToFilesItem_ = viewMenu_->addAction(QString());
    connect(saveStepsItem_, &QAction::triggered, this,
            Guarded(report_, this, &MainWindow::SaveStepsAsRecipe));
    connect(applyRecipeItem_, &QAction::triggered, this,
            Guarded(report_, this, &MainWindow::ApplyRecipe));
    connect(applyToFilesItem_, &QAction::triggered, this,
            Guarded(report_, this, &MainWindow::ApplyRecipeToFiles));
}

void MainWindow::PrepareRecipeMenu(bool hasText) {
    const quillex::CaptionTable& table = Captions();
    const bool idle = !work_->Busy();
    saveStepsItem_->setText(FromUtf8(table.Txt_Save_Steps));
    applyRecipeItem_->setText(FromUtf8(table.Txt_Apply_Recipe));
    applyToFilesItem_->setText(FromUtf8(table.Txt_Apply_Recipe_To_Files));
    saveStepsItem_->setVisible(hasText);
    applyRecipeItem_->setVisible(hasText);
    saveStepsItem_->setEnabled(idle);
    applyRecipeItem_->setEnabled(idle);
    applyToFilesItem_->setEnabled(idle);  // the document is not needed, nor touched
}

void MainWindow::SaveStepsAsRecipe() {
    if (!work_->CanStart() || closing_) {
        return;
    }
    const std::vector<StepWordList> steps = open_.StepsSinceLoad();
    if (steps.empty()) {
        ShowMessage(FromUtf8(Captions().Txt_No_Steps));
        return;
    }
    const std::optional<QString> chosen =
        dialogs_.SaveFile(QDir::currentPath(), RecipeFilters(Captions()));
    if (!chosen) {
        return;
    }
    work_->Start([text = JoinRecipe(steps), file = ToPath(*chosen)](
                     WorkMeter& meter) { SaveText({text}, file, Progress({}, &meter)); },
                 [this, shown = *chosen](std::exception_ptr failure) {
                     if (failure && !WasCancelled(failure)) {
                         ShowFileError(shown);
                     }
                 });
}

void MainWindow::ApplyRecipe() {
    if (!work_->CanStart() || closing_) {
        return;
    }
    const std::optional<QString> chosen =
        dialogs_.OpenFile(QDir::currentPath(), RecipeFilters(Captions()));
    if (!chosen) {
        return;
    }
    // Read on the worker (the file may be slow to read); run over a copy of the document as
    // any function is, so that Cancel and a failing step leave it as it was.
    auto read = std::make_shared<ReadSteps>();
    work_->Start(
        [read, file = ToPath(*chosen), name = RecipeName(*chosen),
         encoding = open_.Lines().GetEncoding()](WorkMeter& meter) {
            read->steps = batch::ReadRecipe(file, name);
            batch::PrepareSteps(read->steps, encoding, name);
            meter.StopIfAsked();
        },
        [this, read](std::exception_ptr failure) {
            if (WasCancelled(failure)) {
                return;
            }
            if (failure) {
                ShowMessage(FromUtf8(Captions().Txt_Bad_Recipe).arg(FailureText(failure)));
                return;
            }
            RunRecipeSteps(std::move(read->steps));
        });
}

void MainWindow::RunRecipeSteps(std::vector<batch::RecipeStep> steps) {
    std::vector<StepWordList> applied;
    for (const batch::RecipeStep& step : steps) {
        applied.push_back(
            StepWords(step.call.function, step.call.params, open_.Lines().GetEncoding()));
    }
    const QString stopped = FromUtf8(Captions().Txt_Step_Failed);
    RunOverDocument(
        *this,
        [steps = std::move(steps), stopped](DocumentLines& document, const Progress& progress) {
            try {
                batch::RunSteps(steps, document, [&progress](std::size_t) { return progress; });
            } catch (const batch::StepFailed& e) {
                throw RunRefused(stopped.arg(FromUtf8(e.what())));
            }
        },
        std::move(applied));
}

void MainWindow::ApplyRecipeToFiles() {
    if (!work_->CanStart() || closing_) {
        return;
    }
    const quillex::CaptionTable& table = Captions();
    const std::optional<QString> recipe =
        dialogs_.OpenFile(QDir::currentPath(), RecipeFilters(table));
    if (!recipe) {
        return;
    }
    const QStringList files = dialogs_.OpenFiles(QDir::currentPath(), FileTypeFilters(table));
    if (files.isEmpty()) {
        return;
    }
    const std::optional<QString> folder = dialogs_.ChooseFolder(QDir::currentPath());
    if (!folder) {
        return;
    }
    std::vector<std::filesystem::path> inputs;
    for (const QString& file : files) {
        inputs.push_back(ToPath(file));
    }
    // A line a file on Lbl_Work, from the worker.
    const auto onFile = [this, files](std::size_t k, std::size_t count) {
        QMetaObject::invokeMethod(
            this,
            [this, k, count, name = QFileInfo(files.value(static_cast<qsizetype>(k))).fileName()] {
                processedLabel_->setText(FromUtf8(Captions().Txt_File_Of_Files)
                                             .arg(QString::number(k + 1), QString::number(count)) +
                                         QStringLiteral(": ") + name);
            },
            Qt::QueuedConnection);
    };
    auto run = std::make_shared<FilesRun>();
    work_->Start(
        [run, recipe = ToPath(*recipe), name = RecipeName(*recipe), inputs = std::move(inputs),
         target = ToPath(*folder), onFile](WorkMeter& meter) {
            run->outcomes = quillex::ApplyRecipeToFiles(batch::ReadRecipe(recipe, name), name,
                                                        inputs, target, meter, onFile);
        },
        [this, run, shownFolder = *folder](std::exception_ptr failure) {
            RestoreProcessedLabel();
            if (WasCancelled(failure)) {
                return;
            }
            if (failure) {
                ShowMessage(FromUtf8(IsBadRecipe(failure) ? Captions().Txt_Bad_Recipe
                                                          : Captions().Txt_Files_Refused)
                                .arg(FailureText(failure)));
                return;
            }
            ShowMessage(FilesSummary(run->outcomes, shownFolder));
        });
}

QString MainWindow::FilesSummary(const std::vector<FileOutcome>& outcomes,
                                 const QString& folder) const {
    qsizetype failed = 0;
    QString failures;
    for (const FileOutcome& outcome : outcomes) {
        if (!outcome.failure.empty()) {
            ++failed;
            failures += u'\n' + FromUtf8(PathText(outcome.input)) + QStringLiteral(": ") +
                        FromUtf8(outcome.failure);
        }
    }
    const auto written = static_cast<qsizetype>(outcomes.size()) - failed;
    return FromUtf8(Captions().Txt_Files_Done)
               .arg(QString::number(written), QString::number(failed), folder) +
           failures;
}

void MainWindow::RestoreProcessedLabel() {
    if (processed_) {
        ShowProgress(*processed_);
    } else {
        processedLabel_->setText(FromUtf8(Captions().Txt_Lines_Processed));
    }
}

}  // namespace quillex
