#include "app/batch_spill.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "app/batch_progress.h"
#include "app/batch_streams.h"
#include "core/block_pipeline.h"
#include "core/external_dedupe.h"
#include "core/external_sort.h"
#include "core/file_format.h"
#include "core/line_operations.h"
#include "core/line_ordering.h"
#include "core/system_memory.h"

namespace quillex::batch {

namespace {

// What the loaded run prints: the warning of a NUL that ended the text, and the count.
void Report(const BlockReader& reader, std::uint64_t lines,
            const std::optional<std::filesystem::path>& output, const std::string& prefix,
            ProgressLine* line) {
    if (line != nullptr) {
        line->Clear();
    }
    WarnOfNul(reader.Report(), reader.Name());
    if (lines != 0) {  // as a sort of no lines reports no number
        const std::string count = prefix + "Lines processed: " + std::to_string(lines) + "\n";
        std::fputs(count.c_str(), output ? stdout : stderr);
    }
    FlushStandardOutput();
}

}  // namespace

bool RunPastTheMemoryBound(const Work& work, const std::optional<std::filesystem::path>& input,
                           const std::optional<std::filesystem::path>& output,
                           const std::string& prefix, ProgressLine* line) {
    const FunctionCall& call = work.steps.front().call;
    const bool sorts = call.function == FunctionId::Sort;
    if ((!sorts && call.function != FunctionId::Dedupe) || work.recipe ||
        (!input && !work.encoding)) {
        return false;
    }
    SpillSettings settings = SpillSettingsOf(work);
    const std::size_t block = sorts ? RunBlockBytes(settings) : DedupeBlockBytes(settings);
    std::uint64_t size = 0;
    if (input) {
        std::error_code ec;
        size = std::filesystem::file_size(*input, ec);
        if (ec || (sorts ? SortFitsInMemory(size, settings.memory)
                         : DedupeFitsInMemory(size, settings.memory))) {
            return false;  // the load says what is wrong with an input it cannot read
        }
    }
    // Asked only now: a run in memory needs no temporary folder.
    settings.temp_dir = TempFolderOf(work);
    Encoding encoding = Encoding::Windows1251;
    if (work.encoding) {
        encoding = *work.encoding;
    } else {
        BlockReader probe(*input, block);
        encoding = DetectEncodingOf(probe);
    }
    const FunctionParams& params = call.params;
    std::optional<BlockReader> reader;
    if (!input) {
        // As much of it as the work would take in memory is read first: where that is all
        // of it, it is worked on as a loaded text is.
        const std::size_t whole = static_cast<std::size_t>(
            std::min<std::uint64_t>(settings.memory / 3, std::size_t{1} << 40));
        reader.emplace(stdin, kStandardInputName, std::max(whole, block));
        DocumentLines document;
        reader->Next(document);
        if (reader->AtEnd()) {
            document.SetEncoding(encoding);
            std::uint64_t lines = 0;
            TextPieces pieces;
            if (sorts) {
                SortLines(document, params.sort_by, params.descending, {});
                lines = document.Count();
                pieces = document.FileForm();
            } else {
                const LineSelection kept =
                    RemoveDuplicateLines(document, [&lines](std::size_t n) { lines = n; });
                pieces = document.TextForm(kept);
            }
            WriteOut(
                [&](const PieceWriter& write) {
                    for (std::string_view piece : pieces) {
                        write(piece);
                    }
                },
                0, output);
            Report(*reader, lines, output, prefix, line);
            return true;
        }
        reader->PutBack(std::move(document));  // worked on with the rest
        reader->SetBlockBytes(block);
    } else {
        reader.emplace(*input, block);
    }
    std::function<std::unique_ptr<BlockReader>()> again;
    if (input) {
        again = [&] { return std::make_unique<BlockReader>(*input, block); };
    }
    std::uint64_t lines = 0;
    WriteOut(
        [&](const PieceWriter& write) {
            lines = WorkInParts(call, *reader, again, encoding, settings, size, write, line);
        },
        size, output);
    Report(*reader, lines, output, prefix, line);
    return true;
}

SpillSettings SpillSettingsOf(const Work& work) {
    SpillSettings settings;
    settings.memory = work.memory;
    settings.threads = work.threads;
    settings.block_bytes = work.blockBytes;
    return settings;
}

std::filesystem::path TempFolderOf(const Work& work) {
    return work.tempDir ? *work.tempDir : std::filesystem::temp_directory_path();
}

std::uint64_t WorkInParts(const FunctionCall& call, BlockReader& reader,
                          const std::function<std::unique_ptr<BlockReader>()>& again,
                          Encoding encoding, const SpillSettings& settings, std::uint64_t size,
                          const PieceWriter& write, ProgressLine* line) {
    if (call.function != FunctionId::Sort) {
        // Standard input is read once: without `again`, the first pass keeps a copy.
        return DedupeInParts(reader, again, encoding, settings, size, write, Progress({}, line))
            .value_or(0);
    }
    // On the line, in bytes of the input: the runs are the first half of the sort, the merge
    // the second, as long as standard input's size is unknown only until it is read.
    PartMeter reading(line, size, 0, size / 2, size);
    std::uint64_t written = 0;
    auto merged = [&](std::string_view piece) {
        write(piece);
        written += piece.size();
        const std::uint64_t whole = size != 0 ? size : reader.BytesRead();
        PartMeter(line, whole, whole / 2, whole - whole / 2).Reached(written, whole);
    };
    return SortInRuns(reader, encoding, call.params.sort_by, call.params.descending, settings,
                      merged, Progress({}, &reading));
}

}  // namespace quillex::batch
