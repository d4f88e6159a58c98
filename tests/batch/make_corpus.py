"""Writes a document for the batch comparison: LINES lines (default 100000) of words, file
names, Windows-1251 letters in both cases, numbers, punctuation and blanks, with repeated lines
in other letter case and mixed line ends. The same seed gives the same bytes.
    make_corpus.py OUTPUT [LINES]"""
import random
import sys

WORDS = [b"con", b"falcon", b"Result:", b"www.example.com", b"alpha", b"beta", b"text",
         b"\xcf\xf0\xe8\xe2\xe5\xf2", b"\xec\xe8\xf0", b"\xc0\xc1\xc2", b"\xe0\xe1\xe2",
         b"\xa8\xb8", b"123", b"4.5", b"?", b"!", b";", b",", b":", b".", b"\x1a"]
NAMES = [b"a.txt", b"b.ru", b"C.RU", b"d.TXT", b"e.tar.gz", b"noext", b".ru"]
BLANKS = [b"", b" ", b"  ", b"\t", b"\x01", b" \t\x7f"]
ENDS = [b"\r\n", b"\r\n", b"\r\n", b"\n", b"\r"]


def line(rng, previous):
    if previous and rng.random() < 0.05:  # a repeat, perhaps in other letter case
        return previous.swapcase() if rng.random() < 0.5 else previous
    if rng.random() < 0.03:
        return b""
    parts = [rng.choice(WORDS) for _ in range(rng.randint(1, 8))]
    if rng.random() < 0.3:
        parts.append(rng.choice(NAMES))
    return rng.choice(BLANKS) + b" ".join(parts) + rng.choice(BLANKS)


def main():
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
    rng = random.Random(7)
    out, previous = [], b""
    for _ in range(count):
        previous = line(rng, previous)
        out.append(previous + rng.choice(ENDS))
    with open(sys.argv[1], "wb") as f:
        f.write(b"".join(out))


main()
