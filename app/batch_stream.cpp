#include "app/batch_stream.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "core/block_pipeline.h"
#include "core/encoding.h"
#include "core/line_functions.h"
#include "core/line_operations.h"

namespace quillex::batch {

namespace {

// What one step did to one block: the lines it took in and its last number there.
struct BlockCount {
    std::uint64_t linesIn = 0;
    LastCount heard;
};

// A block as the reading thread gives it: its bytes, or where the working thread reads them.
struct BlockIn {
    ByteBuffer bytes;
    std::optional<BlockReader::Range> range;
};

// The block after the steps that run apart, on whichever thread took it.
struct BlockDone {
    DocumentLines lines;
    std::vector<BlockCount> counts;  // one for each step that ran
    std::size_t failedStep = 0;      // with `failure`
    std::exception_ptr failure;
    std::optional<BlockReader::TextEnd> textEnd;  // a NUL or the input's end came in it
    std::exception_ptr readFailure;
    std::uint64_t rangeEnd = 0;  // where its range ended, for a range read on a working thread
};

// A step's count over the blocks so far, by its function's rule.
class StepTally {
  public:
    explicit StepTally(CountRule rule) : rule_(rule) {}

    void Add(const BlockCount& block) {
        if (block.heard.reported) {
            switch (rule_) {
                case CountRule::LineNumber:
                    total_.Hear(linesBefore_ + block.heard.last);
                    break;
                case CountRule::Tally:
                    total_.Hear(tally_ + block.heard.last);
                    tally_ += block.heard.last;
                    break;
                case CountRule::FromTheEnd:
                    if (!total_.reported) {
                        total_.Hear(linesBefore_ + block.heard.last);
                    }
                    break;
            }
        }
        linesBefore_ += block.linesIn;
    }
    std::uint64_t LinesBefore() const noexcept { return linesBefore_; }
    const LastCount& Total() const noexcept { return total_; }

  private:
    CountRule rule_;
    std::uint64_t linesBefore_ = 0;
    std::uint64_t tally_ = 0;
    LastCount total_;
};

bool PutsBreaks(const FunctionParams& p) {
    auto holds = [](std::string_view text) {
        return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
    };
    return (p.from && holds(*p.from)) || (p.to && holds(*p.to)) || holds(p.left) || holds(p.right);
}

// Runs one step over a block, as RunSteps does over a whole document.
void RunStep(const FunctionCall& call, const FunctionParams& params, DocumentLines& lines,
             BlockCount& count) {
    count.linesIn = lines.Count();
    const FunctionResult result = RunLineFunction(call.function, params, lines,
                                                  [&count](std::size_t n) { count.heard.Hear(n); });
    if (result.to_write) {
        lines.Keep(*result.to_write);
    }
}

class Stream {
  public:
    Stream(BlockReader& reader, Encoding encoding, const std::vector<RecipeStep>& steps,
           const StreamSettings& settings, const PieceWriter& write)
        : reader_(reader),
          encoding_(encoding),
          steps_(steps),
          settings_(settings),
          write_(write),
          limit_(steps.size()) {
        // Steps up to the first that needs the blocks in order run apart; that one and those
        // after it run as each block's turn comes.
        apart_ = 0;
        while (apart_ < steps.size() &&
               Describe(steps[apart_].call.function).blocks == BlockRule::EachLine) {
            ++apart_;
        }
        for (const RecipeStep& step : steps) {
            tallies_.emplace_back(Describe(step.call.function).counts);
        }
        joins_ = !steps.empty() && steps.back().call.function == FunctionId::Join;
    }

    std::vector<LastCount> Run() {
        BlockPipeline<BlockIn, BlockDone>::Run(
            settings_.threads, [this](BlockIn& block) { return Read(block); },
            [this](BlockIn block, std::size_t index) { return Work(std::move(block), index); },
            [this](BlockDone done, std::size_t) { Take(std::move(done)); });
        if (failure_) {
            Fail();
        }
        if (joins_ && joined_) {
            write_("\r\n");
        }
        std::vector<LastCount> counts;
        for (const StepTally& tally : tallies_) {
            counts.push_back(tally.Total());
        }
        return counts;
    }

