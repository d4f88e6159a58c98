#include "core/block_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "core/document_editor.h"
#include "core/file_format.h"

#if defined(__unix__)
#include <sys/stat.h>
#include <unistd.h>
#define QUILLEX_PREAD 1
#endif

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

#if defined(QUILLEX_PREAD)
namespace {

// Reads up to `size` bytes at `offset`, fewer only at the input's end.
std::size_t ReadAt(int fd, char* into, std::size_t size, std::uint64_t offset,
                   const std::filesystem::path& name) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, into + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw FileError(name, std::strerror(errno));
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return got;
}

}  // namespace

bool BlockReader::StartRanges() {
    struct stat file {};
    if (!ranges_ && owned_ && !put_back_ && !ended_ && read_ != 0 &&
        ::fstat(::fileno(stream_), &file) == 0) {
        read_ -= carry_.size();  // read again, where the range that holds it starts
        carry_.Clear();
        size_ = static_cast<std::uint64_t>(file.st_size);
        ranges_ = true;
    }
    return ranges_;
}

bool BlockReader::NextRange(Range& range) {
    if (ended_) {
        return false;
    }
    // A block's last line break is most often within its last few bytes; a longer look is
    // taken before the block grows past a line longer than the short one.
    constexpr std::uint64_t kShortLook = std::uint64_t{4} << 10;
    constexpr std::uint64_t kLook = std::uint64_t{64} << 10;
    for (std::uint64_t limit = read_ + block_;; limit += block_) {
        bool last = limit >= size_;
        std::optional<std::uint64_t> to;  // none while a line runs on past the limit
        if (last) {
            to = size_;
        }
        for (std::uint64_t want = kShortLook; !to; want = kLook) {
            const auto look = static_cast<std::size_t>(std::min(want, limit - read_));
            const std::uint64_t at = limit - look;
            look_.Resize(look);
            const std::size_t got = ReadAt(::fileno(stream_), look_.data(), look, at, name_);
            if (got != look) {
                to = at + got;  // cut short meanwhile
                last = true;
            } else if (const std::size_t cut = LastLineEnd(look_.data(), 0, got); cut != 0) {
                to = at + cut;
            } else if (want == kLook || look < want) {
                break;
            }
        }
        if (!to) {
            continue;
        }
        ended_ = last;
        range = {read_, std::max(*to, read_)};
        read_ = range.to;
        return range.to > range.from;
    }
}

std::optional<BlockReader::TextEnd> BlockReader::ReadRange(const Range& range,
                                                           ByteBuffer& bytes) const {
    const auto size = static_cast<std::size_t>(range.to - range.from);
    bytes.Resize(size);
    const std::size_t got = ReadAt(::fileno(stream_), bytes.data(), size, range.from, name_);
    bytes.Resize(got);
    if (const void* nul = std::memchr(bytes.data(), '\0', got)) {
        bytes.Resize(static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()));
        return TextEnd{range.from + bytes.size(), true};
    }
    if (got < size) {
        return TextEnd{range.from + got, false};
    }
    return std::nullopt;
}

std::unique_ptr<FileView> BlockReader::ViewRanges() const {
    return std::make_unique<FileView>(::fileno(stream_), read_, size_ - std::min(read_, size_));
}
#else
bool BlockReader::StartRanges() {
    return false;
}

bool BlockReader::NextRange(Range&) {
    return false;
}

std::optional<BlockReader::TextEnd> BlockReader::ReadRange(const Range&, ByteBuffer&) const {
    return std::nullopt;
}

std::unique_ptr<FileView> BlockReader::ViewRanges() const {
    return std::make_unique<FileView>(-1, 0, 0);
}
#endif

void BlockReader::EndText(const TextEnd& end) {
    ended_ = true;
    if (end.nul) {
        RefuseUtf16(name_, start_, end.at);
        report_.nulOffset = end.at;
    }
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
