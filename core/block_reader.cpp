#include "core/block_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "core/document_editor.h"
#include "core/file_format.h"

namespace quillex {

namespace {

// The end of the last line that surely ends in bytes[0, size): after its LF or its lone CR.
// A CR as the last byte may be half of a CR LF, so its line is left for the next block.
// Bytes before `from` hold no break. 0 where no line ends.
std::size_t LastLineEnd(const char* bytes, std::size_t from, std::size_t size) {
    for (std::size_t i = size; i-- > from;) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && i + 1 < size)) {
            return i + 1;
        }
    }
    return 0;
}

}  // namespace

BlockReader::BlockReader(const std::filesystem::path& path, std::size_t blockBytes)
    : owned_(OpenInputFile(path)),
      stream_(owned_.get()),
      name_(path),
      block_(std::max<std::size_t>(blockBytes, 1)) {
    std::setvbuf(stream_, nullptr, _IONBF, 0);  // read straight into the block
}

BlockReader::BlockReader(std::FILE* stream, std::filesystem::path name, std::size_t blockBytes)
    : stream_(stream), name_(std::move(name)), block_(std::max<std::size_t>(blockBytes, 1)) {}

void BlockReader::Fill(ByteBuffer& bytes, std::size_t limit) {
    bytes.Reserve(limit);
    while (!ended_ && bytes.size() < limit) {
        const std::size_t at = bytes.size();
        const std::size_t got = std::fread(bytes.data() + at, 1, limit - at, stream_);
        bytes.Resize(at + got);
        if (got < limit - at) {
            if (std::ferror(stream_)) {
                throw FileError(name_, std::strerror(errno != 0 ? errno : EIO));
            }
            ended_ = true;
        }
        const char* fresh = bytes.data() + at;
        if (start_.size() < 2) {
            start_.append(fresh, std::min(got, 2 - start_.size()));
        }
        if (const void* nul = std::memchr(fresh, '\0', got)) {
            const auto before = static_cast<std::size_t>(static_cast<const char*>(nul) - fresh);
            RefuseUtf16(name_, start_, read_ + before);
            report_.nulOffset = read_ + before;
            bytes.Resize(at + before);
            ended_ = true;
        }
        read_ += got;
    }
}

bool BlockReader::Next(DocumentLines& block) {
    block.Clear();
    if (put_back_) {
        put_back_ = false;
        block = std::move(back_);
        return true;
    }
    ByteBuffer bytes;
    if (!NextBytes(bytes)) {
        return false;
    }
    block.TakeText(std::move(bytes));
    return true;
}

bool BlockReader::NextBytes(ByteBuffer& bytes) {
    if (put_back_) {  // its text form gives its lines again
        put_back_ = false;
        bytes = ByteBuffer();
        bytes.Append(back_.TextForm().data(), back_.TextForm().size());
        back_ = DocumentLines();
        return true;
    }
    // The caller's spent buffer takes the block: its memory is the process's already.
    bytes.Clear();
    bytes.Append(carry_.data(), carry_.size());
    carry_.Clear();
    std::size_t cut = 0;
    std::size_t scanned = 0;
    // A line longer than a block makes the block grow until the line ends.
    for (std::size_t limit = std::max(block_, bytes.size());; limit += block_) {
        Fill(bytes, limit);
        if (ended_) {
            cut = bytes.size();
            break;
        }
        cut = LastLineEnd(bytes.data(), scanned, bytes.size());
        if (cut != 0) {
            break;
        }
        scanned = bytes.size() - 1;  // a CR at the end ends its line once the next byte is read
    }
    if (cut == 0) {
        bytes.Resize(0);
        return false;
    }
    carry_.Append(bytes.data() + cut, bytes.size() - cut);
    bytes.Resize(cut);
    return true;
}

Encoding DetectEncodingOf(BlockReader& reader) {
    DocumentLines block;
    bool first = true;
    bool multiByte = false;
    while (reader.Next(block)) {
        bool more = false;
        if (first && StartsWithUtf8Bom(block.TextForm())) {
            return Encoding::Utf8;
        }
        first = false;
        if (!IsValidUtf8(block.TextForm(), &more)) {
            return Encoding::Windows1251;
        }
        multiByte = multiByte || more;
    }
    return multiByte ? Encoding::Utf8 : Encoding::Windows1251;
}

void ReadBlockAs(DocumentLines& block, Encoding encoding, bool first) {
    if (first) {
        block.SetEncoding(encoding);
    } else {
        DocumentEditor(block).ReadAs(encoding);
    }
}

}  // namespace quillex
