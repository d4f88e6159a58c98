// Files: any bytes load by the split rule (a NUL reported where it ends the text, UTF-16
// refused), and any lines saved load back as they were, the saved bytes being their text form.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/file_format.h"
#include "core/input_check.h"
#include "core/text_form.h"
#include "fuzz/finding.h"
#include "fuzz/scratch.h"
#include "fuzz/split_model.h"

using namespace quillex;
using fuzz::Require;
namespace fs = std::filesystem;

namespace {

bool LooksUtf16(const std::string& bytes) {
    const std::string mark = bytes.substr(0, 2);
    return (mark == "\xFF\xFE" || mark == "\xFE\xFF") && bytes.find('\0') != bytes.npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const fs::path in = fuzz::ScratchFolder() / "in.txt";
    std::ofstream(in, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
    const std::vector<std::string> expected = fuzz::ModelSplit(bytes);

    LoadReport report;
    try {
        Require(LoadLines(in, &report) == expected, "LoadLines differs from the rule");
        Require(!LooksUtf16(bytes), "UTF-16 text was loaded");
        const auto nul = fuzz::ModelNulOffset(bytes);
        Require(
            report.nulOffset.has_value() == nul.has_value() && (!nul || *report.nulOffset == *nul),
            "the NUL offset is wrong");
    } catch (const FileError&) {
        Require(LooksUtf16(bytes), "a readable file failed to load");
    }

    // The lines as the file holds them come back from a save and a load unchanged.
    const fs::path out = fuzz::ScratchFolder() / "out.txt";
    SaveLines(expected, out);
    Require(fuzz::FileBytes(out) == JoinTextForm(expected),
            "the saved bytes are not the text form");
    Require(LoadLines(out) == expected, "saved lines do not load back");
    return 0;
}
