// File format cases that need POSIX: symbolic links, permission bits, resource limits and a
// child process to apply them in.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include "core/child_process.h"
#include "core/file_backup.h"
#include "core/file_format.h"
#include "core/file_view.h"
#include "core/temp_dir.h"

namespace fs = std::filesystem;

namespace quillex {
namespace {

using Lines = std::vector<std::string>;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(FileFormat, SaveKeepsPermissionsAndWritesThroughASymbolicLink) {
    TempDir dir;
    WriteBytes(dir / "real.txt", "old\r\n");
    fs::permissions(dir / "real.txt",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.txt", dir / "link.txt");
    SaveLines({"via link"}, dir / "link.txt");
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(ReadBytes(dir / "real.txt"), "via link\r\n");
    EXPECT_EQ(fs::status(dir / "real.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(FileFormat, AFailedSaveLeavesTheOldFileUntouched) {
    TempDir dir;
    WriteBytes(dir / "f.txt", "precious\r\n");
    Lines huge(4096, std::string(1024, 'z'));  // 4 MiB, past the file size limit below
    bool failed = testing::RunInChild(
        [] {
            std::signal(SIGXFSZ, SIG_IGN);  // exceeding the limit then fails the write
            rlimit limit{1 << 20, 1 << 20};
            setrlimit(RLIMIT_FSIZE, &limit);
        },
        [&] {
            try {
                SaveLines(huge, dir / "f.txt");
                return false;
            } catch (const FileError&) {
                return true;
            }
        });
    EXPECT_TRUE(failed);
    EXPECT_EQ(ReadBytes(dir / "f.txt"), "precious\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// A small tmpfs over `at`, seen by this process only; false where the system does not let the
// test mount one (no root, no namespace of its own).
bool MountSmallDisk(const fs::path& at, const char* options) {
    return unshare(CLONE_NEWNS) == 0 &&
           mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("tmpfs", at.c_str(), "tmpfs", 0, options) == 0;
}

// A real full disk: with no inode left no temporary file can be made, with no space left the
// write fails; either way the target keeps its bytes and nothing else is left.
TEST(FileFormat, AFullDiskKeepsTheTarget) {
    TempDir dir;
    if (!testing::RunInChild([] {}, [&] { return MountSmallDisk(dir.path(), "size=1m"); })) {
        GTEST_SKIP() << "no tmpfs can be mounted here";
    }
    const std::string old(360000, 'o');
    const Lines lines(14000, std::string(98, 'n'));  // 1.4 MB
    for (const char* options : {"size=1m,nr_inodes=3", "size=1m"}) {
        EXPECT_TRUE(testing::RunInChild([] {},
                                        [&] {
                                            if (!MountSmallDisk(dir.path(), options)) {
                                                return false;
                                            }
                                            WriteBytes(dir / "target.txt", old);
                                            WriteBytes(dir / "empty", "");
                                            try {
                                                SaveLines(lines, dir / "target.txt");
                                                return false;
                                            } catch (const FileError&) {
                                            }
                                            return ReadBytes(dir / "target.txt") == old &&
                                                   std::distance(fs::directory_iterator(dir.path()),
                                                                 fs::directory_iterator()) == 2;
                                        }))
            << options;
    }
}

// The permission cases run without root's right to ignore permissions.
class FilePermissionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::permissions(dir_.path(), fs::perms::all);
        fs::create_directory(folder_);
    }
    TempDir dir_;
    fs::path folder_ = dir_ / "folder";
};

// No temporary file can be made there, and a write in place could destroy the file (a full
// disk): the save is refused and the file kept.
TEST_F(FilePermissionTest, AWritableFileInAReadOnlyFolderIsRefusedAndKept) {
    WriteBytes(folder_ / "f.txt", "old\r\n");
    fs::permissions(folder_ / "f.txt", fs::perms::all);
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(testing::RunUnprivileged([&] {
        try {
            SaveLines({"new"}, folder_ / "f.txt");
            return false;
        } catch (const FileError& error) {
            return std::string(error.what()).find("cannot make a temporary file in") !=
                   std::string::npos;
        }
    }));
    EXPECT_EQ(ReadBytes(folder_ / "f.txt"), "old\r\n");
}

TEST_F(FilePermissionTest, ANewFileInAReadOnlyFolderOrAReadOnlyFileFails) {
    fs::permissions(folder_, fs::perms::all);
    WriteBytes(folder_ / "ro.txt", "keep\r\n");
    fs::permissions(folder_ / "ro.txt", fs::perms::owner_read | fs::perms::others_read);
    fs::create_directory(folder_ / "locked");
    fs::permissions(folder_ / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(testing::RunUnprivileged([&] {
        auto fails = [](const fs::path& path) {
            try {
                SaveLines({"x"}, path);
                return false;
            } catch (const FileError&) {
                return true;
            }
        };
        return fails(folder_ / "ro.txt") && fails(folder_ / "locked" / "new.txt");
    }));
    EXPECT_EQ(ReadBytes(folder_ / "ro.txt"), "keep\r\n");
    EXPECT_FALSE(fs::exists(folder_ / "locked" / "new.txt"));
}

TEST_F(FilePermissionTest, AnUnreadableFileFailsToLoad) {
    fs::permissions(folder_, fs::perms::all);
    WriteBytes(folder_ / "secret.txt", "x\r\n");
    fs::permissions(folder_ / "secret.txt", fs::perms::none);
    EXPECT_TRUE(testing::RunUnprivileged([&] {
        try {
            LoadLines(folder_ / "secret.txt");
            return false;
        } catch (const FileError&) {
            return true;
        }
    }));
}

// Inputs that may never end or wait forever for a writer are refused at once, saying what
// they are; a child process with an alarm stands guard should a load wait after all.
TEST(FileFormat, APipeASocketOrADeviceAsInputIsRefusedAtOnce) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    const int server = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socket_path = (dir / "socket").string();
    ASSERT_LT(socket_path.size(), sizeof address.sun_path);
    socket_path.copy(address.sun_path, socket_path.size());
    ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::pair<fs::path, const char*> cases[] = {
        {dir / "fifo", "is a pipe"},
        {dir / "socket", "is a socket"},
        {"/dev/null", "is a character device"},
    };
    for (const auto& [path, says] : cases) {
        EXPECT_TRUE(testing::RunInChild([] { alarm(10); },
                                        [&] {
                                            try {
                                                LoadLines(path);
                                                return false;
                                            } catch (const FileError& e) {
                                                return std::string(e.what()).find(says) !=
                                                       std::string::npos;
                                            }
                                        }))
            << path;
    }
    close(server);
}

// An output that is not a plain file gets the data as it is, with no flush to a disk it does
// not have; a pipe with no reader is refused at once rather than waited on.
TEST(FileFormat, ADeviceOrAPipeAsOutputIsWrittenAndAPipeWithoutAReaderRefused) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    const Lines lines(1000, std::string(100, 'p'));  // more than a pipe holds
    EXPECT_TRUE(testing::RunInChild(
        [] { alarm(10); },
        [&] {
            try {
                SaveLines(lines, dir / "fifo");
                return false;
            } catch (const FileError& e) {
                return std::string(e.what()).find("is a pipe with no reader") != std::string::npos;
            }
        }));
    const pid_t reader = testing::StartChild([&] {
        alarm(10);
        std::_Exit(ReadBytes(dir / "fifo").size() == 1000 * 102 ? 0 : 1);
    });
    EXPECT_TRUE(testing::RunInChild([] { alarm(10); },
                                    [&] {
                                        // Retried until the reader has opened its end.
                                        for (int i = 0; i < 1000; ++i) {
                                            try {
                                                SaveLines(lines, dir / "fifo");
                                                SaveLines(lines, "/dev/null");
                                                return true;
                                            } catch (const FileError&) {
                                                std::this_thread::sleep_for(
                                                    std::chrono::milliseconds(5));
                                            }
                                        }
                                        return false;
                                    }));
    int status = 0;
    ASSERT_EQ(waitpid(reader, &status, 0), reader);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
}

// Links are followed by the kernel: a dangling one gets the file it names, a loop is an
// error that leaves it as it is; and a path near the system's length limit, whose temporary
// file's path would pass it, is still saved.
TEST(FileFormat, DanglingLinksLinkLoopsAndPathsNearTheLengthLimit) {
    TempDir dir;
    fs::create_symlink("named.txt", dir / "dangling.txt");
    SaveLines({"made"}, dir / "dangling.txt");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.txt"));
    EXPECT_EQ(ReadBytes(dir / "named.txt"), "made\r\n");

    fs::create_symlink("loop.txt", dir / "loop.txt");
    try {
        SaveLines({"x"}, dir / "loop.txt");
        ADD_FAILURE() << "a link loop was saved";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find(std::strerror(ELOOP)), std::string::npos);
    }
    EXPECT_TRUE(fs::is_symlink(dir / "loop.txt"));

    fs::path deep = dir.path();
    while (deep.native().size() < 4000) {
        deep /= std::string(200, 'd');
    }
    fs::create_directories(deep);
    const fs::path target = deep / (std::string(4080 - deep.native().size(), 'f'));
    WriteBytes(target, "old\r\n");
    SaveLines({"new"}, target);
    EXPECT_EQ(ReadBytes(target), "new\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(deep), fs::directory_iterator()), 1);
}

// Undo copies may hold a private file's secret and outlive a crash: their folders are the
// owner's alone, and a copy is never readable by more users than its original; a folder
// above them that was already there stays as it was.
TEST(FileFormat, UndoCopiesAreNoMoreReadableThanTheirOriginals) {
    TempDir dir;
    fs::create_directory(dir / "cache");
    fs::permissions(dir / "cache", fs::perms::all);
    fs::create_directories(dir / "old" / "undo");
    fs::permissions(dir / "old" / "undo", fs::perms::all);
    using enum fs::perms;
    const std::pair<fs::perms, fs::perms> cases[] = {
        {owner_read | owner_write, owner_read | owner_write},
        {owner_read | owner_write | group_read | others_read, owner_read | owner_write},
        {owner_read, owner_read},
    };
    for (const fs::path& folder : {dir / "cache" / "Quillex" / "undo", dir / "old" / "undo"}) {
        for (const auto& [original, copy] : cases) {
            WriteBytes(dir / "f.txt", "secret\r\n");
            fs::permissions(dir / "f.txt", original);
            std::optional<FileBackup> backup = KeepBackup(folder, dir / "f.txt");
            ASSERT_TRUE(backup);
            EXPECT_EQ(fs::status(backup->copy).permissions(), copy);
            fs::permissions(dir / "f.txt", owner_read | owner_write);
            ExchangeWithBackup(*backup);
            fs::permissions(dir / "f.txt", original);
            EXPECT_EQ(fs::status(backup->copy).permissions(), owner_read | owner_write);
            RemoveBackup(*backup);
        }
        EXPECT_EQ(fs::status(folder).permissions(), owner_all) << folder;
    }
    EXPECT_EQ(fs::status(dir / "cache" / "Quillex").permissions(), owner_all);
    EXPECT_EQ(fs::status(dir / "cache").permissions(), all);  // there already: not ours to change
}

TEST(FileView, AFileCutShortUnderAViewIsToldAndAnyOtherFaultStillEndsTheProcess) {
    TempDir dir;
    const std::string bytes(std::size_t{1} << 20, 'x');
    WriteBytes(dir / "in.txt", bytes);
    const int fd = ::open((dir / "in.txt").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    {
        FileView view(fd, 4106, bytes.size() - 4106);  // from within a page
        ASSERT_TRUE(view.Mapped());
        const std::string_view seen = view.Bytes(4106, bytes.size());
        EXPECT_EQ(seen.substr(0, 3), "xxx");
        fs::resize_file(dir / "in.txt", 8192);
        // Read past the file's new end: zeros, and the view is marked, instead of SIGBUS.
        const auto zeros = std::count(seen.begin(), seen.end(), '\0');
        EXPECT_EQ(static_cast<std::size_t>(zeros), bytes.size() - 8192);
        EXPECT_TRUE(view.Cut());
    }
    EXPECT_FALSE(FileView(fd, 0, 8192).Cut());
    // A mapping that is no view's faults as it would without the guard.
    EXPECT_DEATH(
        {
            void* map = ::mmap(nullptr, bytes.size(), PROT_READ, MAP_SHARED, fd, 0);
            std::printf("%d\n", static_cast<volatile const char*>(map)[bytes.size() / 2]);
        },
        "");
    ::close(fd);
}

}  // namespace
}  // namespace quillex
