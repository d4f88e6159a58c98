#!/usr/bin/env bash
# How much a second thread gains: every function that runs in blocks, and dedupe, with
# --threads 1 and 2 side by side in one hyperfine run each, writing to /dev/null (the work
# itself) and to a file (with the safe writer's flush to the disk, which one thread does).
#   bench/thread_scaling.sh [BUILD_DIR] [LINES] [RUNS]
# Defaults: build/bench, 10000000 lines, 3 runs. Prints a Markdown table of medians.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
lines=${2:-10000000}
runs=${3:-3}
batch=$(realpath "$build/app/quillex-batch")
sample=$(realpath "$build/bench/quillex-sample")
work=$(mktemp -d "${TMPDIR:-/tmp}/threads-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
in=$work/in.txt
"$sample" "$in" "$lines" >/dev/null
echo "input: $lines lines, $(($(stat -c %s "$in") >> 20)) MiB" >&2

options=("--count 1" "--from ? --to ." "--word Result:" "--left x --right y"
         "--condition 9 --text falcon" "" "--class 0" "--br" "--lines 50" "--text .txt"
         "--side 2" "--word con")
echo "| function | 1 thread, /dev/null (s) | 2 threads (s) | gain | 1 thread, file (s) | 2 threads (s) | gain |"
echo "|---|---|---|---|---|---|---|"
for fn in 0 1 2 3 4 5 6 9 10 11; do
    row="| $fn \`${options[$fn]}\` |"
    for out in /dev/null "$work/out.txt"; do
        hyperfine -N --style none --runs "$runs" --export-json "$work/t.json" \
            -n one "$batch $fn $in $out ${options[$fn]} --threads 1" \
            -n two "$batch $fn $in $out ${options[$fn]} --threads 2" >/dev/null
        row+=$(python3 - "$work/t.json" <<'PY'
import json, sys
r = {x["command"]: x["median"] for x in json.load(open(sys.argv[1]))["results"]}
print(f" {r['one']:.2f} | {r['two']:.2f} | {r['one'] / r['two']:.2f}x |", end="")
PY
)
    done
    echo "$row"
done
