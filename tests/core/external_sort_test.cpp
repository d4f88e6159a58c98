// The sort in runs and the dedupe in parts against the same work on the whole loaded
// document, over inputs whose breaks, NUL, byte-order mark and last line fall on the edges of
// tiny blocks.

#include "core/external_sort.h"
#include "core/external_dedupe.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/document_lines.h"
#include "core/file_format.h"
#include "core/line_operations.h"
#include "core/write_faults.h"
#include "temp_dir.h"

namespace quillex {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

using namespace std::string_literals;

// Case pairs, Ё and ё beside Е and е, numbers alike in value, lines without a number, empty
// lines and a mark within the text: keys that tie, so that the order of alike lines shows.
const std::string kUtf8 =
    "\xEF\xBB\xBF"
    "b\r\n\xD0\x81\xD0\xB6\r\xD0\xB0"
    "10\n\xD0\x90"
    "9\r\n\r\n-1.5\r\nx2\r\n\xEF\xBB\xBFz\n\xD1\x91\r\n\xD0\xB5\n10\r\n010\n1.0\ra\r\nA\r\n\n"
    "a2b\r\na10b\r\nA2b\rlast";
const std::string kCp1251 =
    "b\r\n\xA8\xE6\r\xE0"
    "10\n\xC0"
    "9\r\n\r\n-1.5\r\nx2\n\xB8\r\n\xE5\n\xC5\r\n10\r\n010\n1.0\ra\r\nA\r\n\n"
    "a2b\r\na10b\r\nA2b\rend\r";

std::string Sorted(const std::filesystem::path& input, Encoding encoding, SortOrder order,
                   bool descending, std::size_t* lines) {
    DocumentLines document;
    document.LoadFromFile(input);
    document.SetEncoding(encoding);
    *lines = document.Count();
    SortLines(document, order, descending, {});
    std::string text;
    for (std::string_view piece : document.FileForm()) {
        text.append(piece);
    }
    return text;
}

TEST(ExternalSort, GivesTheBytesOfTheWholeSortForEveryOrderAndBlockEdge) {
    TempDir dir;
    TempDir runs;
    const std::vector<std::string> inputs = {kUtf8, kUtf8 + "\r\nq\0tail\r\n"s, kCp1251,
                                             kCp1251 + "z\0\r\n"s};
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::filesystem::path input = dir / ("in" + std::to_string(i) + ".txt");
        WriteBytes(input, inputs[i]);
        for (Encoding encoding : {Encoding::Utf8, Encoding::Windows1251}) {
            for (SortOrder order : {SortOrder::Bytes, SortOrder::IgnoreCase, SortOrder::Number,
                                    SortOrder::Natural, SortOrder::Length}) {
                for (bool descending : {false, true}) {
                    std::size_t count = 0;
                    const std::string expected = Sorted(input, encoding, order, descending, &count);
                    for (std::size_t block : {1, 2, 3, 4, 5, 8, 13, 1000}) {
                        SCOPED_TRACE("input " + std::to_string(i) + ", " +
                                     std::string(EncodingName(encoding)) + ", order " +
                                     std::to_string(static_cast<int>(order)) +
                                     (descending ? " descending" : "") + ", block " +
                                     std::to_string(block));
                        BlockReader reader(input, block);
                        std::string text;
                        const std::uint64_t lines =
                            SortInRuns(reader, encoding, order, descending, {1, runs.path(), block},
                                       [&](std::string_view piece) { text.append(piece); });
                        EXPECT_EQ(text, expected);
                        EXPECT_EQ(lines, count);
                        const auto nul = inputs[i].find('\0');
                        EXPECT_EQ(reader.Report().nulOffset.value_or(0),
                                  nul == std::string::npos ? 0 : nul);
                        EXPECT_TRUE(std::filesystem::is_empty(runs.path()));
                    }
                }
            }
        }
    }
}

