#include "core/file_jobs.h"

#include <algorithm>
#include <compare>
#include <cstdint>
#include <map>
#include <system_error>
#include <variant>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "core/file_format.h"

namespace quillex {

namespace fs = std::filesystem;

namespace {

// A file as the system knows it, whatever name leads to it: a link, a hard link and a folder
// named two ways each give the one identity of the file itself.
struct Identity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    auto operator<=>(const Identity&) const = default;
};

// None where nothing is there (or it cannot be reached).
std::optional<Identity> IdentityOf(const fs::path& path) {
#if defined(_WIN32)
    // Backup semantics opens a folder too; no access is asked for, so no sharing is refused.
    HANDLE handle =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!known) {
        return std::nullopt;
    }
    return Identity{info.dwVolumeSerialNumber,
                    (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return Identity{static_cast<std::uint64_t>(info.st_dev),
                    static_cast<std::uint64_t>(info.st_ino)};
#endif
}

std::string Quoted(const fs::path& path) {
    // Appended, not joined with operator+, which GCC 12 at -O3 reports as an overlapping copy.
    std::string quoted(1, '\'');
    quoted.append(PathText(path)).push_back('\'');
    return quoted;
}

// The files under `folder`, sorted, each with its output under its path in the folder; the
// folder `skipped` (where the results go) is not walked. A folder that cannot be read to its
// end fails on its own, after the files found.
void AddFolder(const fs::path& folder, const std::optional<fs::path>& outputFolder,
               const std::optional<Identity>& skipped, std::vector<FileJob>& jobs) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator at(folder, ec), end; !ec && at != end; at.increment(ec)) {
        std::error_code unknown;
        if (at->is_directory(unknown)) {
            if (skipped && IdentityOf(at->path()) == skipped) {
                at.disable_recursion_pending();
            }
            continue;
        }
        files.push_back(at->path());
    }
    std::sort(files.begin(), files.end());
    for (fs::path& file : files) {
        fs::path output = outputFolder ? *outputFolder / file.lexically_relative(folder) : file;
        jobs.push_back({std::move(file), std::move(output), {}});
    }
    if (ec) {
        jobs.push_back(
            {folder,
             {},
             FileError(folder, "a folder in it cannot be read: " + ec.message()).what()});
    }
}

// The outputs that would write over an input or over each other.
void CheckOutputs(const std::vector<FileJob>& jobs, bool inPlace) {
    std::map<Identity, const FileJob*> inputs;
    for (const FileJob& job : jobs) {
        const std::optional<Identity> id =
            job.failure.empty() ? IdentityOf(job.input) : std::nullopt;
        if (!id) {
            continue;  // its load will say why
        }
        const auto [first, added] = inputs.emplace(*id, &job);
        if (!added && inPlace) {
            throw FileJobsRefused(Quoted(job.input) + " is the same file as " +
                                  Quoted(first->second->input) + ", which is rewritten once");
        }
    }
    if (inPlace) {
        return;
    }
    // An output not there yet is known by its name only.
    std::map<std::variant<Identity, fs::path>, const FileJob*> outputs;
    for (const FileJob& job : jobs) {
        if (!job.failure.empty()) {
            continue;
        }
        const std::optional<Identity> id = IdentityOf(job.output);
        if (const auto input = id ? inputs.find(*id) : inputs.end(); input != inputs.end()) {
            throw FileJobsRefused(
                input->second == &job
                    ? Quoted(job.input) + " would be written over by its own output " +
                          Quoted(job.output) + "; --in-place rewrites files where they are"
                    : Quoted(job.input) + ": its output " + Quoted(job.output) + " is the input " +
                          Quoted(input->second->input));
        }
        std::error_code ec;
        const std::variant<Identity, fs::path> key =
            id ? std::variant<Identity, fs::path>(*id)
               : std::variant<Identity, fs::path>(fs::absolute(job.output, ec).lexically_normal());
        if (const auto [first, added] = outputs.emplace(key, &job); !added) {
            throw FileJobsRefused(Quoted(first->second->input) + " and " + Quoted(job.input) +
                                  " would both be written to " + Quoted(job.output));
        }
    }
}

}  // namespace

std::vector<FileJob> PlanFileJobs(const std::vector<fs::path>& inputs,
                                  const std::optional<fs::path>& outputFolder, bool recursive) {
    const std::optional<Identity> outputIdentity =
        outputFolder ? IdentityOf(*outputFolder) : std::nullopt;
    std::vector<FileJob> jobs;
    for (const fs::path& input : inputs) {
        std::error_code ec;
        if (!fs::is_directory(input, ec)) {
            jobs.push_back({input, outputFolder ? *outputFolder / input.filename() : input, {}});
        } else if (recursive) {
            AddFolder(input, outputFolder, outputIdentity, jobs);
        } else {
            jobs.push_back(
                {input, {}, FileError(input, "is a folder; --recursive takes its files").what()});
        }
    }
    CheckOutputs(jobs, !outputFolder);
    return jobs;
}

}  // namespace quillex
