#!/usr/bin/env bash
# Installs what is missing, cross-builds the GUI-free core, its tests and quillex-batch.exe for
# 64-bit Windows with mingw-w64 and runs the tests under wine (no display, a private wine
# prefix), among them a byte-for-byte comparison of quillex-batch.exe with a Linux build of
# the same sources. Prints how long the whole check took.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)

# wine64 runs the 64-bit programs; wine brings the `wine` launcher. No i386 architecture is
# needed for 64-bit programs.
bash scripts/deps.sh build-essential cmake ninja-build libbenchmark-dev \
    g++-mingw-w64-x86-64-posix googletest libxxhash-dev libcli11-dev wine64 wine
echo "windows check: packages ready after $(( $(date +%s) - start )) s"

# The Linux side of the comparison: the batch runner and the benchmark's sample writer where
# there is one, nothing else. A Release build the release check made already holds the batch
# runner, so CI builds only the sample writer again.
native_targets=(quillex-batch)
if grep -q quillex-sample bench/CMakeLists.txt; then
    native_targets+=(quillex-sample)
fi
native=build/windows-native
if [ -f build/release-tests/CMakeCache.txt ]; then
    native=build/release-tests
    cmake -S . -B "$native" -DQUILLEX_BENCH=ON >/dev/null
else
    cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLEX_GUI=OFF \
          -DQUILLEX_TESTS=OFF -DQUILLEX_BENCH=ON -DQUILLEX_WERROR=ON >/dev/null
fi
cmake --build "$native" -j2 --target "${native_targets[@]}"
# No debug information: linking it into every test program took a third of the build, and
# a failure here is looked into on Linux.
cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DQUILLEX_GUI=OFF -DQUILLEX_BENCH=OFF \
      -DQUILLEX_WERROR=ON -DQUILLEX_NATIVE_BATCH_DIR="$PWD/$native" >/dev/null
cmake --build build/windows -j2
echo "windows check: built after $(( $(date +%s) - start )) s"

unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX="$(mktemp -d)"
export WINEDEBUG=fixme-all  # wine's own errors still show
export WINEDLLOVERRIDES="mscoree,mshtml="  # no prompts to install .NET or the HTML engine
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
# One server for the whole run, and the prefix with its background services made before
# ctest starts: services started by a test would hold ctest's output pipe open.
wineserver -p
wine wineboot -i >/dev/null 2>&1
(cd build/windows && ctest -j2 --timeout 120 --output-on-failure)
echo "windows check took $(( $(date +%s) - start )) s"
