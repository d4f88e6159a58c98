#!/usr/bin/env bash
# Whole-process sort: quillex-batch against GNU sort (LC_ALL=C, one thread, as ours is) and
# GNU sort followed by `sync FILE` (our writer flushes its output to the disk), side by side
# in one hyperfine run each, on the generated 1M- and 10M-line documents; the ordinal order
# against `sort`, letter case ignored against `sort -f`. Also our peak resident memory over
# the input's size.
#   bench/sort_compare.sh [BUILD_DIR] [RUNS]
# BUILD_DIR is a Release build with -DQUILLEX_BENCH=ON (default build/bench); RUNS defaults
# to 3 (medians). Needs about 4 GB of disk in the temporary folder and 3 GB of memory.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
runs=${2:-3}
batch=$(realpath "$build/app/quillex-batch")
sample=$(realpath "$build/bench/quillex-sample")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

echo "| lines | order | ours (s) | GNU sort (s) | GNU sort + sync (s) | ours / sort | ours / sort + sync | our peak memory |"
echo "|---|---|---|---|---|---|---|---|"
for lines in 1000000 10000000; do
    in=$work/in.txt
    "$sample" "$in" "$lines" >/dev/null
    size=$(stat -c %s "$in")
    for order in bytes case; do
        fold=""
        [ "$order" = case ] && fold="-f"
        hyperfine --style none -N --runs "$runs" --export-json "$work/t.json" \
            -n ours "$batch sort $in $work/ours.txt --by $order" \
            -n sort "sort $fold --parallel=1 -o $work/theirs.txt $in" \
            -n sync "sh -c 'sort $fold --parallel=1 -o $work/theirs.txt $in && sync $work/theirs.txt'" \
            >/dev/null
        kib=$(/usr/bin/time -f %M "$batch" sort "$in" "$work/ours.txt" --by "$order" 2>&1 >/dev/null |
              tail -n 1)
        python3 - "$work/t.json" "$lines" "$order" "$kib" "$size" <<'PY'
import json, sys
r = {x["command"]: x["median"] for x in json.load(open(sys.argv[1]))["results"]}
memory = int(sys.argv[4]) * 1024 / int(sys.argv[5])
print(f"| {int(sys.argv[2]):,} | {sys.argv[3]} | {r['ours']:.2f} | {r['sort']:.2f} | "
      f"{r['sync']:.2f} | {r['ours'] / r['sort']:.2f} | {r['ours'] / r['sync']:.2f} | "
      f"{memory:.2f}x |")
PY
        rm -f "$work/ours.txt" "$work/theirs.txt"
    done
done
