#include "core/external_sort.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/document_editor.h"
#include "core/file_format.h"
#include "core/line_reorder.h"
#include "core/spill_file.h"

namespace fs = std::filesystem;

namespace quillex {

namespace {

constexpr std::size_t kPiece = std::size_t{1} << 20;  // bytes gathered before each write
constexpr std::size_t kLeastRead = std::size_t{64} << 10;
constexpr std::size_t kMostRead = std::size_t{8} << 20;

// A run's bytes in the temporary file: its lines, each followed by CR LF.
struct Run {
    std::uint64_t offset;
    std::uint64_t size;
};

// The runs' temporary file, written one run after another.
class RunFile {
  public:
    explicit RunFile(const fs::path& folder) : spill_(folder, "sort") {}

    // Lines in the order given, each with its CR LF, as the next run.
    template <class LineAt>
    void WriteRun(std::size_t count, LineAt lineAt) {
        const std::uint64_t offset = spill_.Size();
        for (std::size_t k = 0; k < count; ++k) {
            const std::string_view line = lineAt(k);
            if (piece_.size() + line.size() > kPiece) {
                Flush();
            }
            piece_.append(line);
        }
        Flush();
        runs_.push_back({offset, spill_.Size() - offset});
    }

    const std::vector<Run>& Runs() const noexcept { return runs_; }
    SpillFile& Spill() noexcept { return spill_; }

  private:
    void Flush() {
        if (!piece_.empty()) {
            spill_.Append(piece_);
            piece_.clear();
        }
    }

    SpillFile spill_;
    std::vector<Run> runs_;
    std::string piece_;
};

// One run being merged: its bytes read a buffer at a time, its first line not yet written.
class RunCursor {
  public:
    RunCursor(const Run& run, std::size_t buffer) : next_(run.offset), end_(run.offset + run.size) {
        buffer_.resize(buffer);
    }

    // Takes the next line of the run; false at its end.
    bool Advance(SpillFile& file) {
        for (;;) {
            const char* from = buffer_.data() + pos_;
            if (const void* lf = std::memchr(from, '\n', filled_ - pos_)) {
                const auto length = static_cast<std::size_t>(static_cast<const char*>(lf) - from);
                line = {from, length - 1};  // without its CR
                pos_ += length + 1;
                return true;
            }
            if (next_ == end_) {
                return false;
            }
            // A line may go on past the buffer: what is left moves to the front, and a buffer
            // that a part of a line fills grows.
            std::memmove(buffer_.data(), from, filled_ - pos_);
            filled_ -= pos_;
            pos_ = 0;
            if (filled_ == buffer_.size()) {
                buffer_.resize(buffer_.size() * 2);
            }
            const std::size_t want = static_cast<std::size_t>(
                std::min<std::uint64_t>(buffer_.size() - filled_, end_ - next_));
            file.Read(next_, buffer_.data() + filled_, want);
            filled_ += want;
            next_ += want;
        }
    }

    std::string_view line;
    bool unordered = false;  // the order leaves the line out (see LineComparison)

  private:
    std::uint64_t next_;
    std::uint64_t end_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t filled_ = 0;
};

// Sorts each block and writes it as a run.
void WriteRuns(BlockReader& reader, Encoding encoding, SortOrder order, bool descending,
               RunFile& runs, bool& bom, std::uint64_t& lines, const Progress& progress) {
    DocumentLines block;
    bool first = true;
    while (reader.Next(block)) {
        if (first && encoding == Encoding::Utf8) {
            block.SetEncoding(Encoding::Utf8);  // the text's own mark is held apart
            bom = block.HasBom();
        } else {
            DocumentEditor(block).ReadAs(encoding);
        }
        first = false;
        CheckLineCount(block);
        const std::vector<std::uint32_t> sorted = SortedLineOrder(block, order, descending, {});
        const DocumentEditor e(block);
        const std::size_t n = sorted.size();
        runs.WriteRun(n, [&](std::size_t k) {
            if (k + kAhead < n) {
                e.LineAhead(sorted[k + kAhead]);
            }
            const std::string_view line = e.Line(sorted[k]);
            return std::string_view(line.data(), line.size() + 2);  // with its CR LF
        });
        lines += n;
        progress.Reach(reader.BytesRead(), 0);
    }
}

}  // namespace

std::size_t RunBlockBytes(const SpillSettings& settings) noexcept {
    // A block takes about twice its size while it is indexed (where its breaks are rewritten)
    // and sorted.
    if (settings.block_bytes != 0) {
        return settings.block_bytes;
    }
    return static_cast<std::size_t>(
        std::max<std::uint64_t>(settings.memory / 3, std::uint64_t{64} << 10));
}

bool SortFitsInMemory(std::uint64_t bytes, std::uint64_t memory) noexcept {
    return bytes <= memory / 3 * 2;
}

std::uint64_t SortInRuns(BlockReader& reader, Encoding encoding, SortOrder order, bool descending,
                         const SpillSettings& settings,
                         const std::function<void(std::string_view)>& write,
                         const Progress& progress) {
    RunFile runs(settings.temp_dir);
    bool bom = false;
    std::uint64_t lines = 0;
    WriteRuns(reader, encoding, order, descending, runs, bom, lines, progress);
    SpillFile& file = runs.Spill();

    // The merge's buffers share half the bound.
    const std::vector<Run>& all = runs.Runs();
    const std::size_t share =
        all.empty() ? 0 : static_cast<std::size_t>(settings.memory / 2 / all.size());
    const std::size_t buffer = settings.block_bytes != 0
                                   ? std::max<std::size_t>(settings.block_bytes, 16)
                                   : std::clamp(share, kLeastRead, kMostRead);
    std::vector<RunCursor> cursors;
    cursors.reserve(all.size());
    const LineComparison comparison = SortComparison(order, encoding);
    for (const Run& run : all) {
        cursors.emplace_back(run, buffer);
    }
    // The heap's top is the run whose line goes first; of alike lines, the earlier run's,
    // which holds the earlier lines of the input.
    auto after = [&](std::size_t a, std::size_t b) {
        const RunCursor& x = cursors[a];
        const RunCursor& y = cursors[b];
        if (x.unordered || y.unordered) {
            if (x.unordered != y.unordered) {
                return x.unordered;
            }
        } else if (const int c = comparison.compare(x.line, y.line); c != 0) {
            return (c > 0) != descending;
        }
        return a > b;
    };
    auto advance = [&](std::size_t k) {
        RunCursor& cursor = cursors[k];
        if (!cursor.Advance(file)) {
            return false;
        }
        cursor.unordered = comparison.unordered != nullptr && comparison.unordered(cursor.line);
        return true;
    };
    std::vector<std::size_t> heap;
    for (std::size_t k = 0; k < cursors.size(); ++k) {
        if (advance(k)) {
            heap.push_back(k);
        }
    }
    std::make_heap(heap.begin(), heap.end(), after);
    std::string piece;
    piece.reserve(kPiece);
    if (bom) {
        piece.append(kUtf8Bom);
    }
    while (!heap.empty()) {
        std::pop_heap(heap.begin(), heap.end(), after);
        const std::size_t k = heap.back();
        const std::string_view line = cursors[k].line;
        if (piece.size() + line.size() + 2 > kPiece && !piece.empty()) {
            write(piece);
            piece.clear();
        }
        piece.append(line).append("\r\n");
        if (advance(k)) {
            std::push_heap(heap.begin(), heap.end(), after);
        } else {
            heap.pop_back();
        }
    }
    if (!piece.empty()) {
        write(piece);
    }
    return lines;
}

}  // namespace quillex
