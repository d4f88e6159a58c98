#include "core/external_dedupe.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/block_pipeline.h"
#include "core/document_editor.h"
#include "core/file_format.h"
#include "core/folded_line_set.h"
#include "core/line_operations.h"

namespace quillex {

namespace {

// What a loaded line of a part costs beside its bytes: its index entry, its number in the
// text, the set's slots and the selection that keeps it.
constexpr std::uint64_t kLineCost = 64;
// A part that will not fit is parted again, with new hashes, this many times at most: lines
// that fold alike stay together however often they are parted.
constexpr int kDeepest = 4;
constexpr std::size_t kMostParts = 4096;

// A piece of one part in the temporary file: its lines, each with its CR LF, then each one's
// number in the text, 8 bytes a line.
struct Chunk {
    std::uint64_t offset = 0;
    std::uint64_t bytes = 0;
    std::uint64_t lines = 0;
};

struct Part {
    std::vector<Chunk> chunks;
    std::uint64_t bytes = 0;
    std::uint64_t lines = 0;

    std::uint64_t Need() const noexcept { return bytes + lines * kLineCost; }
};

std::size_t PartOf(std::uint64_t hash, std::size_t parts) noexcept {
    return static_cast<std::size_t>((hash >> 32) * parts >> 32);
}

// The lines of each part gathered in memory and written a chunk at a time.
class PartWriter {
  public:
    PartWriter(SpillFile& spill, std::size_t parts, std::size_t chunkBytes)
        : spill_(spill), chunk_(chunkBytes), pending_(parts), parts_(parts) {}

    std::size_t Count() const noexcept { return parts_.size(); }

    void Add(std::size_t part, std::string_view line, std::uint64_t number) {
        Pending& pending = pending_[part];
        pending.text.append(line).append("\r\n");
        pending.numbers.push_back(number);
        if (pending.text.size() + pending.numbers.size() * 8 >= chunk_) {
            Flush(part);
        }
    }

    std::vector<Part> Finish() {
        for (std::size_t k = 0; k < pending_.size(); ++k) {
            Flush(k);
        }
        return std::move(parts_);
    }

  private:
    struct Pending {
        std::string text;
        std::vector<std::uint64_t> numbers;
    };

    void Flush(std::size_t k) {
        Pending& pending = pending_[k];
        if (pending.numbers.empty()) {
            return;
        }
        const std::size_t bytes = pending.text.size();
        pending.text.append(reinterpret_cast<const char*>(pending.numbers.data()),
                            pending.numbers.size() * sizeof(std::uint64_t));
        const std::uint64_t at = spill_.Append(pending.text);  // one piece: other threads append
        parts_[k].chunks.push_back({at, bytes, pending.numbers.size()});
        parts_[k].bytes += bytes;
        parts_[k].lines += pending.numbers.size();
        pending.text.clear();
        pending.numbers.clear();
    }

    SpillFile& spill_;
    std::size_t chunk_;
    std::vector<Pending> pending_;
    std::vector<Part> parts_;
};

void ReadChunk(SpillFile& spill, const Chunk& chunk, ByteBuffer& text,
               std::vector<std::uint64_t>& numbers) {
    const std::size_t at = text.size();
    text.Resize(at + chunk.bytes);
    spill.Read(chunk.offset, text.data() + at, chunk.bytes);
    const std::size_t from = numbers.size();
    numbers.resize(from + chunk.lines);
    spill.Read(chunk.offset + chunk.bytes, reinterpret_cast<char*>(numbers.data() + from),
               chunk.lines * sizeof(std::uint64_t));
}

std::size_t ChunkBytes(std::uint64_t memory, std::size_t parts) {
    return static_cast<std::size_t>(std::clamp<std::uint64_t>(
        memory / 8 / parts, std::uint64_t{16} << 10, std::uint64_t{1} << 20));
}

template <class Fold>
class Dedupe {
  public:
    Dedupe(Encoding encoding, const SpillSettings& settings, std::uint64_t inputSize,
           const Progress& progress)
        : encoding_(encoding),
          settings_(settings),
          threads_(std::max(settings.threads, 1u)),
          inputSize_(inputSize),
          // Half the bound for the parts loaded at once, one a thread; the rest for the
          // blocks, the chunks being gathered and the marks of the lines kept.
          budget_(std::max<std::uint64_t>(settings.memory / 2 / threads_, 1)),
          progress_(progress),
          spill_(settings.temp_dir, "dedupe"),
          seed_(RunSeed()) {}

