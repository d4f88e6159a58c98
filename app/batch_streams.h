#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "core/document_lines.h"
#include "core/file_format.h"
#include "core/input_check.h"

namespace quillex::batch {

// How messages name standard input.
inline constexpr const char* kStandardInputName = "standard input";

// A standard stream that failed: it ends the whole run, however many files are left.
class StreamError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws StreamError for a failed read or write of a standard stream, with the system's reason.
[[noreturn]] void FailStream(const char* name);

// Writes a piece to standard output, or throws StreamError.
void WriteToStandardOutput(std::string_view piece);

// Writes what `produce` gives to `output` through the safe writer (`size`: how much is
// expected, 0 where unknown), or to standard output where there is none.
void WriteOut(const ContentProducer& produce, std::uint64_t size,
              const std::optional<std::filesystem::path>& output);

// The warning of a NUL byte that ended the text of `input`, where one did.
void WarnOfNul(const LoadReport& report, const std::filesystem::path& input);

// Loads the document from a stream (standard input), read to its end `chunk` bytes at a
// time, as a load from a file of the same bytes would: the same refusals, the same lines and
// the same report.
void LoadFromStream(std::FILE* stream, const char* name, DocumentLines& document,
                    LoadReport* report, std::size_t chunk = std::size_t{1} << 16);

}  // namespace quillex::batch
