#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs each for SECONDS (default 30)
# from its seed corpus, printing how many inputs each ran. Exits non-zero if any target
# found a failing input; the input is kept in build/fuzz/findings/TARGET/.
#   fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
# The sanitizer and fuzzer runtimes are only recommended by clang, which deps.sh skips.
bash scripts/deps.sh cmake ninja-build clang libclang-rt-14-dev libfuzzer-14-dev libxxhash-dev \
    libcli11-dev
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQUILLEX_GUI=OFF -DQUILLEX_TESTS=OFF -DQUILLEX_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build build/fuzz -j2

targets=()
for dir in fuzz/corpus/*/; do
    targets+=("$(basename "$dir")")
done
# Runs one target; its output and exit status go to build/fuzz/TARGET.log and .status.
run_target() {
    local target=$1
    # New inputs go to a working corpus in the build folder; the checked-in seeds stay as
    # they are.
    local work=build/fuzz/corpus/$target findings=build/fuzz/findings/$target status=0
    mkdir -p "$work" "$findings"
    "build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target" \
        >"build/fuzz/$target.log" 2>&1 || status=$?
    echo "$status" >"build/fuzz/$target.status"
}
# A fuzzer uses one core: as many run at once as there are cores.
cores=$(nproc)
for target in "${targets[@]}"; do
    run_target "$target" &
    while [ "$(jobs -rp | wc -l)" -ge "$cores" ]; do
        wait -n || true
    done
done
wait

failed=()
total=0
for target in "${targets[@]}"; do
    log=build/fuzz/$target.log
    status=$(cat "build/fuzz/$target.status")
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    runs=${runs:-0}
    total=$((total + runs))
    if [ "$status" -ne 0 ]; then
        failed+=("$target")
        echo "$target: $runs executions, FINDING (exit $status), log in $log"
        grep -E '^(finding:|==[0-9]+==ERROR|SUMMARY)' "$log" | head -n 5 || true
    else
        echo "$target: $runs executions, no finding"
    fi
done
echo "all targets: $total executions in ${#targets[@]} targets"
if [ ${#failed[@]} -gt 0 ]; then
    echo "findings in: ${failed[*]}" >&2
    exit 1
fi
