#!/usr/bin/env bash
# The Windows quillex-batch.exe, run under wine, must write byte for byte what the Linux build
# writes, for all twelve functions, on the benchmark document, on a file of awkward bytes and
# on a UTF-8 file, with text options given as UTF-8 among them, and paths and option values
# that begin with '/' or '-'.
#   compare_with_native.sh WINE WINDOWS_BATCH_EXE NATIVE_BATCH NATIVE_SAMPLE_TOOL [LINES]
# Where the native build has no sample writer, a generated document of the same kind is used.
set -euo pipefail
wine=$1 exe=$2 native=$3 sample=$4 lines=${5:-100000}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"  # relative names: the same text names the same file on both sides

if [ -x "$sample" ]; then
    "$sample" sample.txt "$lines"
else
    python3 "$here/make_corpus.py" sample.txt "$lines"
fi
# Mixed line ends, Ctrl-Z, Windows-1251 letters in both cases (duplicates ignore case), blanks
# and control characters at both ends, extensions, and a NUL that ends the text.
printf '%b' '  a.txt \r\n\x1Aend\x1A\rb.ru\n\xC0\xE1\xE2.RU\r\n\xE0\xC1\xC2.ru\n\t\x01 mid con text \x7F\r\n' \
    '\xA8\xB8 ; , : ! ? . 123\r\r\nResult: gone\nfalcon\n\n\nlast\x00after\r\n' >edge.txt
# UTF-8 with a byte-order mark: letters of two and three bytes in both cases, folding beyond
# Cyrillic, the no-break space, and bytes that are not UTF-8.
printf '%b' '\xEF\xBB\xBF\xC2\xA0ёлка Результат: 1\xC2\xA0\r\nЁЛКА\nStraße\r\nSTRASSE\n' \
    '— кон \xD0 \x9F\r\nПривет.txt\n' >utf8.txt

runs=(
    "0 --count 1" "0 --count 5" "1 --from ? --to ." "1 --from a --to A"
    "2 --word Result:" "2 --word con" "3 --left [ --right ]" "4 --condition 0"
    "4 --condition 5" "4 --condition 9 --text falcon" "5" "6 --class 0" "6 --class 1"
    "6 --class 2" "7" "7 --br" "8 --lines 3" "8 --lines 50" "9 --text .txt" "9 --text .ru --drop"
    "10 --side 0" "10 --side 1" "10 --side 2" "11 --word con"
    # Text options given as UTF-8, in either encoding, and one Windows-1251 cannot hold.
    "1 --from ё --to e" "2 --word Результат:" "11 --word 日本" "1 --from ё --to e --encoding utf-8"
    "0 --count 2 --encoding auto" "3 --left « --right » --encoding auto" "5 --encoding auto"
    "10 --side 2 --encoding utf-8" "11 --word кон --encoding auto" "9 --text .txt --encoding auto"
    # Values that begin with '/' or '-' are values, on Windows too.
    "2 --word /a" "11 --word -x" "4 --condition 9 --text --a=b" "3 --left=/ --right=-"
)
# Wine hands the arguments on as wide text decoded in the locale's character set.
export LC_ALL=C.UTF-8
failures=0
# Runs both builds on INPUT with RUN (the function and its options), OUTPUT in DIR (by default
# the working folder, named relatively), and compares what they write.
compare() {
    local input=$1 run=$2 dir=${3:-}
    read -r -a args <<<"$(printf '%b' "$run")"
    fn=${args[0]}
    opts=("${args[@]:1}")
    set +e
    "$native" "$fn" "$input" "${dir}linux.out" "${opts[@]}" >linux.stdout 2>linux.stderr
    linux_rc=$?
    "$wine" "$exe" "$fn" "$input" "${dir}windows.out" "${opts[@]}" >windows.stdout 2>windows.stderr
    windows_rc=$?
    if [ "$windows_rc" != "$linux_rc" ] && [ ! -s windows.stdout ] && [ ! -s windows.stderr ]; then
        # Failed without a word from the program: wine itself did not start it. Once more.
        echo "retried: $input: $run (wine exit $windows_rc, no output)"
        "$wine" "$exe" "$fn" "$input" "${dir}windows.out" "${opts[@]}" >windows.stdout 2>windows.stderr
        windows_rc=$?
    fi
    set -e
    # stdout is a text stream on Windows: its line ends are CR LF there.
    tr -d '\r' <windows.stdout >windows.stdout.lf
    # A bad argument writes no file on either side.
    if [ ! -e "${dir}linux.out" ] && [ ! -e "${dir}windows.out" ]; then
        : >"${dir}linux.out"
        : >"${dir}windows.out"
    fi
    if [ "$linux_rc" != "$windows_rc" ] || ! cmp -s "${dir}linux.out" "${dir}windows.out" ||
        ! cmp -s linux.stdout windows.stdout.lf; then
        echo "DIFFERS: $input: $run (exit $linux_rc / $windows_rc)"
        cmp "${dir}linux.out" "${dir}windows.out" || true
        diff linux.stdout windows.stdout.lf || true
        cat windows.stderr
        failures=$((failures + 1))
    else
        echo "same: $input: $run ($(wc -c <"${dir}linux.out") bytes; $(cat linux.stdout))"
    fi
    rm -f "${dir}linux.out" "${dir}windows.out"
}
for input in sample.txt edge.txt utf8.txt; do
    for run in "${runs[@]}"; do
        compare "$input" "$run"
    done
done
# Paths from the root: on Windows root-relative paths, not options.
compare "$work/edge.txt" "5" "$work/"
compare "$work/utf8.txt" "2 --word /a" "$work/"
[ "$failures" -eq 0 ]
