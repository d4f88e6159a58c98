#include "app/batch_many.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "app/batch_progress.h"
#include "app/batch_streams.h"
#include "core/file_format.h"
#include "core/file_jobs.h"

namespace quillex::batch {

namespace {

namespace fs = std::filesystem;

std::string Named(const fs::path& input, const std::string& reason) {
    // Appended, not joined with operator+, which GCC 12 at -O3 reports as an overlapping copy.
    std::string named(1, '\'');
    named.append(PathText(input)).append("': ").append(reason);
    return named;
}

// Runs one input, or prints why it did not run; true if it did.
bool RunJob(const Work& work, const FileJob& job, ProgressLine& line) {
    std::string failure = job.failure;
    try {
        if (failure.empty()) {
            std::error_code ec;
            const fs::path folder = job.output.parent_path();
            if (!folder.empty() && !fs::create_directories(folder, ec) && ec) {
                throw FileError(folder, ec.message());
            }
            RunFile(work, job.input, job.output, PathText(job.input) + ": ", &line);
            return true;
        }
    } catch (const StreamError&) {
        throw;  // no file after it could report either
    } catch (const FileError& e) {
        failure = e.path() == job.input ? e.what() : Named(job.input, e.what());
    } catch (const std::bad_alloc&) {
        failure = Named(job.input, "not enough memory");
    } catch (const std::exception& e) {
        failure = Named(job.input, e.what());
    }
    line.Clear();
    std::fprintf(stderr, "quillex-batch: %s.\n", failure.c_str());
    return false;
}

}  // namespace

int RunMany(const Work& work, const Options& options, ProgressLine& line) {
    std::vector<fs::path> inputs;
    for (const std::string& input : options.inputs) {
        inputs.push_back(ArgumentPath(input));
    }
    const std::vector<FileJob> jobs =
        PlanFileJobs(inputs,
                     options.outputDir ? std::optional<fs::path>(ArgumentPath(*options.outputDir))
                                       : std::nullopt,
                     options.recursive);
    if (work.encoding) {
        StepsIn(work, *work.encoding);  // a text it cannot hold fails every file alike
    }
    // The line shows the share of all the inputs' bytes.
    std::vector<std::uint64_t> sizes;
    std::uint64_t all = 0;
    for (const FileJob& job : jobs) {
        all += sizes.emplace_back(job.failure.empty() ? InputSize(job.input) : 0);
    }
    std::size_t failed = 0;
    std::uint64_t before = 0;
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        line.Within(before, all);
        failed += RunJob(work, jobs[k], line) ? 0 : 1;
        before += sizes[k];
    }
    line.Clear();
    const std::size_t done = jobs.size() - failed;
    std::printf("%zu file%s done, %zu failed\n", done, done == 1 ? "" : "s", failed);
    FlushStandardOutput();
    return failed == 0 ? 0 : 1;
}

}  // namespace quillex::batch
