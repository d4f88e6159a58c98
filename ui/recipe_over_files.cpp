#include "ui/recipe_over_files.h"

#include <exception>
#include <new>
#include <system_error>
#include <utility>

#include "app/batch_stream.h"
#include "core/block_pipeline.h"
#include "core/document_lines.h"
#include "core/file_format.h"
#include "core/file_jobs.h"
#include "core/input_check.h"
#include "core/process_id.h"

namespace quillex {

namespace {

constexpr std::uint64_t kUnit = 1000;  // an input's span of the share bar's work

// A result written in full, waiting beside its name for the run to end.
struct Staged {
    std::filesystem::path file;
    std::filesystem::path target;
    std::size_t job;
};

// Removes what is still staged when the run does not get to its end.
struct StagedFiles {
    std::vector<Staged> files;
    ~StagedFiles() {
        for (const Staged& staged : files) {
            if (!staged.file.empty()) {
                std::error_code ignored;
                std::filesystem::remove(staged.file, ignored);
            }
        }
    }
};

// A file goes through in blocks where its steps allow it, so that its size is no limit.
bool StreamOne(std::vector<batch::RecipeStep> steps, const std::string& recipeName,
               const std::filesystem::path& input, const std::filesystem::path& staged,
               WorkMeter& meter) {
    if (!batch::Streams(steps)) {
        return false;
    }
    const Encoding encoding = batch::EncodingOfFile(input, std::nullopt);
    batch::PrepareSteps(steps, encoding, recipeName);
    if (!batch::Streams(steps)) {
        return false;
    }
    BlockReader reader(input, batch::kStreamBlockBytes);
    batch::StreamSettings settings;
    settings.threads = AvailableCores();
    settings.recipe = true;
    settings.meter = &meter;
    std::error_code ec;
    settings.inputSize = std::filesystem::file_size(input, ec);
    SaveProduced(
        [&](const PieceWriter& write) {
            batch::StreamSteps(reader, encoding, steps, settings, write);
        },
        settings.inputSize, staged);
    return true;
}

void RunOne(std::vector<batch::RecipeStep> steps, const std::string& recipeName,
            const std::filesystem::path& input, const std::filesystem::path& staged,
            WorkMeter& meter) {
    if (StreamOne(steps, recipeName, input, staged, meter)) {
        return;
    }
    DocumentLines document;
    LoadReport report;
    document.LoadFromFile(input, &report, Progress({}, &meter));
    batch::PrepareSteps(steps, document.TakeEncoding(), recipeName);
    batch::RunSteps(steps, document, [&meter](std::size_t) { return Progress({}, &meter); });
    SaveText(document.FileForm(), staged, Progress({}, &meter));
}

}  // namespace

std::vector<FileOutcome> ApplyRecipeToFiles(
    const std::vector<batch::RecipeStep>& steps, const std::string& recipeName,
    const std::vector<std::filesystem::path>& inputs, const std::filesystem::path& folder,
    WorkMeter& meter, const std::function<void(std::size_t k, std::size_t count)>& onFile) {
    const std::vector<FileJob> jobs = PlanFileJobs(inputs, folder, false);
    std::vector<FileOutcome> outcomes;
    StagedFiles staged;
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        const FileJob& job = jobs[k];
        onFile(k, jobs.size());
        FileOutcome& outcome = outcomes.emplace_back(FileOutcome{job.input, job.failure});
        if (!job.failure.empty()) {
            continue;
        }
        std::filesystem::path name(".");
        name += job.output.filename();
        name += ".quillex-" + std::to_string(CurrentProcessId()) + ".part";
        const std::filesystem::path file = job.output.parent_path() / name;
        // Input k's share of the whole run, for the share bar: each input alike.
        PartMeter share(&meter, kUnit * jobs.size(), kUnit * k, kUnit);
        try {
            RunOne(steps, recipeName, job.input, file, share);
            staged.files.push_back({file, job.output, k});
        } catch (const WorkCancelled&) {
            throw;
        } catch (const std::bad_alloc&) {
            outcome.failure = "not enough memory";
        } catch (const std::exception& e) {
            outcome.failure = e.what();
        }
    }
    meter.StopIfAsked();  // the last moment a cancel leaves the folder as it was
    for (Staged& result : staged.files) {
        std::error_code ec;
        std::filesystem::rename(result.file, result.target, ec);
        if (!ec) {
            result.file.clear();
        } else {
            outcomes[result.job].failure = PathText(result.target) + ": " + ec.message();
        }
    }
    return outcomes;
}

}  // namespace quillex
