// File cases that only Windows can fail: text-mode conversions, wide-character names, path
// length limits and files that another program holds open.
#include <gtest/gtest.h>
#include <share.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

#include "core/file_format.h"
#include "core/file_io.h"
#include "core/temp_dir.h"

namespace fs = std::filesystem;

namespace quillex {
namespace {

using Lines = std::vector<std::string>;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using namespace std::string_literals;

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(WindowsFiles, CyrillicNameIsStoredAsItsWideNameAndNamedInMessages) {
    TempDir dir;
    const fs::path path = dir / "" / fs::path(u8"Отчёт Ёжика.txt");
    SaveLines({"\xCE\xF2"}, path);
    ASSERT_EQ(EntriesIn(dir.path()), 1u);
    EXPECT_EQ(fs::directory_iterator(dir.path())->path().filename().wstring(),
              L"\u041E\u0442\u0447\u0451\u0442 \u0401\u0436\u0438\u043A\u0430.txt");
    EXPECT_EQ(LoadLines(path), Lines{"\xCE\xF2"});

    const fs::path missing = dir / "" / fs::path(u8"Нет такого.txt");
    try {
        LoadLines(missing);
        ADD_FAILURE() << "loading a missing file succeeded";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("\xD0\x9D\xD0\xB5\xD1\x82 "),
                  std::string::npos)
            << error.what();  // the name in UTF-8
    }
}

TEST(WindowsFiles, LoneCrAndLoneLfEndLinesAndNothingIsTranslated) {
    TempDir dir;
    WriteBytes(dir / "mixed.txt", "cr\rlf\ncrlf\r\nlast");
    Lines lines = LoadLines(dir / "mixed.txt");
    EXPECT_EQ(lines, (Lines{"cr", "lf", "crlf", "last"}));
    SaveLines(lines, dir / "mixed.txt");
    EXPECT_EQ(ReadBytes(dir / "mixed.txt"), "cr\r\nlf\r\ncrlf\r\nlast\r\n");
}

TEST(WindowsFiles, CtrlZIsDataAndNulEndsTheText) {
    TempDir dir;
    WriteBytes(dir / "bytes.txt",
               "\x1A"
               "a\x1A\r\n\x1A\r\nb\0after\r\n"s);
    Lines lines = LoadLines(dir / "bytes.txt");
    EXPECT_EQ(lines, (Lines{"\x1A"
                            "a\x1A",
                            "\x1A", "b"}));
    SaveLines(lines, dir / "out.txt");
    EXPECT_EQ(ReadBytes(dir / "out.txt"),
              "\x1A"
              "a\x1A\r\n\x1A\r\nb\r\n");
}

// Saving goes through a temporary file and a rename that must replace the old file.
TEST(WindowsFiles, SaveReplacesTheFileAndLeavesNoTemporaryFiles) {
    TempDir dir;
    WriteBytes(dir / "f.txt", "old\r\n");
    fs::create_hard_link(dir / "f.txt", dir / "other-name.txt");
    SaveLines({"new"}, dir / "f.txt");
    EXPECT_EQ(ReadBytes(dir / "f.txt"), "new\r\n");
    // Replaced, not written in place: the second name still has the old content.
    EXPECT_EQ(ReadBytes(dir / "other-name.txt"), "old\r\n");
    EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

TEST(WindowsFiles, ExclusiveCreationRefusesAnExistingFile) {
    TempDir dir;
    WriteBytes(dir / "taken.txt", "keep");
    errno = 0;
    CFile file(dir / "taken.txt", "wbx");
    EXPECT_FALSE(file);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadBytes(dir / "taken.txt"), "keep");
    EXPECT_TRUE(CFile(dir / "free.txt", "wbx"));
}

// The read-only attribute is what Windows has of permission bits: a replaced file stays
// writable, and a read-only file is not replaced.
TEST(WindowsFiles, AWritableFileStaysWritableAndAReadOnlyFileIsNotReplaced) {
    TempDir dir;
    WriteBytes(dir / "rw.txt", "old\r\n");
    SaveLines({"new"}, dir / "rw.txt");
    EXPECT_NE(fs::status(dir / "rw.txt").permissions() & fs::perms::owner_write, fs::perms::none);

    WriteBytes(dir / "ro.txt", "old\r\n");
    fs::permissions(dir / "ro.txt",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    if (CFile(dir / "ro.txt", "r+b")) {
        GTEST_SKIP() << "this system opens read-only files for writing (wine run as root)";
    }
    EXPECT_THROW(SaveLines({"new"}, dir / "ro.txt"), FileError);
    EXPECT_EQ(ReadBytes(dir / "ro.txt"), "old\r\n");
    EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

// Windows may refuse to replace a file that is open; the save then either succeeds in some
// other way or fails with a FileError, and never loses the old content.
void ExpectSaveSucceedsOrKeepsTheOldContent(const fs::path& path, const fs::path& folder) {
    try {
        SaveLines({"new"}, path);
        EXPECT_EQ(ReadBytes(path), "new\r\n");
    } catch (const FileError& error) {
        EXPECT_EQ(ReadBytes(path), "old\r\n") << error.what();
    }
    EXPECT_EQ(EntriesIn(folder), 1u);
}

TEST(WindowsFiles, ReplacingAFileOpenForReadingWithAStream) {
    TempDir dir;
    WriteBytes(dir / "open.txt", "old\r\n");
    std::ifstream reader(dir / "open.txt", std::ios::binary);
    ASSERT_TRUE(reader);
    ExpectSaveSucceedsOrKeepsTheOldContent(dir / "open.txt", dir.path());
}

TEST(WindowsFiles, ReplacingAFileThatAnotherProgramKeepsFromWriting) {
    TempDir dir;
    WriteBytes(dir / "locked.txt", "old\r\n");
    std::FILE* reader = ::_wfsopen((dir / "locked.txt").c_str(), L"rb", _SH_DENYWR);
    ASSERT_NE(reader, nullptr);
    EXPECT_THROW(SaveLines({"new"}, dir / "locked.txt"), FileError);
    std::fclose(reader);
    EXPECT_EQ(ReadBytes(dir / "locked.txt"), "old\r\n");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

// A path beyond the classic 260-character limit: with the \\?\ prefix the wide-character
// file functions take it; without it, a system that is not long-path aware may refuse, and
// then the refusal must be a clean FileError.
fs::path DeepFolder(const fs::path& base) {
    fs::path deep = base;
    while (deep.native().size() < 300) {
        deep /= std::string(40, 'd');
    }
    return deep;
}

TEST(WindowsFiles, PathLongerThan260Characters) {
    TempDir dir;
    const fs::path prefixed = L"\\\\?\\" + fs::absolute(dir.path()).native();
    const fs::path deep = DeepFolder(prefixed);
    fs::create_directories(deep);
    const fs::path file = deep / "long.txt";
    ASSERT_GT(file.native().size(), 260u);
    SaveLines({"far", "away"}, file);
    EXPECT_EQ(LoadLines(file), (Lines{"far", "away"}));

    // The same folder without the prefix.
    const fs::path plain = fs::path(deep.native().substr(4)) / "plain.txt";
    try {
        SaveLines({"plain"}, plain);
        EXPECT_EQ(LoadLines(plain), Lines{"plain"});
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), plain);
    }
    // The library's recursive removal stops at the limit: remove deepest first, by long names.
    std::error_code ec;
    fs::remove(file, ec);
    fs::remove(deep / "plain.txt", ec);
    for (fs::path folder = deep; folder != prefixed; folder = folder.parent_path()) {
        fs::remove(folder, ec);
    }
    EXPECT_EQ(EntriesIn(dir.path()), 0u);
}

}  // namespace
}  // namespace quillex
