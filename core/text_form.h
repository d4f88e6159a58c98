#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillex {

// Splits text into lines by the text-form rule, one piece at a time, so that a file can be
// read in chunks without holding it whole. A CR at the end of one piece and an LF at the
// start of the next still end a single line.
class LineSplitter {
  public:
    explicit LineSplitter(std::vector<std::string>& out) : out_(out) {}

    // Returns false once a NUL byte has ended the text; later pieces are ignored.
    bool Feed(std::string_view piece);
    // Appends the last line if the text did not end with a line break.
    void Finish();

  private:
    std::vector<std::string>& out_;
    std::string partial_;   // bytes of a line whose end is not yet seen
    bool skip_lf_ = false;  // the last line ended with a CR: one LF may follow
    bool done_ = false;     // a NUL ended the text
};

// Text form, write: the lines of `text`.
std::vector<std::string> SplitTextForm(std::string_view text);

// Text form, read: every line followed by CR LF, the last one too; no lines give "".
std::string JoinTextForm(const std::vector<std::string>& lines);

// Size of JoinTextForm's result, without building it.
std::size_t TextFormSize(const std::vector<std::string>& lines) noexcept;

}  // namespace quillex