    std::optional<std::uint64_t> Run(BlockReader& reader,
                                     const std::function<std::unique_ptr<BlockReader>()>& reopen,
                                     const std::function<void(std::string_view)>& write) {
        write_ = &write;
        copies_ = !reopen;
        PartLines(reader);
        KeepInParts();
        std::unique_ptr<BlockReader> again = copies_ ? nullptr : reopen();
        return WriteKept(again.get(), reader.Name());
    }

  private:
    // A block's lines, the first of each group among them and their hashes: a later line of
    // a group that the block holds twice never goes to the temporary file.
    struct Split {
        DocumentLines lines;
        LineSelection kept;
        std::vector<std::uint64_t> hashes;
    };

    void PartLines(BlockReader& reader) {
        std::optional<PartWriter> writer;
        BlockPipeline<ByteBuffer, Split>::Run(
            threads_,
            [&](ByteBuffer& bytes) {
                const bool got = reader.NextBytes(bytes);
                if (got && copies_) {
                    copy_.push_back({spill_.Append({bytes.data(), bytes.size()}), bytes.size(), 0});
                }
                progress_.Reach(reader.BytesRead(), 3 * inputSize_);
                return got;
            },
            [&](ByteBuffer bytes, std::size_t index) {
                Split split;
                split.lines.TakeText(std::move(bytes));
                ReadBlockAs(split.lines, encoding_, index == 0);
                split.kept = RemoveDuplicateLines(split.lines, {});
                split.hashes.reserve(split.kept.Count());
                ForEach(split.kept, [&](std::size_t i) {
                    split.hashes.push_back(Fold::Hash(split.lines.Get(i), seed_));
                });
                return split;
            },
            [&](Split split, std::size_t) {
                if (!writer) {
                    const std::size_t parts = PartsFor(split.lines);
                    writer.emplace(spill_, parts, ChunkBytes(settings_.memory, parts));
                }
                std::size_t j = 0;
                ForEach(split.kept, [&](std::size_t i) {
                    writer->Add(PartOf(split.hashes[j++], writer->Count()), split.lines.Get(i),
                                lines_ + i);
                });
                lines_ += split.lines.Count();
            });
        if (writer) {
            parts_ = writer->Finish();
        }
    }

    // Enough parts that each fits its share of the bound, judged by the first block's lines.
    std::size_t PartsFor(const DocumentLines& first) const {
        if (inputSize_ == 0) {
            return 16;  // standard input: a part too large is parted again
        }
        const std::uint64_t lines = std::max<std::uint64_t>(first.Count(), 1);
        const std::uint64_t perLine = std::max<std::uint64_t>(first.TextForm().size() / lines, 1);
        const std::uint64_t need = inputSize_ + inputSize_ / perLine * kLineCost;
        return static_cast<std::size_t>(
            std::clamp<std::uint64_t>(need / budget_ + 1, 1, kMostParts));
    }

    void KeepInParts() {
        kept_.assign((lines_ + 63) / 64, 0);
        std::uint64_t all = 0;
        for (const Part& part : parts_) {
            all += part.bytes;
        }
        std::size_t next = 0;
        std::uint64_t done = 0;
        BlockPipeline<std::size_t, std::vector<std::uint64_t>>::Run(
            threads_,
            [&](std::size_t& k) {
                if (next == parts_.size()) {
                    return false;
                }
                k = next++;
                return true;
            },
            [&](std::size_t k, std::size_t) {
                std::vector<std::uint64_t> kept;
                KeepOfPart(parts_[k], 0, kept);
                return kept;
            },
            [&](std::vector<std::uint64_t> kept, std::size_t k) {
                for (std::uint64_t n : kept) {
                    kept_[n / 64] |= std::uint64_t{1} << (n % 64);
                }
                done += parts_[k].bytes;
                progress_.Reach(inputSize_ + (all == 0 ? 0 : inputSize_ * done / all),
                                3 * inputSize_);
            });
    }

