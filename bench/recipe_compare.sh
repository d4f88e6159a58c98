#!/usr/bin/env bash
# A five-step cleanup three ways, whole processes, side by side in one hyperfine run: one
# quillex-batch --recipe run, the same five steps as five quillex-batch runs, and the
# equivalent pipeline of GNU tools with its output flushed as ours is.
#   bench/recipe_compare.sh [BUILD_DIR] [RUNS] [LINES]
# BUILD_DIR is a Release build with -DQUILLEX_BENCH=ON (default build/bench); the defaults are
# 5 runs over the 1,000,000-line generated document. Prints a Markdown table of the medians.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
runs=${2:-5}
lines=${3:-1000000}
batch=$(realpath "$build/app/quillex-batch")
sample=$(realpath "$build/bench/quillex-sample")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$sample" "$work/in.txt" "$lines"
cp bench/clean.recipe "$work/clean.recipe"
cat >"$work/steps.sh" <<STEPS
set -e
$batch trim --side 2 $work/in.txt $work/s1.txt
$batch remove-if --condition 0 $work/s1.txt $work/s2.txt
$batch dedupe $work/s2.txt $work/s3.txt
$batch remove-with-word --word con $work/s3.txt $work/s4.txt
$batch add-text --left "> " $work/s4.txt $work/steps.txt
STEPS
cat >"$work/gnu.sh" <<GNU
set -e
export LC_ALL=C
tr -d '\r' <$work/in.txt | sed -E 's/^[[:space:][:cntrl:]]+//; s/[[:space:][:cntrl:]]+\$//' |
    grep -av '^\$' | mawk '!seen[tolower(\$0)]++' | grep -avF con | sed 's/^/> /; s/\$/\r/' \
    >$work/gnu.txt
sync $work/gnu.txt
GNU
echo "input: $lines lines, $(du -k "$work/in.txt" | cut -f1) KB" >&2
hyperfine --style none --warmup 1 --runs "$runs" --export-json "$work/t.json" \
    -n "recipe" "$batch --recipe $work/clean.recipe $work/in.txt $work/recipe.txt >/dev/null" \
    -n "five runs" "bash $work/steps.sh >/dev/null" \
    -n "GNU pipeline" "bash $work/gnu.sh" >/dev/null
cmp "$work/recipe.txt" "$work/steps.txt" || { echo "the recipe and the runs differ" >&2; exit 1; }

python3 - "$work/t.json" <<'PY'
import json, sys
r = {x["command"]: x["median"] for x in json.load(open(sys.argv[1]))["results"]}
one, five, gnu = r["recipe"], r["five runs"], r["GNU pipeline"]
print("| recipe (s) | five runs (s) | GNU pipeline + sync (s) | five runs / recipe | pipeline / recipe |")
print("|---|---|---|---|---|")
print(f"| {one:.3f} | {five:.3f} | {gnu:.3f} | {five / one:.2f}x | {gnu / one:.2f}x |")
PY
