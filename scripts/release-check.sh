#!/usr/bin/env bash
# Builds everything in Release with warnings as errors, runs the tests of the core and the
# batch runner on that build, makes the .deb package and validates its desktop entry and
# AppStream metainfo. The window's tests are left to the sanitizer build (scripts/test.sh):
# built with -O2 they were half of this check's time, for code the optimiser treats as it
# treats the core's.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release-tests -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLEX_WERROR=ON \
      -DQUILLEX_GUI_TESTS=OFF >/dev/null
cmake --build build/release-tests -j2
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
(cd build/release-tests && ctest -j2 --output-on-failure)

# The package from the same build, and what a desktop reads from it checked as installed.
(cd build/release-tests && cpack -G DEB >/dev/null)
stage="$(mktemp -d)"
trap 'rm -rf "$XDG_RUNTIME_DIR" "$stage"' EXIT
cmake --install build/release-tests --prefix "$stage" >/dev/null
desktop-file-validate "$stage"/share/applications/*.desktop
appstreamcli validate --no-net "$stage"/share/metainfo/*.metainfo.xml
ls build/release-tests/*.deb
