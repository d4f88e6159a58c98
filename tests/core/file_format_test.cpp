#include "core/file_format.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <ostream>

#include "core/document_lines.h"
#include "core/input_check.h"
#include "core/temp_dir.h"
#include "core/write_faults.h"

namespace fs = std::filesystem;

namespace quillex {
namespace {

using Lines = std::vector<std::string>;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using namespace std::string_literals;

struct FileCase {
    const char* name;
    std::string on_disk;
    Lines lines;
    std::string saved;  // what saving the loaded lines writes back
    std::optional<std::uint64_t> nulOffset = {};
};

constexpr std::size_t kMib = std::size_t{1} << 20;

std::ostream& operator<<(std::ostream& os, const FileCase& c) {
    return os << c.name;
}

class FileFormatTest : public ::testing::TestWithParam<FileCase> {
  protected:
    TempDir dir_;
};

TEST_P(FileFormatTest, LoadsByTheRuleAndSavesWithCrLf) {
    const FileCase& c = GetParam();
    WriteBytes(dir_ / "in.txt", c.on_disk);
    LoadReport report;
    Lines lines = LoadLines(dir_ / "in.txt", &report);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(report.nulOffset, c.nulOffset);
    SaveLines(lines, dir_ / "out.txt");
    EXPECT_EQ(ReadBytes(dir_ / "out.txt"), c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, FileFormatTest,
    ::testing::Values(
        FileCase{"Empty", "", {}, ""}, FileCase{"LfOnly", "a\nb\n", {"a", "b"}, "a\r\nb\r\n"},
        FileCase{"NoFinalBreak", "a\r\nb", {"a", "b"}, "a\r\nb\r\n"},
        FileCase{"EndsInCrLfCrLf", "a\r\n\r\n", {"a", ""}, "a\r\n\r\n"},
        FileCase{"LoneCr", "a\rb", {"a", "b"}, "a\r\nb\r\n"},
        FileCase{"LfCr", "a\n\rb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
        FileCase{"NulEndsTheText", "ab\0cd\r\n"s, {"ab"}, "ab\r\n", 2},
        FileCase{"NulPastTheFirstMegabyte",
                 std::string(kMib + 3, 'a') + "\0b"s,
                 {std::string(kMib + 3, 'a')},
                 std::string(kMib + 3, 'a') + "\r\n",
                 kMib + 3},
        FileCase{
            "MarkBytesWithoutANulAreText", "\xFF\xFE\x41", {"\xFF\xFE\x41"}, "\xFF\xFE\x41\r\n"},
        FileCase{"ByteOrderMarkBytesInsideALine",
                 "x\xFF\xFE\x41\x00"s,
                 {"x\xFF\xFE\x41"},
                 "x\xFF\xFE\x41\r\n",
                 4},
        FileCase{"Utf8Bom", "\xEF\xBB\xBFtext\n", {"\xEF\xBB\xBFtext"}, "\xEF\xBB\xBFtext\r\n"},
        FileCase{"CtrlZIsData", "a\x1A b\r\n", {"a\x1A b"}, "a\x1A b\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileFormat, EveryByteValueButTheBreaksRoundTrips) {
    TempDir dir;
    std::string text;
    Lines expected;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n') {
            // Built in place: "x" + std::string(...) makes GCC 12 warn of an overlapping copy.
            const std::string line{'x', static_cast<char>(b), 'y'};
            text += line + "\r\n";
            expected.push_back(line);
        }
    }
    WriteBytes(dir / "all.txt", text);
    EXPECT_EQ(LoadLines(dir / "all.txt"), expected);
    SaveLines(expected, dir / "again.txt");
    EXPECT_EQ(ReadBytes(dir / "again.txt"), text);
}

TEST(FileFormat, LinesLongerThanOneReadAndBreaksAcrossReads) {
    TempDir dir;
    const std::size_t mib = std::size_t{1} << 20;
    std::string big(3 * mib + 7, 'q');
    std::string text = std::string(mib - 1, 'a') + "\r" + "\n" + big + "\r\n" + "end";
    WriteBytes(dir / "big.txt", text);
    Lines lines = LoadLines(dir / "big.txt");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), mib - 1);
    EXPECT_EQ(lines[1], big);
    EXPECT_EQ(lines[2], "end");
    SaveLines(lines, dir / "out.txt");
    EXPECT_EQ(ReadBytes(dir / "out.txt"), text + "\r\n");
}

TEST(FileFormat, CyrillicFileName) {
    TempDir dir;
    fs::path path = dir.path() / fs::path(u8"Документ ёж.txt");
    SaveLines({"\xC0\xE1"}, path);
    EXPECT_EQ(LoadLines(path), Lines{"\xC0\xE1"});
}

TEST(FileFormat, LoadFailuresNameThePathAndKeepTheDocument) {
    TempDir dir;
    DocumentLines doc(Lines{"kept"});
    // UTF-16 text, either byte order, is refused rather than loaded as a garbage line.
    WriteBytes(dir / "le.txt",
               "\xFF\xFE"
               "a\0b\0\r\0\n\0"s);
    WriteBytes(dir / "be.txt",
               "\xFE\xFF"
               "\0a\0b"s);
    for (const fs::path& bad : {dir / "missing.txt", dir.path(), dir / "le.txt", dir / "be.txt"}) {
        try {
            doc.LoadFromFile(bad);
            ADD_FAILURE() << "loading " << bad << " succeeded";
        } catch (const FileError& error) {
            EXPECT_NE(std::string(error.what()).find(PathText(bad)), std::string::npos);
            EXPECT_EQ(error.path(), bad);
        }
        EXPECT_EQ(doc.ToLines(), Lines{"kept"});
    }
}

TEST(FileFormat, SaveToAFolderOrAFullDiskFails) {
    TempDir dir;
    EXPECT_THROW(SaveLines({"a"}, dir.path()), FileError);
    if (fs::exists("/dev/full")) {
        EXPECT_THROW(SaveLines({"a"}, "/dev/full"), FileError);
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }
}

TEST(FileFormat, SaveReplacesAndLeavesNoTemporaryFiles) {
    TempDir dir;
    WriteBytes(dir / "f.txt", "old content\r\n");
    SaveLines({"new"}, dir / "f.txt");
    EXPECT_EQ(ReadBytes(dir / "f.txt"), "new\r\n");
    SaveLines({}, dir / "f.txt");
    EXPECT_EQ(ReadBytes(dir / "f.txt"), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// A failure at any step of a save, the rename included, leaves the target as it was (or
// absent, as it was) and no temporary file, and the message gives the step's reason.
int g_failAt = -1;
int FailChosenStep(WriteStep step) {
    return static_cast<int>(step) == g_failAt ? (step == WriteStep::kRename ? EBUSY : ENOSPC) : 0;
}

TEST(FileFormat, AFailureAtAnyStepOfASaveKeepsTheTarget) {
    SetWriteFaultHook(FailChosenStep);
    for (WriteStep step : {WriteStep::kCreate, WriteStep::kWrite, WriteStep::kFlush,
                           WriteStep::kSync, WriteStep::kClose, WriteStep::kRename}) {
        g_failAt = static_cast<int>(step);
        const std::string reason = std::strerror(step == WriteStep::kRename ? EBUSY : ENOSPC);
        for (const bool existed : {true, false}) {
            TempDir dir;
            if (existed) {
                WriteBytes(dir / "f.txt", "old\r\n");
            }
            try {
                SaveLines({"new"}, dir / "f.txt");
                ADD_FAILURE() << "the save succeeded";
            } catch (const FileError& error) {
                EXPECT_NE(std::string(error.what()).find(reason), std::string::npos)
                    << error.what();
            }
            EXPECT_EQ(fs::exists(dir / "f.txt"), existed);
            if (existed) {
                EXPECT_EQ(ReadBytes(dir / "f.txt"), "old\r\n");
            }
            EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()),
                      existed ? 1 : 0);
        }
    }
    SetWriteFaultHook(nullptr);
}

}  // namespace
}  // namespace quillex
