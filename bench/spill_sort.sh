#!/usr/bin/env bash
# Whole-process timing of a quillex-batch sort of a file several times its memory bound
# (sorted in runs in temporary files, then merged) against GNU sort with the same bound and
# one thread, alone and followed by `sync` of its output (quillex-batch flushes its output to
# the disk before renaming it over the old file), and the peak memory of both.
#   bench/spill_sort.sh [BUILD_DIR] [LINES] [MEMORY] [RUNS]
# BUILD_DIR is a Release build with -DQUILLEX_BENCH=ON (default build/bench); defaults:
# 10000000 lines, 64M, 3 runs. Prints a Markdown table of medians.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
lines=${2:-10000000}
memory=${3:-64M}
runs=${4:-3}
batch=$(realpath "$build/app/quillex-batch")
sample=$(realpath "$build/bench/quillex-sample")
work=$(mktemp -d "${TMPDIR:-/tmp}/spill-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
in=$work/in.txt
mkdir "$work/tmp"
"$sample" "$in" "$lines" >/dev/null
size=$(stat -c %s "$in")
export LC_ALL=C
echo "input: $(wc -l <"$in") lines, $(( size / 1000000 )) MB, bound $memory" >&2

echo "| order | ours (s) | GNU sort (s) | GNU sort + sync (s) | ours / GNU | ours / GNU + sync | our peak RSS | GNU peak RSS |"
echo "|---|---|---|---|---|---|---|---|"
for order in bytes case; do
    flag=; [ "$order" = case ] && flag=-f
    ours="$batch sort $in $work/ours.txt --by $order --memory $memory --temp-dir $work/tmp"
    theirs="sort $flag -S $memory --parallel=1 -T $work/tmp $in -o $work/theirs.txt"
    hyperfine --style none --runs "$runs" --export-json "$work/t.json" \
        -n ours "$ours >/dev/null" -n theirs "$theirs" \
        -n synced "$theirs && sync $work/theirs.txt" >/dev/null
    ourPeak=$(/usr/bin/time -f %M $ours 2>&1 >/dev/null | tail -n 1)
    theirPeak=$(/usr/bin/time -f %M $theirs 2>&1 >/dev/null | tail -n 1)
    python3 - "$work/t.json" "$order" "$ourPeak" "$theirPeak" <<'PY'
import json, sys
r = {x["command"]: x["median"] for x in json.load(open(sys.argv[1]))["results"]}
print(f"| {sys.argv[2]} | {r['ours']:.2f} | {r['theirs']:.2f} | {r['synced']:.2f} | "
      f"{r['ours'] / r['theirs']:.2f} | {r['ours'] / r['synced']:.2f} | "
      f"{int(sys.argv[3]) / 1024:.0f} MiB | {int(sys.argv[4]) / 1024:.0f} MiB |")
PY
done