  private:
    bool Read(BlockIn& block) {
        // Once the earliest step fails, nothing after it can fail first.
        if (failure_ && failedStep_ == 0) {
            return false;
        }
        if (!spare_.empty()) {
            block.bytes = std::move(spare_.back());
            spare_.pop_back();
        }
        // After the first block, the threads that work on the blocks read them too, as does a
        // first step that reads them through a mapping on any number of threads: this one only
        // finds where each ends.
        bool got = false;
        if ((settings_.threads > 1 || KeepsByExtension()) && any_ && reader_.StartRanges()) {
            if (!view_ && KeepsByExtension()) {
                view_ = reader_.ViewRanges();
            }
            got = reader_.NextRange(block.range.emplace());
        } else {
            got = reader_.NextBytes(block.bytes);
        }
        if (settings_.meter != nullptr &&
            !settings_.meter->Reached(reader_.BytesRead(), settings_.inputSize)) {
            throw WorkCancelled();
        }
        if (!got && !any_) {
            block.bytes = ByteBuffer();  // an empty text still runs once, for the failures it gives
        }
        const bool more = got || !any_;
        any_ = true;
        return more;
    }

    BlockDone Work(BlockIn block, std::size_t index) const {
        BlockDone done;
        ByteBuffer& bytes = block.bytes;
        const std::size_t to = std::min(apart_, limit_.load());
        // A first block that starts with a byte-order mark is left to the load's own rules,
        // which hold the mark apart whether or not its line is kept.
        const bool keeps = to != 0 && KeepsByExtension() &&
                           (index != 0 || !StartsWithUtf8Bom({bytes.data(), bytes.size()}));
        bool kept = false;
        if (block.range) {
            done.rangeEnd = block.range->to;
            kept = keeps && KeepFromView(*block.range, bytes, done);
            if (!kept) {
                try {
                    done.textEnd = reader_.ReadRange(*block.range, bytes);
                } catch (...) {
                    done.readFailure = std::current_exception();
                    return done;
                }
            }
        }
        if (!kept) {
            kept = keeps && Count(KeepBlockLinesWithExtension(bytes, Extension()), done);
        }
        done.lines.TakeText(std::move(bytes));
        // Kept lines of a first block without a mark are read as they are: a mark on one of
        // them is that line's own.
        ReadBlockAs(done.lines, encoding_, index == 0 && !kept);
        RunSteps(done, kept ? 1 : 0, to);
        return done;
    }

    // A first step that keeps the lines with an extension finds them in the block's bytes,
    // without splitting every line first.
    bool KeepsByExtension() const {
        const FunctionCall& call = steps_.front().call;
        return call.function == FunctionId::FilterExt &&
               call.params.mode == FilterMode::KeepMatching;
    }
    const std::string& Extension() const { return steps_.front().call.params.extension; }

    // And it reads a range where the system keeps the file, copying out only the lines it
    // keeps. False, with nothing done, where the range must be read the plain way: no mapping,
    // a block not in the text form (a NUL in it among them), or a file cut short meanwhile.
    bool KeepFromView(const BlockReader::Range& range, ByteBuffer& bytes, BlockDone& done) const {
        if (!view_ || !view_->Mapped()) {
            return false;
        }
        const std::optional<KeptLines> kept =
            CopyBlockLinesWithExtension(view_->Bytes(range.from, range.to), Extension(), bytes);
        return !view_->Cut() && Count(kept, done);
    }

    // The filter's count for its block, as a step's count.
    static bool Count(const std::optional<KeptLines>& kept, BlockDone& done) {
        if (!kept) {
            return false;
        }
        BlockCount& count = done.counts.emplace_back();
        count.linesIn = kept->lines;
        if (kept->lines != 0) {
            count.heard.Hear(kept->kept);  // the matches so far, as the filter tells them
        }
        return true;
    }

    void RunSteps(BlockDone& done, std::size_t from, std::size_t to) const {
        for (std::size_t k = from; k < to; ++k) {
            done.counts.emplace_back();
            try {
                RunStep(steps_[k].call, ParamsFor(k), done.lines, done.counts.back());
            } catch (...) {
                done.failedStep = k;
                done.failure = std::current_exception();
                return;
            }
        }
    }

    // Drop-first drops what is left of its count; everything else runs as it was given.
    FunctionParams ParamsFor(std::size_t k) const {
        FunctionParams params = steps_[k].call.params;
        if (steps_[k].call.function == FunctionId::DropFirst && k >= apart_) {
            std::int32_t count = 0;
            try {
                count = ParseCountText(params.drop_count);
            } catch (const std::exception&) {
                return params;  // fails in the first block as over the whole text
            }
            if (count > 0) {
                const std::uint64_t before = tallies_[k].LinesBefore();
                params.drop_count = std::to_string(
                    before >= static_cast<std::uint64_t>(count) ? 0 : count - before);
            }
        }
        return params;
    }

