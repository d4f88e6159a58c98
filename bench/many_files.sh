#!/usr/bin/env bash
# Many small files through a recipe: one quillex-batch process with --output-dir against one
# quillex-batch process per file, side by side in one hyperfine run, and a check that both
# wrote the same bytes.
#   bench/many_files.sh [BUILD_DIR] [RUNS] [FILES] [LINES]
# BUILD_DIR is a Release build with -DQUILLEX_BENCH=ON (default build/bench); the defaults are
# 3 runs over 1,000 files of 50 generated lines each. Prints a Markdown table of the medians.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
runs=${2:-3}
files=${3:-1000}
lines=${4:-50}
batch=$(realpath "$build/app/quillex-batch")
sample=$(realpath "$build/bench/quillex-sample")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$sample" "$work/all.txt" $((files * lines))
mkdir "$work/in" "$work/one" "$work/each"
split -l "$lines" -a 5 -d --additional-suffix=.txt "$work/all.txt" "$work/in/f"
cp bench/clean.recipe "$work/clean.recipe"
echo "input: $(ls "$work/in" | wc -l) files of $lines lines, $(du -sk "$work/in" | cut -f1) KB" >&2

recipe="--recipe $work/clean.recipe"
hyperfine --style none --warmup 1 --runs "$runs" --export-json "$work/t.json" \
    -n "one process" "$batch $recipe --output-dir $work/one $work/in/*.txt >/dev/null" \
    -n "a process per file" \
    "for f in $work/in/*.txt; do $batch $recipe \"\$f\" \"$work/each/\${f##*/}\" >/dev/null; done" \
    >/dev/null
diff -r "$work/one" "$work/each" >/dev/null || { echo "the outputs differ" >&2; exit 1; }

python3 - "$work/t.json" "$files" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
one, each = results["one process"]["median"], results["a process per file"]["median"]
ratio = each / one
print("| files | one process (s) | a process per file (s) | per file / one | target 5x |")
print("|---|---|---|---|---|")
print(f"| {sys.argv[2]} | {one:.3f} | {each:.3f} | {ratio:.1f}x | {'met' if ratio >= 5 else 'missed'} |")
PY
