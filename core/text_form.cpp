#include "core/text_form.h"

#include <cstring>

namespace quillex {

namespace {

// First CR, LF or NUL in [p, end), or end. memchr for the LF, which ends most lines, then for
// the rarer CR and NUL within the shorter span keeps this close to a plain memchr split.
const char* FindBreak(const char* p, const char* end) {
    const char* stop = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    if (stop == nullptr) {
        stop = end;
    }
    if (const void* cr = std::memchr(p, '\r', static_cast<size_t>(stop - p))) {
        stop = static_cast<const char*>(cr);
    }
    if (const void* nul = std::memchr(p, '\0', static_cast<size_t>(stop - p))) {
        stop = static_cast<const char*>(nul);
    }
    return stop;
}

}  // namespace

bool LineSplitter::Feed(std::string_view piece) {
    const char* p = piece.data();
    const char* const end = p + piece.size();
    while (!done_ && p != end) {
        if (skip_lf_) {
            skip_lf_ = false;
            if (*p == '\n') {
                ++p;
                continue;
            }
        }
        const char* stop = FindBreak(p, end);
        if (stop == end) {
            partial_.append(p, end);  // the line goes on in the next piece
            break;
        }
        if (*stop == '\0') {
            if (!partial_.empty() || stop != p) {
                partial_.append(p, stop);
                out_.push_back(std::move(partial_));
                partial_.clear();
            }
            done_ = true;
            break;
        }
        if (partial_.empty()) {
            out_.emplace_back(p, stop);
        } else {
            partial_.append(p, stop);
            out_.push_back(std::move(partial_));
            partial_.clear();
        }
        skip_lf_ = (*stop == '\r');
        p = stop + 1;
    }
    return !done_;
}

void LineSplitter::Finish() {
    if (!done_ && !partial_.empty()) {
        out_.push_back(std::move(partial_));
        partial_.clear();
    }
    done_ = true;
}

std::vector<std::string> SplitTextForm(std::string_view text) {
    std::vector<std::string> lines;
    LineSplitter splitter(lines);
    splitter.Feed(text);
    splitter.Finish();
    return lines;
}

std::size_t TextFormSize(const std::vector<std::string>& lines) noexcept {
    std::size_t size = 0;
    for (const auto& line : lines) {
        size += line.size() + 2;
    }
    return size;
}

std::string JoinTextForm(const std::vector<std::string>& lines) {
    std::string text;
    text.reserve(TextFormSize(lines));
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace quillex
