// The safe writer with a failure injected at one step of a save (the making of the temporary
// file, a write, a flush, the sync, the close or the rename), at any of its occurrences: the
// target holds exactly its old bytes or the new ones, keeps its permissions, the save fails if
// and only if the injected failure was met, and no temporary file is left.
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_format.h"
#include "core/write_faults.h"
#include "fuzz/finding.h"
#include "fuzz/scratch.h"

using namespace quillex;
using fuzz::Require;
namespace fs = std::filesystem;

namespace {

// The failure to inject: the `occurrence`th time (from 0) the save reaches `step`.
struct Fault {
    WriteStep step = WriteStep::kWrite;
    int occurrence = 0;
    int error = ENOSPC;
    int reached = 0;
    bool met = false;
};
Fault g_fault;

int Inject(WriteStep step) {
    if (step != g_fault.step || g_fault.reached++ != g_fault.occurrence) {
        return 0;
    }
    g_fault.met = true;
    return g_fault.error;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto pick = [&in](std::size_t count) {
        return in.ConsumeIntegralInRange<std::size_t>(0, count - 1);
    };
    constexpr WriteStep kSteps[] = {WriteStep::kCreate, WriteStep::kWrite, WriteStep::kFlush,
                                    WriteStep::kSync,   WriteStep::kClose, WriteStep::kRename};
    constexpr int kErrors[] = {ENOSPC, EIO, EDQUOT, EBUSY, EXDEV, EACCES, EEXIST};
    constexpr mode_t kModes[] = {0600, 0640, 0644, 0604};
    g_fault = Fault{.step = kSteps[pick(std::size(kSteps))],
                    .occurrence = static_cast<int>(pick(4)),
                    .error = kErrors[pick(std::size(kErrors))]};
    const bool existed = pick(4) != 0;
    const bool viaLink = pick(4) == 0;
    const mode_t mode = kModes[pick(std::size(kModes))];
    const std::string old = in.ConsumeRandomLengthString(64);
    // The new content in a few pieces, so that the writes occur several times.
    std::vector<std::string> parts(1 + pick(4));
    for (std::string& part : parts) {
        part = in.ConsumeRandomLengthString(64);
    }
    TextPieces pieces(parts.begin(), parts.end());
    std::string added;
    for (const std::string& part : parts) {
        added += part;
    }

    const fs::path target = fuzz::ScratchFolder() / "target.txt";
    const fs::path link = fuzz::ScratchFolder() / "link.txt";
    std::error_code ec;
    fs::remove_all(fuzz::ScratchFolder(), ec);
    fs::create_directories(fuzz::ScratchFolder());
    if (existed) {
        std::ofstream(target, std::ios::binary) << old;
        ::chmod(target.c_str(), mode);
    }
    if (viaLink) {
        fs::create_symlink(target.filename(), link);
    }

    SetWriteFaultHook(Inject);
    bool failed = false;
    try {
        SaveText(pieces, viaLink ? link : target);
    } catch (const FileError&) {
        failed = true;
    }
    SetWriteFaultHook(nullptr);

    // Only an existing name is tried again under another name; every other failure counts.
    const bool mustFail =
        g_fault.met && !(g_fault.step == WriteStep::kCreate && g_fault.error == EEXIST);
    Require(failed == mustFail, failed ? "a save failed with no failure injected"
                                       : "an injected failure went unnoticed");
    if (failed) {
        Require(fs::exists(target) == existed, "a failed save made or removed the target");
        Require(!existed || fuzz::FileBytes(target) == old, "a failed save changed the target");
    } else {
        Require(fuzz::FileBytes(target) == added, "the saved target does not hold the new bytes");
    }
    struct stat info {};
    Require(!existed || (::stat(target.c_str(), &info) == 0 && (info.st_mode & 07777) == mode),
            "the target's permissions changed");
    Require(!viaLink || fs::is_symlink(link), "the link was replaced");
    const auto entries =
        std::distance(fs::directory_iterator(fuzz::ScratchFolder()), fs::directory_iterator());
    Require(entries == (fs::exists(target) ? 1 : 0) + (viaLink ? 1 : 0),
            "a temporary file was left beside the target");
    return 0;
}
