#!/usr/bin/env bash
# Whole-process timing of quillex-batch (load + function + safe save) against the standard
# tool doing the same job, side by side in one hyperfine run each, on a 1,000,000-line file,
# alone and followed by `sync` of its output (quillex-batch flushes its output to the disk),
# and the peak memory of each quillex-batch run.
#   bench/compare_tools.sh [BUILD_DIR] [RUNS]
# BUILD_DIR is a Release build with -DQUILLEX_BENCH=ON (default build/bench). Prints a
# Markdown table: median times, ours / theirs (below 1.0 means quillex-batch is faster) and
# our peak resident memory as a multiple of the input's size.
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
size=$(stat -c %s "$in")
export LC_ALL=C
# The extension test of function 9 as a pattern: ".txt" right before the CR of CR LF.
export EXT_PATTERN=$'\\.txt\r$'
echo "input: $(wc -l <"$in") lines, $(( size / 1000000 )) MB" >&2

rows=()
compare() {  # function, our options, their command
    local fn=$1 ours=$2 theirs=$3
    hyperfine --style none -i --warmup 1 --runs "$runs" --export-json "$work/t.json" \
        -n ours "$batch $fn $in $work/ours.txt $ours >/dev/null" \
        -n theirs "$theirs <$in >$work/theirs.txt" \
        -n synced "$theirs <$in >$work/theirs.txt && sync $work/theirs.txt" >/dev/null
    local peak
    peak=$(eval "/usr/bin/time -f %M $batch $fn $in $work/ours.txt $ours" 2>&1 >/dev/null | tail -n 1)
    rows+=("$(python3 - "$work/t.json" "$fn" "$theirs" "$ours" "$peak" "$size" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
ours, theirs = results["ours"]["median"], results["theirs"]["median"]
synced = results["synced"]["median"]
ratio, synced_ratio = ours / theirs, ours / synced
tool = sys.argv[3].replace("|", "\\|")
memory = int(sys.argv[5]) * 1024 / int(sys.argv[6])
met = "met" if max(ratio, synced_ratio) < 1.0 else "missed"
print(f"| {sys.argv[2]} `{sys.argv[4]}` | `{tool}` | {ours:.3f} | {theirs:.3f} | {synced:.3f} | "
      f"{ratio:.2f} | {synced_ratio:.2f} | {met} | {memory:.2f}x |")
PY
)")
    echo "${rows[-1]}" >&2
}

compare 0 "--count 1" "sed 's/^.//'"
compare 0 "--count 5" "cut -c6-"
compare 1 "--from '?' --to ." "tr '?' '.'"
compare 2 "--word Result:" "sed 's/Result:.*//'"
compare 3 "--left ' \"' --right '\";'" "sed 's/.*/ \"&\";/'"
compare 4 "--condition 9 --text falcon" "mawk '!index(\$0, \"falcon\")'"
compare 5 "" "mawk '!seen[tolower(\$0)]++'"
compare 6 "--class 0" "tr -d '.;,:!?'"
compare 7 "" "tr -d '\\r\\n'"
compare 8 "--lines 50" "tail -n +51"
compare 9 "--text .txt" "grep -aP \"\$EXT_PATTERN\""
compare 9 "--text .txt" "rg -a \"\$EXT_PATTERN\""
compare 10 "--side 0" "sed 's/^[[:space:][:cntrl:]]*//'"
compare 11 "--word con" "grep -avF con"
compare 11 "--word con" "rg -avF con"

echo "| function | tool | ours (s) | tool (s) | tool + sync (s) | ours / tool | ours / tool + sync | faster | our peak memory |"
echo "|---|---|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
