#!/usr/bin/env bash
# Installs what is missing, builds the program (release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLEX_TESTS=OFF >/dev/null
cmake --build build/release -j2
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: run it under Xvfb with: xvfb-run -a build/release/app/Quillex" >&2
    exit 1
fi
cd build/release/app && exec ./Quillex
