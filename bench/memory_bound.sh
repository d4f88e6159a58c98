#!/usr/bin/env bash
# Every function of quillex-batch over a file several times a cgroup memory limit, against the
# same run without the limit: the bytes must be equal. Prints each run's time and peak resident
# memory. Needs root (it makes a cgroup: v2 where mounted, else v1's memory controller).
#   bench/memory_bound.sh [BUILD_DIR] [LINES] [LIMIT_MB]
# Defaults: build/bench, 12000000 lines (about 1 GB), 256 MB. Functions that keep every line
# (reverse, shuffle, duplicates) are left out: they need the file in memory. Last, a recipe
# that mixes streaming steps with a dedupe and a sort.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
lines=${2:-12000000}
limit_mb=${3:-256}
batch=$(realpath "$build/app/quillex-batch")
sample=$(realpath "$build/bench/quillex-sample")
work=$(mktemp -d "${TMPDIR:-/tmp}/bound-bench.XXXXXX")
group=
cleanup() {
    rm -rf "$work"
    [ -n "$group" ] && rmdir "$group" 2>/dev/null || true
}
trap cleanup EXIT
if [ -f /sys/fs/cgroup/cgroup.controllers ]; then
    group=/sys/fs/cgroup/quillex-bound.$$
    mkdir "$group"
    echo $((limit_mb << 20)) >"$group/memory.max"
else
    group=/sys/fs/cgroup/memory/quillex-bound.$$
    mkdir "$group"
    echo $((limit_mb << 20)) >"$group/memory.limit_in_bytes"
fi
in=$work/in.txt
"$sample" "$in" "$lines" >/dev/null
size=$(stat -c %s "$in")
echo "input: $lines lines, $((size >> 20)) MiB; limit ${limit_mb} MiB ($((size / (limit_mb << 20)))x smaller)" >&2

# Runs the command line inside the cgroup, timed: "seconds peak-KiB" in $work/time.
bounded() {
    sh -c 't=$1; shift; echo $$ >"$0/cgroup.procs"; exec /usr/bin/time -f "%e %M" -o "$t" "$@"' \
        "$group" "$work/time" "$@"
}

options=("--count 1" "--from ? --to ." "--word Result:" "--left x --right y"
         "--condition 9 --text falcon" "" "--class 0" "--br" "--lines 50" "--text .txt"
         "--side 2" "--word con" "--by case")
# One row: the run without the limit and under it (the same arguments, OUTPUT last but one
# given as OUT), their times, the peak under the limit and whether the bytes are the same.
row() {
    local label=$1
    shift
    /usr/bin/time -f "%e" -o "$work/free" "$batch" "${@//OUT/$work/free.txt}" --temp-dir "$work" \
        >/dev/null
    local status=0
    bounded "$batch" "${@//OUT/$work/bound.txt}" --temp-dir "$work" >/dev/null 2>"$work/err" ||
        status=$?
    read -r seconds kib < <(tail -n 1 "$work/time")
    local same=yes
    if [ "$status" -ne 0 ]; then
        same="NO: exit $status"
    elif ! cmp -s "$work/free.txt" "$work/bound.txt"; then
        same=NO
    fi
    echo "| $label | $(cat "$work/free") | $seconds | $((kib >> 10)) MiB | $same |"
    rm -f "$work/free.txt" "$work/bound.txt"
}

echo "| function | unlimited (s) | under ${limit_mb} MiB (s) | peak RSS under the limit | same bytes |"
echo "|---|---|---|---|---|"
for fn in $(seq 0 12); do
    # shellcheck disable=SC2086
    row "$fn \`${options[$fn]}\`" "$fn" "$in" OUT ${options[$fn]}
done
# A recipe with a dedupe and a sort among streaming steps, which runs in stages.
printf 'quillex-recipe 1\ntrim\ndedupe\nadd-text --left <\nsort --by case\n' >"$work/recipe.txt"
row "recipe trim, dedupe, add-text, sort" --recipe "$work/recipe.txt" "$in" OUT