    void Take(BlockDone done) {
        if (textEnded_) {
            return;  // read ahead past the end of the text
        }
        if (done.readFailure) {
            std::rethrow_exception(done.readFailure);
        }
        if (done.textEnd) {
            reader_.EndText(*done.textEnd);
            textEnded_ = true;
        }
        if (view_ && done.rangeEnd != 0) {
            view_->Release(done.rangeEnd);
        }
        if (!done.failure) {
            RunSteps(done, apart_, limit_.load());
        }
        if (done.failure) {
            if (!failure_ || done.failedStep < failedStep_) {
                failure_ = done.failure;
                failedStep_ = done.failedStep;
                limit_ = failedStep_;
            }
            return;
        }
        if (failure_) {
            return;  // read on only for an earlier step's failure
        }
        for (std::size_t k = 0; k < done.counts.size(); ++k) {
            tallies_[k].Add(done.counts[k]);
        }
        Write(done.lines);
        // The blocks out at once are a few, and so are the buffers kept for the next ones.
        if (spare_.size() < 2 * std::size_t{std::max(settings_.threads, 1u)} + 2) {
            spare_.push_back(done.lines.ReleaseText());
        }
    }

    void Write(const DocumentLines& lines) {
        for (std::string_view piece : lines.FileForm()) {
            if (joins_ && lines.Count() != 0 && piece.data() == lines.TextForm().data()) {
                // A joined block is part of the one line: its break comes once, at the end.
                piece.remove_suffix(2);
                joined_ = true;
            }
            if (!piece.empty()) {
                write_(piece);
            }
        }
    }

    [[noreturn]] void Fail() const {
        if (settings_.recipe) {
            RethrowStepFailure(steps_[failedStep_], failure_);
        }
        std::rethrow_exception(failure_);
    }

    BlockReader& reader_;
    Encoding encoding_;
    const std::vector<RecipeStep>& steps_;
    const StreamSettings& settings_;
    const PieceWriter& write_;
    std::size_t apart_ = 0;
    // The steps a block still runs: all of them, until one fails.
    std::atomic<std::size_t> limit_;
    std::vector<StepTally> tallies_;
    bool joins_ = false;
    bool joined_ = false;
    bool any_ = false;
    bool textEnded_ = false;  // a block read on a working thread held the text's end
    std::exception_ptr failure_;
    std::size_t failedStep_ = 0;
    std::vector<ByteBuffer> spare_;  // written blocks' buffers, for the blocks still to read
    // The ranges where the system keeps them, for a first step that reads them through it;
    // set before the first range goes to a working thread.
    std::unique_ptr<FileView> view_;
};

}  // namespace

void LastCount::Into(std::vector<std::string>& counts, const std::string& prefix) const {
    if (reported) {
        std::string line = prefix;
        line.append("Lines processed: ").append(std::to_string(last)).append("\n");
        counts.push_back(std::move(line));
    }
}

bool Streams(const std::vector<RecipeStep>& steps) {
    for (std::size_t k = 0; k < steps.size(); ++k) {
        const FunctionId function = steps[k].call.function;
        if (function == FunctionId::Join) {
            if (k + 1 != steps.size()) {
                return false;
            }
            for (std::size_t before = 0; before < k; ++before) {
                if (PutsBreaks(steps[before].call.params)) {
                    return false;
                }
            }
        } else if (Describe(function).blocks == BlockRule::Whole) {
            return false;
        }
    }
    return !steps.empty();
}

Encoding EncodingOfFile(const std::filesystem::path& input, std::optional<Encoding> given,
                        std::size_t blockBytes) {
    if (given) {
        return *given;
    }
    BlockReader probe(input, blockBytes);
    return DetectEncodingOf(probe);
}

std::vector<LastCount> StreamSteps(BlockReader& reader, Encoding encoding,
                                   const std::vector<RecipeStep>& steps,
                                   const StreamSettings& settings, const PieceWriter& write) {
    return Stream(reader, encoding, steps, settings, write).Run();
}

}  // namespace quillex::batch
