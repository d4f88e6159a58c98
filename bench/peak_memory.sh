#!/usr/bin/env bash
# Peak resident memory of every quillex-batch function as a multiple of the input's size, on
# the generated 1M- and 10M-line documents and on 100 MB of empty lines (50M CR LF pairs).
#   bench/peak_memory.sh [BUILD_DIR]
# BUILD_DIR is a Release build with -DQUILLEX_BENCH=ON (default build/bench). Needs about
# 2 GB of disk in the temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
batch=$(realpath "$build/app/quillex-batch")
sample=$(realpath "$build/bench/quillex-sample")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$sample" "$work/1m.txt" 1000000
"$sample" "$work/10m.txt" 10000000
python3 -c "import sys; sys.stdout.buffer.write(b'\r\n' * 50_000_000)" >"$work/empty.txt"

options=("--count 1" "--from ? --to ." "--word Result:" "--left x --right y"
         "--condition 9 --text falcon" "" "--class 0" "--br" "--lines 50" "--text .txt"
         "--side 2" "--word con" "--by case" "" "--seed 1" "--keep last --count")
echo "| function | 1M lines | 10M lines | 100 MB of empty lines |"
echo "|---|---|---|---|"
for fn in $(seq 0 15); do
    row="| $fn \`${options[$fn]}\` |"
    for file in 1m 10m empty; do
        size=$(stat -c %s "$work/$file.txt")
        # shellcheck disable=SC2086
        kib=$(/usr/bin/time -f %M "$batch" "$fn" "$work/$file.txt" "$work/out.txt" ${options[$fn]} \
              2>&1 >/dev/null | tail -n 1)
        row+=" $(python3 -c "print(f'{$kib * 1024 / $size:.2f}x')") |"
        rm -f "$work/out.txt"
    done
    echo "$row"
done
