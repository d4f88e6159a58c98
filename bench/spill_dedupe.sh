#!/usr/bin/env bash
# Whole-process timing of a quillex-batch dedupe under a memory bound (parted through a
# temporary file where the input is larger than about two thirds of it) against GNU sort -u
# with the same bound and threads, alone and followed by `sync` of its output (quillex-batch
# flushes its output to the disk), and awk '!seen[$0]++'; the peak memory of each, and a
# byte comparison of ours with the dedupe in memory.
#   bench/spill_dedupe.sh [BUILD_DIR] [LINES] [MEMORY] [THREADS] [RUNS]
# BUILD_DIR is a Release build with -DQUILLEX_BENCH=ON (default build/bench); defaults:
# 10000000 lines, 1G, 2 threads, 3 runs. AWK=0 leaves awk out (it takes minutes on 100M lines).
# Prints a Markdown table of medians.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
lines=${2:-10000000}
memory=${3:-1G}
threads=${4:-2}
runs=${5:-3}
batch=$(realpath "$build/app/quillex-batch")
sample=$(realpath "$build/bench/quillex-sample")
work=$(mktemp -d "${TMPDIR:-/tmp}/dedupe-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
in=$work/in.txt
mkdir "$work/tmp"
# The generator holds its lines in memory: past 10M lines the input is copies of a 10M-line
# document, each copy's lines starting with its number, so that the copies differ.
if [ "$lines" -le 10000000 ]; then
    "$sample" "$in" "$lines" >/dev/null
else
    "$sample" "$work/part.txt" 10000000 >/dev/null
    for k in $(seq $(( (lines + 9999999) / 10000000 ))); do
        sed "s/^/$k:/" "$work/part.txt"
    done | head -n "$lines" >"$in"
    rm "$work/part.txt"
fi
size=$(stat -c %s "$in")
export LC_ALL=C
echo "input: $lines lines, $(( size >> 20 )) MiB, bound $memory, $threads threads" >&2

ours="$batch 5 $in $work/ours.txt --memory $memory --temp-dir $work/tmp --threads $threads"
sorted="sort -u -S $memory --parallel=$threads -T $work/tmp $in -o $work/sorted.txt"
awk=()
[ "${AWK:-1}" = 0 ] || awk=(-n awk "awk '!seen[\$0]++' $in >$work/awk.txt")
hyperfine --style none --runs "$runs" --export-json "$work/t.json" \
    -n ours "$ours >/dev/null" -n sort "$sorted" -n sorted+sync "$sorted && sync $work/sorted.txt" \
    "${awk[@]}" >/dev/null
peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; }
ourPeak=$(peak $ours)
sortPeak=$(peak $sorted)
awkPeak=0
[ "${AWK:-1}" = 0 ] || awkPeak=$(peak awk '!seen[$0]++' "$in")
"$batch" 5 "$in" "$work/whole.txt" --threads "$threads" >/dev/null
same=no
cmp -s "$work/ours.txt" "$work/whole.txt" && same=yes
python3 - "$work/t.json" "$ourPeak" "$sortPeak" "$awkPeak" "$same" <<'PY'
import json, sys
r = {x["command"]: x["median"] for x in json.load(open(sys.argv[1]))["results"]}
peaks = {"ours": sys.argv[2], "sort": sys.argv[3], "sorted+sync": sys.argv[3], "awk": sys.argv[4]}
names = {"ours": "`quillex-batch 5 --memory`", "sort": "`sort -u -S`",
         "sorted+sync": "`sort -u -S` + sync", "awk": "`awk '!seen[$0]++'`"}
print("| command | time (s) | ours / it | peak RSS |")
print("|---|---|---|---|")
for k in [k for k in ["ours", "sort", "sorted+sync", "awk"] if k in r]:
    print(f"| {names[k]} | {r[k]:.2f} | {r['ours'] / r[k]:.2f} | {int(peaks[k]) / 1024:.0f} MiB |")
print(f"\nours and the dedupe in memory give the same bytes: {sys.argv[5]}")
PY
