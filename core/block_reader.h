#pragma once

// Reading a text a block of whole lines at a time, by the very rules of a whole load, for work
// on inputs larger than the memory may hold.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "core/byte_buffer.h"
#include "core/document_lines.h"
#include "core/encoding.h"
#include "core/file_io.h"
#include "core/file_view.h"
#include "core/input_check.h"

namespace quillex {

class BlockReader {
  public:
    // Opens the file as a load does: a regular file only (see OpenInputFile).
    BlockReader(const std::filesystem::path& path, std::size_t blockBytes);
    // Reads an open stream, such as standard input, which stays open; `name` is for messages.
    BlockReader(std::FILE* stream, std::filesystem::path name, std::size_t blockBytes);
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // The next lines, in place of the block's old ones (which go first, so that two blocks
    // never take memory at once): the input up to its last line break within `blockBytes`
    // bytes, or one whole line where it is longer. Joined end to end, the blocks hold the
    // lines a whole load gives, in Windows-1251 with a byte-order mark left in the first line
    // (CR LF, lone CR and lone LF end a line; a CR LF is never split; the first NUL ends the
    // text; a final break adds no empty line). False, with no lines, once the text has ended.
    // Throws FileError, and refuses UTF-16 text, as a load does.
    bool Next(DocumentLines& block);
    // The same block as bytes, not yet split into lines, so that the split may happen on
    // another thread (TakeText gives the lines Next would); a put-back block as its text form.
    // The block goes into `bytes`' memory where it has room.
    bool NextBytes(ByteBuffer& bytes);

    // Has later blocks given as their place in the file instead, for the caller's threads to
    // read at once (ReadRange) rather than this one read them all: for a file, where the
    // system can read one at a given place, once a first block was read (its start holds the
    // checks of the text's start) and with nothing put back. False where the blocks go on
    // coming as bytes.
    bool StartRanges();
    // Where the next block lies: the input up to its last line break within the block size,
    // or one whole line where it is longer, found from a few of its last bytes; the input as
    // long as it was when the ranges started. False once the input or the text has ended.
    struct Range {
        std::uint64_t from = 0;
        std::uint64_t to = 0;
    };
    bool NextRange(Range& range);
    // Reads a range NextRange gave into `bytes`, up to a NUL or the input's end where one
    // comes first, and then gives where the text ended (EndText takes it, in the blocks'
    // order). Safe on several threads at once.
    struct TextEnd {
        std::uint64_t at = 0;
        bool nul = false;  // else the input ended early: it was cut short meanwhile
    };
    std::optional<TextEnd> ReadRange(const Range& range, ByteBuffer& bytes) const;
    // The input from the next range to the end of the ranges where the system keeps it, for
    // a scan that reads each block once and keeps little of it (after StartRanges); without a
    // mapping where none is to be had (the ranges are read then).
    std::unique_ptr<FileView> ViewRanges() const;
    void EndText(const TextEnd& end);

    // Whether the text has ended: Next has nothing more to give.
    bool AtEnd() const noexcept { return ended_ && carry_.empty() && !put_back_; }
    // Has the next Next give these lines, as it gave them, again: a look at the first block
    // of a stream decides how the rest is read.
    void PutBack(DocumentLines block) noexcept {
        back_ = std::move(block);
        put_back_ = true;
    }
    // Blocks from here on end within `bytes` bytes.
    void SetBlockBytes(std::size_t bytes) noexcept { block_ = bytes; }
    // The bytes read from the input so far, some of them perhaps not yet given in a block.
    std::uint64_t BytesRead() const noexcept { return read_; }
    // Where a NUL byte ended the text, once the reader has got there.
    const LoadReport& Report() const noexcept { return report_; }
    const std::filesystem::path& Name() const noexcept { return name_; }

  private:
    // Reads until `bytes` holds `limit` bytes or the text has ended.
    void Fill(ByteBuffer& bytes, std::size_t limit);

    CFile owned_;
    std::FILE* stream_;
    std::filesystem::path name_;
    std::size_t block_;
    ByteBuffer carry_;        // bytes read past the end of the last block
    std::uint64_t read_ = 0;  // bytes read from the input
    std::string start_;       // its first two bytes, for the UTF-16 check
    bool ended_ = false;      // the input or the text ended
    bool ranges_ = false;     // blocks are given as ranges from `read_` on
    std::uint64_t size_ = 0;  // the file's size when the ranges started: they end there
    ByteBuffer look_;         // a range's last bytes, where its last line ends
    LoadReport report_;
    DocumentLines back_;
    bool put_back_ = false;
};

// Gives a block's lines (from NextBytes) the text's encoding: the first block's byte-order
// mark is held apart as a load holds it, while a later block's first line is only a line.
void ReadBlockAs(DocumentLines& block, Encoding encoding, bool first);

// The encoding DetectEncoding finds in the whole text of the reader's input, read to its end.
Encoding DetectEncodingOf(BlockReader& reader);

}  // namespace quillex
