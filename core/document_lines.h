#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_buffer.h"
#include "core/encoding.h"
#include "core/line_index.h"
#include "core/line_selection.h"
#include "core/piece_stream.h"
#include "core/progress.h"

namespace quillex {

struct LoadReport;

// A plain list of lines, for building a document from literals and for comparing with one.
using Lines = std::vector<std::string>;

// Raised by Get, Put and Delete for an index outside 0..Count-1; the list is left as it was.
class IndexError : public std::out_of_range {
  public:
    using std::out_of_range::out_of_range;
};

// The document: an ordered, unsorted list of lines of bytes, read in its encoding (one
// character a byte in Windows-1251, a code point in UTF-8). Lines set through the text form
// or loaded from a file never hold CR, LF or NUL; lines put by the line functions may hold
// any byte and are written back unchanged. A UTF-8 document's byte-order mark is held apart
// from its first line and written in front of it again.
//
// The lines live in one buffer in their text form (each followed by CR LF) with an index of
// where each starts, so a loaded file in the text form is the buffer as it was read, and
// saving is writing the buffer. Copying a document copies two blocks; moving copies nothing.
class DocumentLines {
  public:
    DocumentLines() = default;
    explicit DocumentLines(const Lines& lines);

    std::size_t Count() const noexcept { return index_.empty() ? 0 : index_.size() - 1; }
    // The view stays valid until the document next changes.
    std::string_view Get(std::size_t index) const;
    void Put(std::size_t index, std::string_view text);
    void Delete(std::size_t index);
    // Appends a line and returns its index.
    std::size_t Add(std::string_view text);
    void Clear() noexcept;

    // Text form: every line followed by CR LF, the last one too.
    std::string Text() const { return std::string(TextForm()); }
    std::string_view TextForm() const noexcept { return {text_.data(), text_.size()}; }
    // Replaces every line by the lines of `text` (CR LF, lone CR and lone LF end a line,
    // the first NUL ends the text, a final break adds no empty line).
    void SetText(std::string_view text);
    // The same, taking the bytes over: text already in the text form is not copied.
    void TakeText(ByteBuffer text);
    // Gives up the text's buffer for other use and leaves no lines: a stream of blocks reuses
    // the memory it already has rather than have fresh memory cleared for every block.
    ByteBuffer ReleaseText() noexcept {
        ByteBuffer text;
        text.swap(text_);
        Clear();
        return text;
    }

    // The text form and the line functions keep the encoding; a loaded file starts as
    // Windows-1251, its bytes as they are, until SetEncoding reads them otherwise.
    Encoding GetEncoding() const noexcept { return encoding_; }
    bool HasBom() const noexcept { return bom_; }
    // Reads the same bytes in `encoding`: a UTF-8 byte-order mark at the start of the first
    // line becomes the document's mark, and goes back into the line for Windows-1251.
    void SetEncoding(Encoding encoding);
    // The same in `given`, or where none is given in the encoding the bytes show
    // (DetectEncoding), as a load takes it; returns the encoding taken.
    Encoding TakeEncoding(std::optional<Encoding> given = std::nullopt);

    // Both are all or nothing for the list: on failure a FileError is thrown and the lines
    // stay as they were (loading) and the target file keeps its old content (saving).
    // A load cut short by a NUL byte says where in `report`. `progress` hears the bytes read or
    // written and may stop either (WorkCancelled), which changes nothing.
    void LoadFromFile(const std::filesystem::path& path, LoadReport* report = nullptr,
                      const Progress& progress = {});
    void SaveToFile(const std::filesystem::path& path, const Progress& progress = {}) const;

    // What a file of the document holds: the byte-order mark, if any, and the text form.
    TextPieces FileForm() const;
    // The same for some lines: the mark, then one piece for each run of them.
    TextPieces TextForm(const LineSelection& lines) const;
    // The file form with the lines in `order` (line numbers, each line once), written from
    // where they lie through a small buffer of its own; both must outlive the stream.
    PieceStream FileForm(const std::vector<std::uint32_t>& order) const;
    // Keeps only the selected lines, moving each run of them once.
    void Keep(const LineSelection& lines) noexcept;

    Lines ToLines() const;
    Lines ToLines(const LineSelection& lines) const;

    friend bool operator==(const DocumentLines& a, const DocumentLines& b) noexcept;

  private:
    friend class DocumentEditor;

    void CheckIndex(std::size_t index, const char* operation) const;
    std::uint64_t Start(std::size_t i) const noexcept { return index_[i]; }
    // Length of line i, its CR LF not counted.
    std::size_t Length(std::size_t i) const noexcept {
        return static_cast<std::size_t>(index_[i + 1] - index_[i] - 2);
    }

    // Moves every byte by `by` (removing or making room at the start of the first line).
    void ShiftLines(std::ptrdiff_t by);

    ByteBuffer text_;  // the text form of every line
    LineIndex index_;  // Count() + 1 entries: each line's start, then the end of text_
    Encoding encoding_ = Encoding::Windows1251;
    bool bom_ = false;  // a UTF-8 byte-order mark stood before the first line
};

}  // namespace quillex
