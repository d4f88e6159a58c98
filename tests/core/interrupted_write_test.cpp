// A save interrupted by a signal, or by a kill no handler sees, leaves no file of its own.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <thread>

#include "core/child_process.h"
#include "core/file_format.h"
#include "core/temp_dir.h"
#include "core/temp_files.h"

namespace fs = std::filesystem;

namespace quillex {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Waits until a temporary file beside `target` holds data: the save is under way.
bool WaitForTemporary(const fs::path& folder, const std::string& target_name) {
    for (int i = 0; i < 20000; ++i) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            long pid = 0;
            std::error_code ec;
            if (IsTemporaryName(entry.path().filename().string(), target_name, pid) &&
                fs::file_size(entry.path(), ec) > 0) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST(InterruptedWrite, ASignalDuringASaveRemovesTheTemporaryFile) {
    const std::vector<std::string> lines(1 << 16, std::string(1023, 'x'));  // 64 MiB
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        TempDir dir;
        WriteBytes(dir / "f.txt", "precious\r\n");
        const pid_t child = testing::StartChild([&] {
            for (;;) {
                SaveLines(lines, dir / "f.txt");
            }
        });
        ASSERT_GT(child, 0);
        const bool writing = WaitForTemporary(dir.path(), "f.txt");
        kill(child, signal);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(writing) << signal;
        // Ended by the signal itself, as it would have without the cleanup.
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(FilesIn(dir.path()), std::vector<fs::path>{"f.txt"}) << signal;
        const auto size = fs::file_size(dir / "f.txt");
        EXPECT_TRUE(size == 10 || size == std::size_t{1} << 26) << size;
    }
}

// What a kill -9 leaves is removed by the next save of the same target, and only that:
// files of running processes, of other targets and of other names stay.
TEST(InterruptedWrite, TheNextSaveRemovesTemporaryFilesOfEndedProcesses) {
    TempDir dir;
    const pid_t ended = testing::StartChild([] {});
    ASSERT_GT(ended, 0);
    waitpid(ended, nullptr, 0);
    const std::string dead = std::to_string(ended);
    const std::string alive = std::to_string(getppid());
    const std::vector<std::string> kept = {
        ".f.txt." + alive + "-7-0.tmp",     // a save under way in another process
        ".g.txt." + dead + "-7-0.tmp",      // another target
        ".f.txt." + dead + "-7-0.tmp.bak",  // not our pattern
        ".f.txt." + dead + "-x-0.tmp",     "f.txt." + dead + "-7-0.tmp", "f.txt",
    };
    for (const std::string& name : kept) {
        WriteBytes(dir / name, "x");
    }
    WriteBytes(dir / (".f.txt." + dead + "-123-0.tmp"), "left by kill -9");
    WriteBytes(dir / (".f.txt." + dead + "-4-7.tmp"), "");
    SaveLines({"new"}, dir / "f.txt");
    std::vector<fs::path> expected(kept.begin(), kept.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesIn(dir.path()), expected);
    EXPECT_EQ(ReadBytes(dir / "f.txt"), "new\r\n");
}

// A real kill -9 in the middle of a save, for a short name and for one so long that the
// temporary file holds only the front of it.
TEST(InterruptedWrite, AKilledSaveIsClearedByTheNextSaveOfItsTarget) {
    for (const std::string& name : {std::string("f.txt"), std::string(240, 'n') + ".txt"}) {
        TempDir dir;
        const pid_t child = testing::StartChild([&] {
            TemporaryFile left(dir / name, 0600);
            raise(SIGKILL);
        });
        ASSERT_GT(child, 0);
        waitpid(child, nullptr, 0);
        ASSERT_EQ(FilesIn(dir.path()).size(), 1u) << name.size();
        SaveLines({"new"}, dir / name);
        EXPECT_EQ(FilesIn(dir.path()), std::vector<fs::path>{name}) << name.size();
    }
}

}  // namespace
}  // namespace quillex
