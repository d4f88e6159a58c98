#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillex {

struct LoadReport;

// Raised by Get, Put and Delete for an index outside 0..Count-1; the list is left as it was.
class IndexError : public std::out_of_range {
  public:
    using std::out_of_range::out_of_range;
};

// The document: an ordered, unsorted list of single-byte lines (one character is one byte).
// Lines set through the text form or loaded from a file never hold CR, LF or NUL; lines put
// by the line functions may hold any byte and are written back unchanged.
class DocumentLines {
  public:
    using Lines = std::vector<std::string>;

    DocumentLines() = default;
    explicit DocumentLines(Lines lines) : lines_(std::move(lines)) {}

    std::size_t Count() const noexcept { return lines_.size(); }
    const std::string& Get(std::size_t index) const;
    void Put(std::size_t index, std::string text);
    void Delete(std::size_t index);
    // Appends a line and returns its index.
    std::size_t Add(std::string text);
    void Clear() noexcept { lines_.clear(); }

    // Text form: every line followed by CR LF, the last one too.
    std::string Text() const;
    // Replaces every line by the lines of `text` (CR LF, lone CR and lone LF end a line,
    // the first NUL ends the text, a final break adds no empty line).
    void SetText(std::string_view text);

    // Both are all or nothing for the list: on failure a FileError is thrown and the lines
    // stay as they were (loading) and the target file keeps its old content (saving).
    // A load cut short by a NUL byte says where in `report`.
    void LoadFromFile(const std::filesystem::path& path, LoadReport* report = nullptr);
    void SaveToFile(const std::filesystem::path& path) const;

    // Whole-list access for the line operations, which work on the vector in one pass.
    Lines& lines() noexcept { return lines_; }
    const Lines& lines() const noexcept { return lines_; }

    friend bool operator==(const DocumentLines&, const DocumentLines&) = default;

  private:
    void CheckIndex(std::size_t index, const char* operation) const;

    Lines lines_;
};

}  // namespace quillex
