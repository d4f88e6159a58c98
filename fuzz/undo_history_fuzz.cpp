// The undo history under any order of changes, undos, redos and clears, with documents and
// load-file backups: it never holds more than its step limit, a file step's undo and redo put
// back exactly the bytes it kept, and no backup outlives the steps that hold it.
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "core/file_backup.h"
#include "core/file_format.h"
#include "core/undo_history.h"
#include "fuzz/finding.h"
#include "fuzz/scratch.h"

using namespace quillex;
using fuzz::Require;
namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& path) {
    const ByteBuffer bytes = ReadWholeFile(path);
    return std::string(bytes.data(), bytes.size());
}

void Write(const fs::path& path, const std::string& bytes) {
    SaveText(TextPieces{bytes}, path);
}

std::size_t FilesIn(const fs::path& folder) {
    std::error_code ec;
    std::size_t count = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        ++count;
    }
    return count;
}

// What the load file holds with a file step undone (before) and standing (after).
struct FileContents {
    std::string before;
    std::string after;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every file step writes and flushes files: a few dozen steps reach every state of a
    // history of twenty, and keep the runs many.
    size = std::min<std::size_t>(size, 64);
    const fs::path folder = fuzz::ScratchFolder() / "undo";
    const fs::path original = fuzz::ScratchFolder() / "load.txt";
    fs::remove_all(folder);
    Write(original, "start\r\n");

    std::map<std::size_t, FileContents> files;  // by step id, kept in `processed`
    {
        // A small budget, so that documents push steps out as well as the step limit does.
        UndoHistory history(4096);
        std::size_t nextId = 0;
        const auto exchange = [&](bool undo) {
            return [&, undo](UndoStep& step) {
                if (step.file) {
                    ExchangeWithBackup(*step.file);
                    const FileContents& expected = files.at(*step.processed);
                    Require(Bytes(original) == (undo ? expected.before : expected.after),
                            "an exchange put back other bytes than those it kept");
                }
            };
        };
        for (std::size_t i = 0; i < size; ++i) {
            const std::uint8_t op = data[i];
            UndoStep step;
            step.processed = nextId++;
            switch (op % 5) {
                case 0:
                    step.document = DocumentLines(Lines(op / 5, "some line of text"));
                    history.Record(std::move(step));
                    break;
                case 1: {
                    step.file = KeepBackup(folder, original);
                    const std::string after = Bytes(original) + std::to_string(op) + "\r\n";
                    files[*step.processed] = {Bytes(original), after};
                    Write(original, after);
                    step.file->written = StampOf(original);
                    history.Record(std::move(step));
                    break;
                }
                case 2:
                    history.Undo(exchange(true));
                    break;
                case 3:
                    history.Redo(exchange(false));
                    break;
                default:
                    if (op > 250) {
                        history.Clear();
                    }
            }
            Require(history.UndoCount() <= UndoHistory::kMaxSteps, "more steps than the limit");
            Require(history.CanUndo() == (history.UndoCount() > 0), "CanUndo disagrees");
            // Undo and redo together hold at most the limit, and each file step one copy.
            Require(FilesIn(folder) <= UndoHistory::kMaxSteps, "backups of dropped steps stayed");
        }
        history.Clear();
    }
    Require(FilesIn(folder) == 0, "a cleared history left backups behind");
    return 0;
}
