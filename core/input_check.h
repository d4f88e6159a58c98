#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/file_format.h"

namespace quillex {

// A file the program will not load for what it is (a directory, a pipe, UTF-16 text), as
// opposed to one that could not be read; `reason()` says what it is in English, `kind()` names
// it for a message in the interface language.
class InputRefused : public FileError {
  public:
    enum class Kind { Directory, Pipe, Socket, CharacterDevice, BlockDevice, Special, Utf16 };

    InputRefused(const std::filesystem::path& path, Kind kind, const std::string& reason)
        : FileError(path, reason), kind_(kind), reason_(reason) {}

    Kind kind() const noexcept { return kind_; }
    const std::string& reason() const noexcept { return reason_; }

  private:
    Kind kind_;
    std::string reason_;
};

// Opens a file to load, for reading only. Anything but a regular file (a directory, a pipe,
// a socket, a device) is refused with an InputRefused that says what it is: such an input may
// never end or may wait forever for a writer. The open itself never waits either.
std::FILE* OpenInputFile(const std::filesystem::path& path);

// What a load found beyond its lines.
struct LoadReport {
    // The text ended at a NUL byte at this offset of the file; the rest was not loaded.
    std::optional<std::uint64_t> nulOffset;
};

// Looks at the bytes of a file just read, before they become the document's: refuses, with an
// InputRefused, text that begins with a UTF-16 byte-order mark and holds a NUL byte in its first
// megabyte (read byte by byte it would load as a line of garbage), and sets `report` (where
// given) to what the load will leave out.
void InspectLoadedText(const std::filesystem::path& path, std::string_view bytes,
                       LoadReport* report);

// The same refusal for text read in parts: `start` holds its first bytes (two are enough) and
// `nul` where its first NUL byte is, if it has one.
void RefuseUtf16(const std::filesystem::path& path, std::string_view start,
                 std::optional<std::uint64_t> nul);

// The notice for a load cut short by a NUL byte, naming the file and the offset.
std::string NulNotice(const std::filesystem::path& path, std::uint64_t offset);

}  // namespace quillex
