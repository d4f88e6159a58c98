#!/usr/bin/env bash
# Whole-process timing of quillex-batch (load + function + save) against the standard tool
# doing the same job, side by side in one hyperfine run each, on a 1,000,000-line file.
#   bench/compare_tools.sh [BUILD_DIR] [RUNS]
# BUILD_DIR is a Release build with -DQUILLEX_BENCH=ON (default build/bench). Prints a
# Markdown table: mean times and ours / theirs (below 1.0 means quillex-batch is faster).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
runs=${2:-7}
batch=$(realpath "$build/app/quillex-batch")
sample=$(realpath "$build/bench/quillex-sample")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
in=$work/in.txt
"$sample" "$in" 1000000
export LC_ALL=C
# The extension test of function 9 as a pattern: ".txt" right before the CR of CR LF.
export EXT_PATTERN=$'\\.txt\r$'
echo "input: $(wc -l <"$in") lines, $(( $(stat -c %s "$in") / 1000000 )) MB" >&2

rows=()
compare() {  # function, target ("faster" or "1.5x"), our options, their command
    local fn=$1 target=$2 ours=$3 theirs=$4
    hyperfine --style none -i --warmup 1 --runs "$runs" --export-json "$work/t.json" \
        -n ours "$batch $fn $in $work/ours.txt $ours >/dev/null" \
        -n theirs "$theirs <$in >$work/theirs.txt" >/dev/null
    rows+=("$(python3 - "$work/t.json" "$fn" "$target" "$theirs" "$ours" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
ours, theirs = results["ours"]["mean"], results["theirs"]["mean"]
ratio = ours / theirs
goal = 1.0 if sys.argv[3] == "faster" else 1.5
verdict = "met" if ratio < goal else "missed"
tool = sys.argv[4].replace("|", "\\|")
print(f"| {sys.argv[2]} `{sys.argv[5]}` | `{tool}` | {ours:.3f} | {theirs:.3f} | "
      f"{ratio:.2f} | {sys.argv[3]} | {verdict} |")
PY
)")
    echo "${rows[-1]}" >&2
}

compare 0 faster "--count 1" "sed 's/^.//'"
compare 0 faster "--count 5" "cut -c6-"
compare 1 1.5x "--from '?' --to ." "tr '?' '.'"
compare 2 faster "--word Result:" "sed 's/Result:.*//'"
compare 3 faster "--left ' \"' --right '\";'" "sed 's/.*/ \"&\";/'"
compare 4 faster "--condition 9 --text falcon" "awk '!index(\$0, \"falcon\")'"
compare 5 faster "" "awk '!seen[tolower(\$0)]++'"
compare 6 faster "--class 0" "tr -d '.;,:!?'"
compare 7 1.5x "" "tr -d '\\r\\n'"
compare 8 1.5x "--lines 50" "tail -n +51"
compare 9 1.5x "--text .txt" "grep -a \"\$EXT_PATTERN\""
compare 10 faster "--side 0" "sed 's/^[[:space:][:cntrl:]]*//'"
compare 11 1.5x "--word con" "grep -avF con"

echo "| function | tool | ours (s) | tool (s) | ours / tool | target | |"
echo "|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
