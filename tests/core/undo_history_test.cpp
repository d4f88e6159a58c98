#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "core/document_lines.h"
#include "core/file_backup.h"
#include "core/process_id.h"
#include "core/undo_history.h"
#include "temp_dir.h"

namespace quillex::testing {
namespace {

UndoStep DocumentStep(std::size_t lines) {
    UndoStep step;
    step.document = DocumentLines(Lines(lines, "some line"));
    return step;
}

class UndoHistoryTest : public ::testing::Test {
  protected:
    // A step whose backup is a real file in the folder, to see when it is removed.
    UndoStep FileStep(const std::string& name) {
        WriteBytes(dir_ / name, "old\r\n");
        UndoStep step;
        step.file = KeepBackup(dir_ / "cache", dir_ / name);
        return step;
    }
    static bool Exists(const UndoStep& step) { return std::filesystem::exists(step.file->copy); }

    TempDir dir_;
    UndoHistory history_;
    static void Nothing(UndoStep&) {}
};

TEST_F(UndoHistoryTest, KeepsTwentyStepsAndRemovesTheBackupsOfThoseItDrops) {
    const UndoStep first = FileStep("first.txt");
    const std::filesystem::path firstCopy = first.file->copy;
    history_.Record(first);
    for (int i = 0; i < 24; ++i) {
        history_.Record(UndoStep{});
    }
    EXPECT_EQ(history_.UndoCount(), UndoHistory::kMaxSteps);
    EXPECT_FALSE(std::filesystem::exists(firstCopy));
}

TEST_F(UndoHistoryTest, KeepsWhatFitsItsBudgetWhateverThePresentDocumentButAlwaysTheNewest) {
    // Runs that each shrink the document keep the steps before them.
    for (std::size_t lines : {1000, 500, 100}) {
        history_.Record(DocumentStep(lines));
    }
    EXPECT_EQ(history_.UndoCount(), 3u);

    const std::size_t stepBytes = MemoryBytes(*DocumentStep(100).document);
    UndoHistory small(3 * stepBytes);
    for (int i = 0; i < 5; ++i) {
        small.Record(DocumentStep(100));
    }
    EXPECT_EQ(small.UndoCount(), 3u);
    small.Record(DocumentStep(10'000));
    EXPECT_EQ(small.UndoCount(), 1u);
}

TEST_F(UndoHistoryTest, NewChangeDropsWhatCouldBeRedone) {
    const UndoStep step = FileStep("a.txt");
    history_.Record(step);
    ASSERT_TRUE(history_.Undo(Nothing));
    EXPECT_TRUE(history_.CanRedo());
    EXPECT_TRUE(Exists(step));
    history_.Record(UndoStep{});
    EXPECT_FALSE(history_.CanRedo());
    EXPECT_FALSE(Exists(step));
    EXPECT_FALSE(history_.Redo(Nothing));
}

TEST_F(UndoHistoryTest, FailedExchangeLeavesTheStepToUndo) {
    history_.Record(UndoStep{});
    EXPECT_THROW(history_.Undo([](UndoStep&) { throw std::runtime_error("disk"); }),
                 std::runtime_error);
    EXPECT_TRUE(history_.CanUndo());
    EXPECT_FALSE(history_.CanRedo());
}

TEST_F(UndoHistoryTest, DestroyingKeepsTheBackupsAndClearingRemovesThem) {
    const UndoStep step = FileStep("a.txt");
    {
        UndoHistory crashed;
        crashed.Record(step);
    }
    EXPECT_TRUE(Exists(step));
    history_.Record(step);
    history_.Clear();
    EXPECT_FALSE(Exists(step));
}

TEST_F(UndoHistoryTest, AStartRemovesOnlyOldCopiesOfRunsThatAreGone) {
    const std::filesystem::path folder = dir_ / "cache";
    const std::string ours = std::to_string(CurrentProcessId());
    const std::string gone = "999999999";  // above any process id the system hands out
    struct Copy {
        std::string name;
        bool old;
        bool removed;
    };
    const Copy copies[] = {
        {"a.txt.0123456789abcdef." + gone + ".1700000000000", true, true},
        {"a.txt.0123456789abcdef." + gone + ".1700000000000-2", true, true},
        {"b.txt.0123456789abcdef.1700000000000", true, true},  // named before ids were kept
        {"a.txt.0123456789abcdef." + ours + ".1700000000000", true, false},   // this run's
        {"c.txt.0123456789abcdef." + gone + ".1700000000000", false, false},  // too recent
        {"notes.txt", true, false},                                           // not a copy
    };
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::create_directories(folder);
    for (const Copy& copy : copies) {
        WriteBytes(folder / copy.name, "kept");
        std::filesystem::last_write_time(folder / copy.name,
                                         copy.old ? now - std::chrono::hours(24 * 8) : now);
    }
    RemoveStaleBackups(folder, now - std::chrono::hours(24 * 7));
    for (const Copy& copy : copies) {
        EXPECT_EQ(std::filesystem::exists(folder / copy.name), !copy.removed) << copy.name;
    }
}

TEST_F(UndoHistoryTest, BackupExchangesBothWaysAndNoticesAChangeOnDisk) {
    const std::filesystem::path file = dir_ / "data.txt";
    WriteBytes(file, "old\r\n");
    std::optional<FileBackup> backup = KeepBackup(dir_ / "cache", file);
    ASSERT_TRUE(backup);
    EXPECT_EQ(backup->copy.filename().string().rfind("data.txt.", 0), 0u) << backup->copy;
    EXPECT_FALSE(KeepBackup(dir_ / "cache", dir_ / "missing.txt"));

    WriteBytes(file, "new\r\n");
    backup->written = StampOf(file);
    EXPECT_FALSE(ChangedOnDisk(*backup));
    ExchangeWithBackup(*backup);
    EXPECT_EQ(ReadBytes(file), "old\r\n");
    EXPECT_EQ(ReadBytes(backup->copy), "new\r\n");
    EXPECT_FALSE(ChangedOnDisk(*backup));
    ExchangeWithBackup(*backup);
    EXPECT_EQ(ReadBytes(file), "new\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "cache"), {}), 1);

    WriteBytes(file, "someone else\r\n");
    EXPECT_TRUE(ChangedOnDisk(*backup));
    std::filesystem::remove(file);
    EXPECT_TRUE(ChangedOnDisk(*backup));
}

}  // namespace
}  // namespace quillex::testing
