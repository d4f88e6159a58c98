#include "core/document_lines.h"

#include <cstring>
#include <memory>

#include "core/document_editor.h"
#include "core/file_format.h"
#include "core/input_check.h"
#include "core/text_form.h"

namespace quillex {

DocumentLines::DocumentLines(const Lines& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) {
        size += line.size() + 2;
    }
    text_.Reserve(size);
    index_.Prepare(size);
    index_.Reserve(lines.size() + 1);
    for (const auto& line : lines) {
        Add(line);
    }
}

void DocumentLines::CheckIndex(std::size_t index, const char* operation) const {
    if (index >= Count()) {
        throw IndexError(std::string(operation) + ": list index out of bounds (" +
                         std::to_string(index) + ")");
    }
}

std::string_view DocumentLines::Get(std::size_t index) const {
    CheckIndex(index, "Get");
    return {text_.data() + Start(index), Length(index)};
}

void DocumentLines::Put(std::size_t index, std::string_view text) {
    CheckIndex(index, "Put");
    // One line of many changes: the lines after it move by the difference. Built aside so
    // that a lack of memory leaves the document as it was.
    const std::size_t start = static_cast<std::size_t>(Start(index));
    const std::size_t end = static_cast<std::size_t>(Start(index + 1)) - 2;
    ByteBuffer rebuilt;
    rebuilt.Reserve(text_.size() - (end - start) + text.size());
    rebuilt.Append(text_.data(), start);
    rebuilt.Append(text.data(), text.size());
    rebuilt.Append(text_.data() + end, text_.size() - end);
    LineIndex moved = index_;
    const auto shift =
        static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(end - start);
    moved.Prepare(rebuilt.size());
    for (std::size_t j = index + 1; j < moved.size(); ++j) {
        moved.Set(j, static_cast<std::uint64_t>(static_cast<std::int64_t>(moved[j]) + shift));
    }
    text_.swap(rebuilt);
    index_ = std::move(moved);
}

void DocumentLines::Delete(std::size_t index) {
    CheckIndex(index, "Delete");
    LineSelection kept;
    kept.AddRange(0, index);
    kept.AddRange(index + 1, Count() - index - 1);
    DocumentEditor(*this).Keep(kept);
}

std::size_t DocumentLines::Add(std::string_view text) {
    const bool first = index_.empty();
    if (first) {
        index_.Push(0);
    }
    try {
        index_.Push(text_.size() + text.size() + 2);
    } catch (...) {
        if (first) {
            index_.Clear();
        }
        throw;
    }
    try {
        text_.ReserveMore(text.size() + 2);
    } catch (...) {
        index_.Truncate(first ? 0 : index_.size() - 1);
        throw;
    }
    text_.Append(text.data(), text.size());  // cannot fail now: the room is there
    text_.Append("\r\n", 2);
    return Count() - 1;
}

void DocumentLines::Clear() noexcept {
    text_.Release();
    index_ = LineIndex();
}

void DocumentLines::SetText(std::string_view text) {
    ByteBuffer bytes;
    bytes.Append(text.data(), text.size());
    TakeText(std::move(bytes));
}

void DocumentLines::TakeText(ByteBuffer text) {
    LineIndex index;
    IndexTextForm(text, index);
    text_.swap(text);
    index_ = std::move(index);
}

Encoding DocumentLines::TakeEncoding(std::optional<Encoding> given) {
    const Encoding encoding = given ? *given : DetectEncoding(TextForm());
    SetEncoding(encoding);
    return encoding;
}

void DocumentLines::SetEncoding(Encoding encoding) {
    if (encoding == encoding_) {
        return;
    }
    if (encoding == Encoding::Utf8) {
        if (Count() != 0 && StartsWithUtf8Bom(Get(0))) {
            ShiftLines(-static_cast<std::ptrdiff_t>(kUtf8Bom.size()));
            bom_ = true;
        }
    } else if (bom_) {
        if (Count() == 0) {
            Add(kUtf8Bom);
        } else {
            ShiftLines(static_cast<std::ptrdiff_t>(kUtf8Bom.size()));
            std::memcpy(text_.data(), kUtf8Bom.data(), kUtf8Bom.size());
        }
        bom_ = false;
    }
    encoding_ = encoding;
}

