#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

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

}  // namespace quillex
