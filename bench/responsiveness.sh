#!/usr/bin/env bash
# The longest time the window leaves events unanswered while it loads a large file through the
# Open dialog and while it runs "Remove duplicate lines" over it, under Xvfb. A probe
# (bench/ping_probe.cpp) sends _NET_WM_PING to the window without pause through each phase; the
# window answers a ping from its event loop only, so the longest round trip is the longest
# time it could not repaint, move or close.
#
#   bench/responsiveness.sh BUILD_DIR [LINES]      (LINES defaults to 5000000, about 435 MB)
#
# BUILD_DIR is a Release build with -DQUILLEX_BENCH=ON (it holds app/Quillex,
# bench/quillex-sample and bench/ping_probe). PROBE=path/to/ping_probe takes the probe from
# elsewhere (to measure an older build with today's probe). Needs Xvfb and xdotool; the
# generated file and the program's settings live in a temporary folder, removed at the end.
set -euo pipefail

build=${1:?usage: bench/responsiveness.sh BUILD_DIR [LINES]}
lines=${2:-5000000}
probe=${PROBE:-$build/bench/ping_probe}
program=$build/app/Quillex
for tool in Xvfb xdotool xwininfo; do
    command -v "$tool" > /dev/null || { echo "needs $tool" >&2; exit 1; }
done

work=$(mktemp -d /tmp/quillex-responsiveness.XXXXXX)
display=:$((90 + RANDOM % 100))
cleanup() {
    [[ -n ${app_pid:-} ]] && kill "$app_pid" 2> /dev/null || true
    [[ -n ${xvfb_pid:-} ]] && kill "$xvfb_pid" 2> /dev/null || true
    wait 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

file=$work/large.txt
"$build/bench/quillex-sample" "$file" "$lines"
echo "file: $lines lines, $(($(stat -c %s "$file") / 1000000)) MB"

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
# Xvfb can be slow to come up right after the large file was written.
for _ in $(seq 300); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
if ! kill -0 "$xvfb_pid" 2> /dev/null || ! xdpyinfo > /dev/null 2>&1; then
    echo "Xvfb did not start on $display" >&2
    exit 1
fi

# The program's settings and undo copies stay in the temporary folder.
XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache "$program" > "$work/log" 2>&1 &
app_pid=$!

# The main window is the one about 800 pixels wide, shown once the start-up window (400) has
# gone.
window=
for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --name '^Quillex$' 2> /dev/null); do
        if xwininfo -id "$id" | grep -q 'Width: 80[0-9]'; then window=$id; fi
    done
    [[ -n $window ]] && break
    sleep 0.1
done
[[ -n $window ]] || { echo "the main window did not appear" >&2; cat "$work/log" >&2; exit 1; }
sleep 1

# Points inside the window (see ui/main_layout.h): the Open button, the chooser, Start.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

phase() {  # phase NAME SECONDS ACTIONS...: the probe runs through the actions and after them
    local name=$1 seconds=$2
    shift 2
    "$probe" "$window" "$seconds" > "$work/$name.probe" 2> "$work/$name.slow" &
    local probe_pid=$!
    sleep 0.5
    "$@"
    wait "$probe_pid"
    echo "$name: $(cat "$work/$name.probe")"
    [[ -z ${VERBOSE:-} ]] || sed 's/^/    /' "$work/$name.slow"
}

load() {
    click 93 549
    sleep 1.5
    xdotool type --delay 1 "$file"
    xdotool key Return
}
dedupe() {
    click 560 510
    sleep 0.5
    xdotool key Down Down Down Down Down Return
    sleep 0.5
    click 740 554
}

phase load "${LOAD_SECONDS:-12}" load
phase dedupe "${DEDUPE_SECONDS:-20}" dedupe
# The load dialog that follows the round trip: cancelled.
xdotool key Escape
sleep 0.5
