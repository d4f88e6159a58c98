#include "app/batch_spill.h"

#include <cstdio>
#include <optional>
#include <string>
#include <system_error>

#include "app/batch_progress.h"
#include "app/batch_streams.h"
#include "core/external_sort.h"
#include "core/file_format.h"
#include "core/line_ordering.h"
#include "core/system_memory.h"

namespace quillex::batch {

namespace {

constexpr const char* kStandardInput = "standard input";

void WriteOut(const ContentProducer& produce, std::uint64_t size, const Options& options,
              const std::filesystem::path& output) {
    if (options.output == kStandardStream) {
        produce(WriteToStandardOutput);
    } else {
        SaveProduced(produce, size, output);
    }
}

// What the loaded run prints: the warning of a NUL that ended the text, and the count.
void Report(const Options& options, const BlockReader& reader, std::uint64_t lines,
            ProgressLine* line) {
    if (line != nullptr) {
        line->Clear();
    }
    WarnOfNul(reader.Report(), options.input == kStandardStream ? kStandardInput : options.input);
    if (lines != 0) {  // as a sort of no lines reports no number
        const std::string count = "Lines processed: " + std::to_string(lines) + "\n";
        std::fputs(count.c_str(), options.output == kStandardStream ? stderr : stdout);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        FailStream("standard output");
    }
}

}  // namespace

bool SortLargeInput(const Options& options, const std::filesystem::path& input,
                    const std::filesystem::path& output, ProgressLine* line) {
    const bool fromStandardInput = options.input == kStandardStream;
    if (options.function != FunctionId::Sort || options.recipe ||
        (fromStandardInput && !options.encoding)) {
        return false;
    }
    SpillSettings settings;
    settings.memory = options.memory ? *options.memory : DefaultMemoryBound();
    settings.temp_dir = options.temp_dir ? std::filesystem::path(*options.temp_dir)
                                         : std::filesystem::temp_directory_path();
    const std::size_t block = RunBlockBytes(settings);
    std::uint64_t size = 0;
    if (!fromStandardInput) {
        std::error_code ec;
        size = std::filesystem::file_size(input, ec);
        if (ec || SortFitsInMemory(size, settings.memory)) {
            return false;  // the load says what is wrong with an input it cannot read
        }
    }
    Encoding encoding = Encoding::Windows1251;
    if (options.encoding) {
        encoding = *options.encoding;
    } else {
        BlockReader probe(input, block);
        encoding = DetectEncodingOf(probe);
    }
    const SortOrder order = options.params.sort_by;
    const bool descending = options.params.descending;
    std::optional<BlockReader> reader;
    if (fromStandardInput) {
        reader.emplace(stdin, kStandardInput, block);
    } else {
        reader.emplace(input, block);
    }
    std::uint64_t lines = 0;
    if (fromStandardInput) {
        DocumentLines document;
        reader->Next(document);
        if (reader->AtEnd()) {
            document.SetEncoding(encoding);
            SortLines(document, order, descending, {});
            lines = document.Count();
            const TextPieces pieces = document.FileForm();
            WriteOut(
                [&](const PieceWriter& write) {
                    for (std::string_view piece : pieces) {
                        write(piece);
                    }
                },
                0, options, output);
            Report(options, *reader, lines, line);
            return true;
        }
        reader->PutBack(std::move(document));  // sorted in runs with the rest
    }
    // On the line, in bytes of the input: the runs are the first half of the sort, the merge
    // the second, as long as standard input's size is unknown only until it is read.
    PartMeter reading(line, size, 0, size / 2, size);
    std::uint64_t written = 0;
    WriteOut(
        [&](const PieceWriter& write) {
            auto merged = [&](std::string_view piece) {
                write(piece);
                written += piece.size();
                const std::uint64_t whole = size != 0 ? size : reader->BytesRead();
                PartMeter(line, whole, whole / 2, whole - whole / 2).Reached(written, whole);
            };
            lines = SortInRuns(*reader, encoding, order, descending, settings, merged,
                               Progress({}, &reading));
        },
        size, options, output);
    Report(options, *reader, lines, line);
    return true;
}

}  // namespace quillex::batch
