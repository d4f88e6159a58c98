#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root; skips what is there.
#   deps.sh [PACKAGE...]   (the packages given instead of the usual set)
set -euo pipefail
# dpkg-dev and file: the package's dependencies; desktop-file-utils and appstream: checking
# its desktop entry and metainfo; qt6-translations-l10n: Qt's own Russian texts; xdotool
# and trayer: the ASan session's clicks and tray.
packages=(build-essential cmake ninja-build qt6-base-dev qt6-svg-dev libxxhash-dev libgtest-dev
          libgmock-dev libbenchmark-dev libcli11-dev xvfb xauth dpkg-dev file desktop-file-utils
          appstream qt6-translations-l10n xdotool trayer)
if [ $# -gt 0 ]; then
    packages=("$@")
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
