// File format cases that need POSIX: symbolic links, permission bits, resource limits and a
// child process to apply them in.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>

#include "core/child_process.h"
#include "core/file_format.h"
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

TEST_F(FilePermissionTest, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
    WriteBytes(folder_ / "f.txt", "old\r\n");
    fs::permissions(folder_ / "f.txt", fs::perms::all);
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(testing::RunUnprivileged([&] {
        SaveLines({"new"}, folder_ / "f.txt");
        return true;
    }));
    EXPECT_EQ(ReadBytes(folder_ / "f.txt"), "new\r\n");
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

}  // namespace
}  // namespace quillex