// The first of each group equal but for case, against RemoveDuplicateLines over the loaded
// text: parts small enough to be parted again and again, on one and on three threads, the
// text read twice or kept in the temporary file.
TEST(ExternalDedupe, GivesTheBytesAndTheCountOfTheDedupeInMemory) {
    TempDir dir;
    TempDir parts;
    const std::vector<std::string> inputs = {kUtf8, kUtf8 + "\r\nq\0tail\r\n"s, kCp1251,
                                             kCp1251 + "z\0\r\n"s, kUtf8 + kUtf8 + kCp1251};
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::filesystem::path input = dir / ("in" + std::to_string(i) + ".txt");
        WriteBytes(input, inputs[i]);
        for (Encoding encoding : {Encoding::Utf8, Encoding::Windows1251}) {
            DocumentLines document;
            document.LoadFromFile(input);
            document.SetEncoding(encoding);
            std::optional<std::uint64_t> count;
            std::string expected;
            for (std::string_view piece : document.TextForm(
                     RemoveDuplicateLines(document, [&](std::size_t n) { count = n; }))) {
                expected.append(piece);
            }
            for (std::size_t block : {1, 2, 5, 13, 1000}) {
                for (std::uint64_t memory : {300, 1 << 20}) {
                    for (unsigned threads : {1u, 3u}) {
                        for (bool twice : {true, false}) {
                            SCOPED_TRACE("input " + std::to_string(i) + ", " +
                                         std::string(EncodingName(encoding)) + ", block " +
                                         std::to_string(block) + ", memory " +
                                         std::to_string(memory) + ", threads " +
                                         std::to_string(threads) + (twice ? "" : ", copied"));
                            BlockReader reader(input, block);
                            std::function<std::unique_ptr<BlockReader>()> again;
                            if (twice) {
                                again = [&] { return std::make_unique<BlockReader>(input, block); };
                            }
                            std::string text;
                            const SpillSettings settings{memory, parts.path(), block, threads};
                            EXPECT_EQ(
                                DedupeInParts(reader, again, encoding, settings,
                                              twice ? inputs[i].size() : 0,
                                              [&](std::string_view piece) { text.append(piece); }),
                                count);
                            EXPECT_EQ(text, expected);
                            EXPECT_TRUE(std::filesystem::is_empty(parts.path()));
                        }
                    }
                }
            }
        }
    }
}

int FailEveryWrite(WriteStep step) {
    return step == WriteStep::kWrite ? ENOSPC : 0;
}

// A full temporary disk fails the work with the system's reason before OUTPUT is replaced,
// and leaves no temporary file.
TEST(ExternalWork, AFullTemporaryDiskLeavesTheOutputAndNoTemporaryFile) {
    TempDir dir;
    TempDir runs;
    WriteBytes(dir / "in.txt", kCp1251);
    WriteBytes(dir / "out.txt", "old\r\n");
    const SpillSettings settings{1, runs.path(), 4};
    const std::vector<std::function<void(BlockReader&, const PieceWriter&)>> works = {
        [&](BlockReader& reader, const PieceWriter& write) {
            SortInRuns(reader, Encoding::Windows1251, SortOrder::Bytes, false, settings, write);
        },
        [&](BlockReader& reader, const PieceWriter& write) {
            DedupeInParts(reader, {}, Encoding::Windows1251, settings, 0, write);
        }};
    SetWriteFaultHook(FailEveryWrite);
    for (const auto& work : works) {
        try {
            BlockReader reader(dir / "in.txt", 4);
            SaveProduced([&](const PieceWriter& write) { work(reader, write); }, 0,
                         dir / "out.txt");
            ADD_FAILURE() << "the work succeeded";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(std::strerror(ENOSPC)), std::string::npos)
                << e.what();
        }
        EXPECT_EQ(ReadBytes(dir / "out.txt"), "old\r\n");
        EXPECT_TRUE(std::filesystem::is_empty(runs.path()));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
    }
    SetWriteFaultHook(nullptr);
}

}  // namespace
}  // namespace quillex
