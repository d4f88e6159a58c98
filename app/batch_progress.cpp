#include "app/batch_progress.h"

#include <cstdio>
#include <string>
#include <system_error>
#include <utility>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quillex::batch {

namespace {

using namespace std::chrono_literals;

constexpr auto kQuietStart = 1s;  // a shorter run shows no line
constexpr auto kRedraw = 100ms;
constexpr double kMegabyte = 1024.0 * 1024.0;  // as --memory counts

// "310", or "4.2" below 10.
std::string Megabytes(double bytes) {
    const double mb = bytes / kMegabyte;
    char text[32];
    std::snprintf(text, sizeof text, mb < 10 ? "%.1f" : "%.0f", mb);
    return text;
}

// "0:07", "12:34", "1:02:03".
std::string TimeText(std::uint64_t seconds) {
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(
            text, sizeof text, "%llu:%02u:%02u", static_cast<unsigned long long>(seconds / 3600),
            static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
    } else {
        std::snprintf(text, sizeof text, "%u:%02u", static_cast<unsigned>(seconds / 60),
                      static_cast<unsigned>(seconds % 60));
    }
    return text;
}

// "  42%  310 MB/s  0:07 left"; of an input of unknown size, "  120 MB  310 MB/s".
std::string LineText(std::uint64_t done, std::uint64_t total, double seconds) {
    const double speed = static_cast<double>(done) / seconds;
    std::string text;
    if (total == 0) {
        text.append("  ").append(Megabytes(static_cast<double>(done))).append(" MB");
    } else {
        char share[16];
        std::snprintf(
            share, sizeof share, "%4u%%",
            static_cast<unsigned>(static_cast<double>(done) * 100 / static_cast<double>(total)));
        text.append(share);
    }
    text.append("  ").append(Megabytes(speed)).append(" MB/s");
    if (total != 0 && done != 0) {
        const double left = static_cast<double>(total - done) / speed;
        text.append("  ").append(TimeText(static_cast<std::uint64_t>(left + 0.5))).append(" left");
    }
    return text;
}

bool StandardErrorIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

}  // namespace

ProgressLine::ProgressLine(bool shown, Clock clock, Sink sink)
    : shown_(shown), clock_(std::move(clock)), sink_(std::move(sink)) {
    if (shown_) {
        start_ = clock_();
    }
}

ProgressLine::~ProgressLine() {
    Clear();
}

bool ProgressLine::Reached(std::uint64_t done, std::uint64_t total) {
    if (!shown_ || (done == 0 && total == 0)) {  // the latter asks only whether to go on
        return true;
    }
    if (total != 0 && done >= total) {
        Clear();
        return true;
    }
    const auto now = clock_();
    if (now - start_ < kQuietStart || (drawnOnce_ && now - drawnAt_ < kRedraw)) {
        return true;
    }
    drawnAt_ = now;
    drawnOnce_ = true;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    std::string text = "\r";
    text.append(whole_ != 0 ? LineText(from_ + done, whole_, seconds)
                            : LineText(done, total, seconds));
    const std::size_t width = text.size() - 1;
    if (width < width_) {
        text.append(width_ - width, ' ');  // over what is left of a longer line
    } else {
        width_ = width;
    }
    sink_(text);
    return true;
}

void ProgressLine::Clear() {
    if (width_ == 0) {
        return;
    }
    std::string blank = "\r";
    blank.append(width_, ' ').append("\r");
    width_ = 0;
    sink_(blank);
}

void RunShares::Clear() const {
    if (line_ != nullptr) {
        line_->Clear();
    }
}

std::uint64_t InputSize(const std::optional<std::filesystem::path>& input) noexcept {
    std::error_code ec;
    const std::uint64_t size = input ? std::filesystem::file_size(*input, ec) : 0;
    return ec ? 0 : size;
}

bool ShowsProgress(const Options& options, bool terminal) noexcept {
    return !options.quiet && (options.progress || terminal);
}

ProgressLine StandardErrorLine(const Options& options) {
    return ProgressLine(
        ShowsProgress(options, StandardErrorIsTerminal()),
        [] { return std::chrono::steady_clock::now(); },
        [](std::string_view text) {
            std::fwrite(text.data(), 1, text.size(), stderr);
            std::fflush(stderr);
        });
}

}  // namespace quillex::batch
