// quillex-batch's standard input against a file of the same bytes: read from a stream in
// chunks of any size, the bytes give the same refusal, or the same lines, text, report and
// detected encoding as the window's load from a file.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/batch_streams.h"
#include "core/encoding.h"
#include "fuzz/finding.h"

using namespace quillex;
using fuzz::Require;

namespace {

// One name for the whole run; the file is written for each input and removed after it.
const std::string& FilePath() {
    static const std::string path = [] {
        std::string name = "/tmp/quillex-batch-input-XXXXXX";
        const int fd = mkstemp(name.data());
        if (fd < 0) {
            fuzz::Finding("no temporary file");
        }
        close(fd);
        return name;
    }();
    return path;
}

struct Loaded {
    bool refused = false;
    std::string reason;
    Lines lines;
    std::string text;
    std::optional<std::uint64_t> nulOffset;
    Encoding encoding = Encoding::Windows1251;

    bool operator==(const Loaded&) const = default;
};

template <class Load>
Loaded Outcome(Load load) {
    Loaded r;
    DocumentLines document;
    LoadReport report;
    try {
        load(document, report);
    } catch (const InputRefused& e) {
        r.refused = true;
        r.reason = e.reason();
        return r;
    }
    r.lines = document.ToLines();
    r.text = document.Text();
    r.nulOffset = report.nulOffset;
    r.encoding = DetectEncoding(document.TextForm());
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::size_t chunk = in.ConsumeIntegralInRange<std::size_t>(1, 64);
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    std::FILE* out = std::fopen(FilePath().c_str(), "wb");
    Require(out != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() &&
                std::fclose(out) == 0,
            "the file was not written");

    const Loaded fromFile =
        Outcome([](DocumentLines& d, LoadReport& r) { d.LoadFromFile(FilePath(), &r); });
    std::FILE* stream = std::fopen(FilePath().c_str(), "rb");
    Require(stream != nullptr, "the file does not open");
    const Loaded fromStream = Outcome([&](DocumentLines& d, LoadReport& r) {
        batch::LoadFromStream(stream, "standard input", d, &r, chunk);
    });
    std::fclose(stream);
    std::remove(FilePath().c_str());
    Require(fromStream == fromFile, "standard input loads otherwise than the file");
    return 0;
}
