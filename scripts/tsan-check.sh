#!/usr/bin/env bash
# Builds the window's tests with ThreadSanitizer and runs those whose work crosses threads: the
# work runner and the window's work on a real worker.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLEX_TSAN=ON \
      -DQUILLEX_WERROR=ON >/dev/null
cmake --build build/tsan -j2 --target work_tests
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan.supp"
build/tsan/tests/work_tests
