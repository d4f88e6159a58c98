#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>

#include "core/line_selection.h"

namespace quillex {

// A text handed to the writer piece by piece, for a text whose pieces would cost too much to
// list first (a document's lines in another order): `each(put)` gives every piece to `put` in
// order, stops where `put` returns false, and says whether it got to the end.
struct PieceStream {
    using Put = std::function<bool(std::string_view piece)>;
    std::uint64_t size = 0;  // of all the pieces together
    std::function<bool(const Put& put)> each;
};

// The pieces as such a stream; they must outlive it.
inline PieceStream StreamOf(const TextPieces& pieces) {
    PieceStream stream;
    for (std::string_view piece : pieces) {
        stream.size += piece.size();
    }
    stream.each = [&pieces](const PieceStream::Put& put) {
        for (std::string_view piece : pieces) {
            if (!put(piece)) {
                return false;
            }
        }
        return true;
    };
    return stream;
}

// Small pieces gathered a quarter of a megabyte at a time, so that many lines take one write
// call; a piece larger than that goes through alone.
class PieceGatherer {
  public:
    explicit PieceGatherer(const PieceStream::Put& put) : put_(put) {}

    bool Add(std::string_view piece) {
        if (used_ + piece.size() > kSize) {
            if (!Flush()) {
                return false;
            }
            if (piece.size() > kSize) {
                return put_(piece);
            }
        }
        std::memcpy(buffer_.get() + used_, piece.data(), piece.size());
        used_ += piece.size();
        return true;
    }
    // Hands over what is gathered; the last call after the last piece.
    bool Flush() {
        const std::size_t used = std::exchange(used_, 0);
        return used == 0 || put_({buffer_.get(), used});
    }

  private:
    static constexpr std::size_t kSize = std::size_t{1} << 18;
    const PieceStream::Put& put_;
    std::unique_ptr<char[]> buffer_{new char[kSize]};
    std::size_t used_ = 0;
};

}  // namespace quillex
