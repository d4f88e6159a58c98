#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# warnings as errors, and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLEX_SANITIZE=ON \
      -DQUILLEX_BENCH=ON -DQUILLEX_WERROR=ON >/dev/null
cmake --build build/test -j2
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
cd build/test
ctest -j2 --output-on-failure