void DocumentLines::ShiftLines(std::ptrdiff_t by) {
    const std::size_t size = text_.size();
    const std::size_t shifted = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(size) + by);
    index_.Prepare(shifted);
    text_.Reserve(shifted);
    if (by > 0) {
        std::memmove(text_.data() + by, text_.data(), size);
    } else {
        std::memmove(text_.data(), text_.data() - by, shifted);
    }
    text_.Resize(shifted);
    for (std::size_t j = 1; j < index_.size(); ++j) {
        index_.Set(j, static_cast<std::uint64_t>(static_cast<std::int64_t>(index_[j]) + by));
    }
}

void DocumentLines::LoadFromFile(const std::filesystem::path& path, LoadReport* report,
                                 const Progress& progress) {
    ByteBuffer bytes = ReadWholeFile(path, progress);
    InspectLoadedText(path, {bytes.data(), bytes.size()}, report);
    TakeText(std::move(bytes));  // replaced only once the whole file was read
    encoding_ = Encoding::Windows1251;
    bom_ = false;
}

void DocumentLines::SaveToFile(const std::filesystem::path& path, const Progress& progress) const {
    SaveText(FileForm(), path, progress);
}

TextPieces DocumentLines::FileForm() const {
    TextPieces pieces;
    if (bom_) {
        pieces.push_back(kUtf8Bom);
    }
    pieces.push_back(TextForm());
    return pieces;
}

Lines DocumentLines::ToLines() const {
    Lines lines;
    lines.reserve(Count());
    for (std::size_t i = 0; i < Count(); ++i) {
        lines.emplace_back(Get(i));
    }
    return lines;
}

PieceStream DocumentLines::FileForm(const std::vector<std::uint32_t>& order) const {
    PieceStream stream;
    stream.size = (bom_ ? kUtf8Bom.size() : 0) + text_.size();
    stream.each = [this, &order](const PieceStream::Put& put) {
        if (bom_ && !put(kUtf8Bom)) {
            return false;
        }
        PieceGatherer gathered(put);
        constexpr std::size_t kAhead = 8;  // lines asked of the memory before they are copied
        const std::size_t n = order.size();
        for (std::size_t k = 0; k < n; ++k) {
            if (k + 2 * kAhead < n) {
                index_.Prefetch(order[k + 2 * kAhead]);
            }
            if (k + kAhead < n) {
                __builtin_prefetch(text_.data() + Start(order[k + kAhead]));
            }
            const std::size_t i = order[k];
            // With its CR LF.
            if (!gathered.Add({text_.data() + Start(i), Length(i) + 2})) {
                return false;
            }
        }
        return gathered.Flush();
    };
    return stream;
}

TextPieces DocumentLines::TextForm(const LineSelection& lines) const {
    TextPieces pieces;
    pieces.reserve(lines.runs().size() + 1);
    if (bom_) {
        pieces.push_back(kUtf8Bom);
    }
    for (const LineSelection::Run& run : lines.runs()) {
        const auto from = static_cast<std::size_t>(Start(run.first));
        pieces.emplace_back(text_.data() + from,
                            static_cast<std::size_t>(Start(run.first + run.count)) - from);
    }
    return pieces;
}

void DocumentLines::Keep(const LineSelection& lines) noexcept {
    DocumentEditor(*this).Keep(lines);
}

Lines DocumentLines::ToLines(const LineSelection& lines) const {
    Lines list;
    list.reserve(lines.Count());
    for (const LineSelection::Run& run : lines.runs()) {
        for (std::size_t i = run.first; i < run.first + run.count; ++i) {
            list.emplace_back(Get(i));
        }
    }
    return list;
}

bool operator==(const DocumentLines& a, const DocumentLines& b) noexcept {
    if (a.Count() != b.Count() || a.TextForm() != b.TextForm() || a.encoding_ != b.encoding_ ||
        a.bom_ != b.bom_) {
        return false;
    }
    for (std::size_t i = 0; i < a.Count(); ++i) {
        if (a.Start(i) != b.Start(i)) {
            return false;
        }
    }
    return true;
}

void DocumentEditor::Keep(const LineSelection& kept) noexcept {
    char* base = d_.text_.data();
    std::uint64_t at = 0;
    std::size_t out = 0;
    for (const LineSelection::Run& run : kept.runs()) {
        const std::uint64_t from = d_.Start(run.first);
        const std::uint64_t to = d_.Start(run.first + run.count);
        const std::uint64_t shift = from - at;
        if (shift != 0) {
            std::memmove(base + at, base + from, static_cast<std::size_t>(to - from));
        }
        for (std::size_t j = run.first; j < run.first + run.count; ++j) {
            d_.index_.Set(out++, d_.index_[j] - shift);
        }
        at += to - from;
    }
    Finish(out, at);
}

}  // namespace quillex
