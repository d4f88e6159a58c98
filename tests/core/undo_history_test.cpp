#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/document_lines.h"
#include "core/file_backup.h"
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
    history_.Record(first, DocumentLines());
    for (int i = 0; i < 24; ++i) {
        history_.Record(UndoStep{}, DocumentLines());
    }
    EXPECT_EQ(history_.UndoCount(), UndoHistory::kMaxSteps);
    EXPECT_FALSE(std::filesystem::exists(firstCopy));
}

TEST_F(UndoHistoryTest, HoldsAboutTwiceThePresentDocumentButAlwaysTheNewestStep) {
    const DocumentLines present(Lines(100, "some line"));
    for (int i = 0; i < 5; ++i) {
        history_.Record(DocumentStep(100), present);
    }
    EXPECT_EQ(history_.UndoCount(), 2u);
    // A run that left almost nothing can still be undone.
    history_.Record(DocumentStep(10'000), DocumentLines(Lines{"x"}));
    EXPECT_EQ(history_.UndoCount(), 1u);
}

TEST_F(UndoHistoryTest, NewChangeDropsWhatCouldBeRedone) {
    const UndoStep step = FileStep("a.txt");
    history_.Record(step, DocumentLines());
    ASSERT_TRUE(history_.Undo(Nothing));
    EXPECT_TRUE(history_.CanRedo());
    EXPECT_TRUE(Exists(step));
    history_.Record(UndoStep{}, DocumentLines());
    EXPECT_FALSE(history_.CanRedo());
    EXPECT_FALSE(Exists(step));
    EXPECT_FALSE(history_.Redo(Nothing));
}

TEST_F(UndoHistoryTest, FailedExchangeLeavesTheStepToUndo) {
    history_.Record(UndoStep{}, DocumentLines());
    EXPECT_THROW(history_.Undo([](UndoStep&) { throw std::runtime_error("disk"); }),
                 std::runtime_error);
    EXPECT_TRUE(history_.CanUndo());
    EXPECT_FALSE(history_.CanRedo());
}

TEST_F(UndoHistoryTest, DestroyingKeepsTheBackupsAndClearingRemovesThem) {
    const UndoStep step = FileStep("a.txt");
    {
        UndoHistory crashed;
        crashed.Record(step, DocumentLines());
    }
    EXPECT_TRUE(Exists(step));
    history_.Record(step, DocumentLines());
    history_.Clear();
    EXPECT_FALSE(Exists(step));
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
