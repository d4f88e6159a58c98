#!/usr/bin/env bash
# Builds with ThreadSanitizer the tests whose work crosses threads and runs them: the work
# runner, the window's work on a real worker, the batch runner's blocks on several threads and the dedupe's parts.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# Line tables are all a report needs, and they build faster than full debug information.
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLEX_TSAN=ON \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
      -DQUILLEX_WERROR=ON >/dev/null
cmake --build build/tsan -j2 --target work_tests batch_stream_tests spill_tests
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan.supp"
build/tsan/tests/work_tests
build/tsan/tests/batch_stream_tests
build/tsan/tests/spill_tests
