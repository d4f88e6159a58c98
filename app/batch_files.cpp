#include "app/batch_files.h"

#include <cerrno>
#include <cstring>
#include <random>

#include "core/file_format.h"
#include "core/file_io.h"
#include "core/text_form.h"

namespace fs = std::filesystem;

namespace quillex::batch {

namespace {

[[noreturn]] void Fail(const fs::path& path, int error) {
    throw FileError(path, std::strerror(error != 0 ? error : EIO));
}

// Returns 0 or the errno of the failure.
int WriteText(const std::string& text, const fs::path& path) {
    CFile file(path, "wb");
    if (!file) {
        return errno != 0 ? errno : EIO;
    }
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() ||
        std::fflush(file.get()) != 0) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

}  // namespace

Lines ReadWholeFile(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        throw FileError(path, "is a directory");
    }
    CFile file(path, "rb");
    if (!file) {
        Fail(path, errno);
    }
    std::string text;
    const auto size = fs::is_regular_file(path, ec) ? fs::file_size(path, ec) : 0;
    // One read for a regular file; a pipe or a file that grows is read on in steps.
    text.resize(ec ? 0 : size + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == text.size()) {
            text.resize(text.size() + (std::size_t{1} << 20));
        }
        std::size_t n = std::fread(text.data() + got, 1, text.size() - got, file.get());
        got += n;
        if (n == 0) {
            if (std::ferror(file.get())) {
                Fail(path, errno);
            }
            break;
        }
    }
    text.resize(got);
    return SplitTextForm(text);
}

void WriteWholeFile(const Lines& lines, const fs::path& path) {
    const std::string text = JoinTextForm(lines);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        if (int error = WriteText(text, path)) {  // a device or a pipe: written as it is
            Fail(path, error);
        }
        return;
    }
    fs::path temporary = path;
    temporary += ".quillex-batch-" + std::to_string(std::random_device{}()) + ".tmp";
    if (int error = WriteText(text, temporary)) {
        fs::remove(temporary, ec);
        Fail(path, error);
    }
    if (fs::exists(status)) {
        fs::permissions(temporary, status.permissions(), ec);
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        Fail(path, ec.value());
    }
}

}  // namespace quillex::batch
