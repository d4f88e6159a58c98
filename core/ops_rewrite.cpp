// The rewrites that change lines where they lie: every line is visited upwards and stored
// back at its own index. Each line is changed only once nothing can fail any more for it, so
// a failure leaves the line it struck unchanged.

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <new>

#include "core/document_editor.h"
#include "core/encoded_text.h"
#include "core/line_operations.h"

namespace quillex {

namespace {

// Copies `part` of a line to `out`, which lies at or before it.
std::size_t Store(std::string_view part, char* out) {
    if (out != part.data()) {
        std::memmove(out, part.data(), part.size());
    }
    return part.size();
}

void Copy(std::string_view text, char* out) {
    if (!text.empty()) {
        std::memcpy(out, text.data(), text.size());
    }
}

}  // namespace

void RemoveLeadingChars(DocumentLines& lines, std::string_view countText,
                        const Progress& progress) {
    if (lines.Count() == 0) {
        return;  // the count text is read at the first line only
    }
    const std::int32_t n = ParseCountText(countText);
    const std::size_t cut = n >= 1 ? static_cast<std::size_t>(n) : 0;
    WithEncoding(lines.GetEncoding(), [&](auto text) {
        RewriteInPlace(
            lines,
            [&](std::size_t, std::string_view line, char* out) {
                return Store(line.substr(text.Skip(line, cut)), out);
            },
            [&](std::size_t i) { progress(i + 1); }, progress);
    });
}

namespace {

// Hands `line` to `put` a piece at a time with every character c1 replaced by c2; false,
// having put nothing, where c1 does not occur. Throws before it puts anything where c1
// occurs and there is no c2.
template <class Text, class Put>
bool ReplaceEach(std::string_view line, std::string_view c1, std::optional<std::string_view> c2,
                 Put put) {
    std::size_t at = Text::Find(line, c1);
    if (at == std::string_view::npos) {
        return false;
    }
    if (!c2) {
        throw RunError("no replacement character");
    }
    std::size_t from = 0;
    while (at != std::string_view::npos) {
        put(line.substr(from, at - from));
        put(*c2);
        from = at + c1.size();
        const std::size_t next = Text::Find(line.substr(from), c1);
        at = next == std::string_view::npos ? next : from + next;
    }
    put(line.substr(from));
    return true;
}

void CheckFirst(std::optional<std::string_view> c1) {
    if (!c1) {
        throw RunError("no character to replace");
    }
}

}  // namespace

void ReplaceChar(DocumentLines& lines, std::optional<char> c1, std::optional<char> c2,
                 const Progress& progress) {
    auto view = [](const std::optional<char>& c) {
        return c ? std::optional<std::string_view>(std::string_view(&*c, 1)) : std::nullopt;
    };
    ReplaceChar(lines, view(c1), view(c2), progress);
}

void ReplaceChar(DocumentLines& lines, std::optional<std::string_view> c1,
                 std::optional<std::string_view> c2, const Progress& progress) {
    // An empty text holds no character: it is an empty field.
    c1 = c1 && c1->empty() ? std::nullopt : c1;
    c2 = c2 && c2->empty() ? std::nullopt : c2;
    const std::size_t findSize = c1 ? c1->size() : 1;
    if (c2 && c2->size() > findSize) {
        // Lines may grow: they are built anew, one after the other.
        WithEncoding(lines.GetEncoding(), [&](auto text) {
            RewriteGrowing(
                lines,
                [&](std::size_t, std::string_view line, ByteBuffer& out) {
                    if (!line.empty()) {
                        CheckFirst(c1);
                    }
                    auto put = [&](std::string_view piece) {
                        out.Append(piece.data(), piece.size());
                    };
                    if (line.empty() || !ReplaceEach<decltype(text)>(line, *c1, c2, put)) {
                        put(line);
                    }
                },
                [&](std::size_t i) { progress(i); });
        });
        return;
    }
    // A byte for a byte where a byte is a character (an ASCII byte is one in UTF-8 too): the
    // same length, so every line stays where it is.
    const bool byteForByte = findSize == 1 && (!c2 || c2->size() == 1) &&
                             (lines.GetEncoding() == Encoding::Windows1251 || !c1 ||
                              static_cast<unsigned char>((*c1)[0]) < 0x80);
    WithEncoding(lines.GetEncoding(), [&](auto text) {
        RewriteInPlace(
            lines,
            [&](std::size_t, std::string_view line, char* out) {
                if (line.empty()) {
                    return std::size_t{0};
                }
                CheckFirst(c1);
                if (byteForByte) {
                    char* hit = static_cast<char*>(std::memchr(out, (*c1)[0], line.size()));
                    if (hit != nullptr) {
                        if (!c2) {
                            throw RunError("no replacement character");
                        }
                        std::replace(hit, out + line.size(), (*c1)[0], (*c2)[0]);
                    }
                    return line.size();
                }
                // No longer than c1, so the line shrinks or keeps its length and each piece
                // lands at or before where it was read.
                std::size_t written = 0;
                auto put = [&](std::string_view piece) { written += Store(piece, out + written); };
                if (!ReplaceEach<decltype(text)>(line, *c1, c2, put)) {
                    put(line);
                }
                return written;
            },
            [&](std::size_t i) { progress(i); }, progress);
    });
}

void TruncateAtWord(DocumentLines& lines, std::string_view word, const Progress& progress) {
    if (word.empty()) {
        return;  // an empty word occurs nowhere
    }
    std::size_t cut = 0;
    WithEncoding(lines.GetEncoding(), [&](auto text) {
        RewriteInPlace(
            lines,
            [&](std::size_t, std::string_view line, char* out) {
                const std::size_t at = text.Find(line, word);
                if (at != std::string_view::npos) {
                    progress(++cut);  // reported before the cut line is stored
                    line = line.substr(0, at);
                }
                return Store(line, out);
            },
            [](std::size_t) {}, progress);
    });
}

void AddTextToLines(DocumentLines& lines, std::string_view left, std::string_view right,
                    const Progress& progress) {
    DocumentEditor e(lines);
    const std::size_t n = e.Count();
    const std::size_t added = left.size() + right.size();
    if (n != 0 && added != 0) {
        // Every line grows, so the buffer grows once (in place where the system can) and the
        // lines move up from the last one, each straight to where it ends.
        const std::size_t size = e.text().size();
        if (added > (std::numeric_limits<std::size_t>::max() - size) / n) {
            throw std::bad_alloc();
        }
        const std::size_t grown = size + n * added;
        e.index().Prepare(grown);
        e.text().Reserve(grown);
        char* base = e.text().data();
        std::uint64_t end = e.index()[n];  // where line i ended, before the move
        e.index().Set(n, grown);
        for (std::size_t i = n; i-- > 0;) {
            const std::uint64_t from = e.index()[i];
            const auto length = static_cast<std::size_t>(end - from - 2);
            const std::uint64_t to = from + i * added;
            std::memmove(base + to + left.size(), base + from, length);
            Copy(left, base + to);
            char* tail = base + to + left.size() + length;
            Copy(right, tail);
            tail[right.size()] = '\r';
            tail[right.size() + 1] = '\n';
            e.index().Set(i, to);
            end = from;
        }
        e.text().Resize(grown);
    }
    for (std::size_t i = 0; i < n; ++i) {
        try {
            progress(i + 1);
            progress.Step(i + 1, n);
        } catch (...) {
            if (added != 0 && i + 1 < n) {
                // The lines after the failure had not been reached yet: they lose their texts.
                e.PackFrom(i + 1, e.index()[i + 1], [&](std::size_t, std::string_view line) {
                    return line.substr(left.size(), line.size() - added);
                });
            }
            throw;
        }
    }
}

namespace {

using ByteSet = std::array<bool, 256>;

ByteSet ClassBytes(CharClass charClass) {
    ByteSet set{};
    const char* members = charClass == CharClass::Marks     ? ".;,:!?"
                          : charClass == CharClass::Numbers ? "0123456789"
                                                            : " ";
    for (const char* p = members; *p != '\0'; ++p) {
        set[static_cast<unsigned char>(*p)] = true;
    }
    return set;
}

}  // namespace

void RemoveCharClass(DocumentLines& lines, std::optional<CharClass> charClass,
                     const Progress& progress) {
    const ByteSet remove = charClass ? ClassBytes(*charClass) : ByteSet{};
    RewriteInPlace(
        lines,
        [&](std::size_t, std::string_view line, char* out) {
            if (!charClass) {
                return Store(line, out);
            }
            // Forward, one byte at a time: `out` never passes the byte being read. Every byte
            // is written and kept or overwritten by the next, which needs no branch.
            std::size_t kept = 0;
            for (char c : line) {
                out[kept] = c;
                kept += remove[static_cast<unsigned char>(c)] ? 0 : 1;
            }
            return kept;
        },
        [&](std::size_t i) { progress(i + 1); }, progress);
}

void TrimLines(DocumentLines& lines, std::optional<TrimSide> side, const Progress& progress) {
    WithEncoding(lines.GetEncoding(), [&](auto text) {
        RewriteInPlace(
            lines,
            [&](std::size_t, std::string_view line, char* out) {
                if (side == TrimSide::AtEnd || side == TrimSide::AtBothEnds) {
                    line = text.TrimBlanksEnd(line);
                }
                if (side == TrimSide::AtStart || side == TrimSide::AtBothEnds) {
                    line = text.TrimBlanksStart(line);
                }
                return Store(line, out);
            },
            [&](std::size_t k) { progress(k); }, progress);
    });
}

}  // namespace quillex