    // The numbers of the lines the part keeps: the first of each of its groups, as its lines
    // come in the text's order.
    void KeepOfPart(const Part& part, int depth, std::vector<std::uint64_t>& kept) {
        if (part.Need() > budget_ && depth < kDeepest && part.lines > 1) {
            const auto parts = static_cast<std::size_t>(
                std::clamp<std::uint64_t>(part.Need() / budget_ + 1, 2, kMostParts));
            const std::uint64_t seed = seed_ ^ (0x9E3779B97F4A7C15u * (depth + 1));
            PartWriter writer(spill_, parts, ChunkBytes(budget_, parts));
            for (const Chunk& chunk : part.chunks) {
                ByteBuffer text;
                std::vector<std::uint64_t> numbers;
                ReadChunk(spill_, chunk, text, numbers);
                const char* at = text.data();
                for (std::uint64_t number : numbers) {
                    const char* end = static_cast<const char*>(std::memchr(
                        at, '\n', text.size() - static_cast<std::size_t>(at - text.data())));
                    const std::string_view line(at, static_cast<std::size_t>(end - at) - 1);
                    writer.Add(PartOf(Fold::Hash(line, seed), parts), line, number);
                    at = end + 1;
                }
            }
            for (const Part& piece : writer.Finish()) {
                KeepOfPart(piece, depth + 1, kept);
            }
            return;
        }
        ByteBuffer text;
        text.Reserve(part.bytes);
        std::vector<std::uint64_t> numbers;
        numbers.reserve(part.lines);
        for (const Chunk& chunk : part.chunks) {
            ReadChunk(spill_, chunk, text, numbers);
        }
        DocumentLines lines;
        lines.TakeText(std::move(text));
        DocumentEditor(lines).ReadAs(encoding_);
        ForEach(RemoveDuplicateLines(lines, {}),
                [&](std::size_t i) { kept.push_back(numbers[i]); });
    }

    std::optional<std::uint64_t> WriteKept(BlockReader* again, const std::filesystem::path& name) {
        std::size_t copied = 0;
        std::uint64_t base = 0;
        std::optional<std::uint64_t> last;
        BlockPipeline<ByteBuffer, DocumentLines>::Run(
            threads_,
            [&](ByteBuffer& bytes) {
                if (again != nullptr) {
                    const bool got = again->NextBytes(bytes);
                    progress_.Reach(2 * inputSize_ + again->BytesRead(), 3 * inputSize_);
                    return got;
                }
                if (copied == copy_.size()) {
                    return false;
                }
                const Chunk& chunk = copy_[copied++];
                bytes.Resize(chunk.bytes);
                spill_.Read(chunk.offset, bytes.data(), chunk.bytes);
                return true;
            },
            [&](ByteBuffer bytes, std::size_t index) {
                DocumentLines lines;
                lines.TakeText(std::move(bytes));
                ReadBlockAs(lines, encoding_, index == 0);
                return lines;
            },
            [&](DocumentLines lines, std::size_t) {
                const std::size_t n = lines.Count();
                if (base + n > lines_) {
                    throw FileError(name, "the file changed while it was read");
                }
                LineSelection selection;
                for (std::size_t i = 0; i < n; ++i) {
                    const std::uint64_t number = base + i;
                    if (kept_[number / 64] >> (number % 64) & 1) {
                        selection.Add(i);
                        last = number + 1;
                    }
                }
                for (std::string_view piece : lines.TextForm(selection)) {
                    if (!piece.empty()) {
                        (*write_)(piece);
                    }
                }
                base += n;
            });
        if (base != lines_) {
            throw FileError(name, "the file changed while it was read");
        }
        return last;
    }

    template <class Visit>
    static void ForEach(const LineSelection& selection, Visit visit) {
        for (const LineSelection::Run& run : selection.runs()) {
            for (std::size_t i = run.first; i < run.first + run.count; ++i) {
                visit(i);
            }
        }
    }

    Encoding encoding_;
    const SpillSettings& settings_;
    unsigned threads_;
    std::uint64_t inputSize_;
    std::uint64_t budget_;
    const Progress& progress_;
    SpillFile spill_;
    std::uint64_t seed_;
    const std::function<void(std::string_view)>* write_ = nullptr;
    bool copies_ = false;
    std::vector<Chunk> copy_;  // the blocks of a text that cannot be read twice
    std::vector<Part> parts_;
    std::uint64_t lines_ = 0;
    std::vector<std::uint64_t> kept_;  // a bit a line of the text
};

}  // namespace

bool DedupeFitsInMemory(std::uint64_t bytes, std::uint64_t memory) noexcept {
    return bytes <= memory / 3 * 2;
}

std::size_t DedupeBlockBytes(const SpillSettings& settings) noexcept {
    if (settings.block_bytes != 0) {
        return settings.block_bytes;
    }
    return BlockBytesWithin(settings.memory, settings.threads);
}

std::optional<std::uint64_t> DedupeInParts(
    BlockReader& reader, const std::function<std::unique_ptr<BlockReader>()>& reopen,
    Encoding encoding, const SpillSettings& settings, std::uint64_t inputSize,
    const std::function<void(std::string_view)>& write, const Progress& progress) {
    if (encoding == Encoding::Utf8) {
        return Dedupe<Utf8Fold>(encoding, settings, inputSize, progress).Run(reader, reopen, write);
    }
    return Dedupe<Cp1251Fold>(encoding, settings, inputSize, progress).Run(reader, reopen, write);
}

}  // namespace quillex
