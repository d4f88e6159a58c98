#include "app/batch_streams.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace quillex::batch {

void FailStream(const char* name) {
    throw StreamError(std::string(name) + ": " + std::strerror(errno));
}

void WriteToStandardOutput(std::string_view piece) {
    if (std::fwrite(piece.data(), 1, piece.size(), stdout) != piece.size()) {
        FailStream("standard output");
    }
}

void WriteOut(const ContentProducer& produce, std::uint64_t size,
              const std::optional<std::filesystem::path>& output) {
    if (output) {
        SaveProduced(produce, size, *output);
    } else {
        produce(WriteToStandardOutput);
    }
}

void WarnOfNul(const LoadReport& report, const std::filesystem::path& input) {
    if (report.nulOffset) {  // the run goes on with the text before it, as the window's does
        std::fprintf(stderr, "quillex-batch: warning: %s.\n",
                     NulNotice(input, *report.nulOffset).c_str());
    }
}

void LoadFromStream(std::FILE* stream, const char* name, DocumentLines& document,
                    LoadReport* report, std::size_t chunk) {
    ByteBuffer bytes;
    std::vector<char> buffer(chunk);
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), stream)) > 0) {
        bytes.Append(buffer.data(), n);
    }
    if (std::ferror(stream)) {
        FailStream(name);
    }
    InspectLoadedText(name, {bytes.data(), bytes.size()}, report);
    document.TakeText(std::move(bytes));
}

}  // namespace quillex::batch
