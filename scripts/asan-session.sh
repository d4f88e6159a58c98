#!/usr/bin/env bash
# One whole session of the real program built with AddressSanitizer, on a virtual display
# with a tray: start (the splash, then straight to the tray as the saved setting asks), back
# from the tray, load a file, run a function, switch the language both ways, close. Fails if
# a step does not come about or the sanitizers report anything (the run's log is printed).
# On a shared machine a typed file name or a click now and then does not reach a dialog, so a
# session in which a step did not come about is run again, up to three times; a sanitizer's
# report, a wrong result or a failed exit ends it at once.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/test
if [ "${1:-}" != --once ]; then
    bash scripts/deps.sh build-essential cmake ninja-build qt6-base-dev qt6-svg-dev xvfb \
        xauth xdotool trayer
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLEX_SANITIZE=ON \
          -DQUILLEX_BENCH=ON >/dev/null
    cmake --build "$build" -j2 --target Quillex
    for attempt in 1 2 3; do
        status=0
        bash "$0" --once || status=$?
        [ "$status" -eq 0 ] && exit 0
        [ "$status" -eq 2 ] || exit 1
        echo "asan session: attempt $attempt did not come about" >&2
    done
    exit 1
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# A step that did not come about (2: the session may be run again), or a fault (1).
fail() {
    echo "asan session: $*" >&2
    cat "$work"/asan.* >&2 2>/dev/null || true
    exit 2
}
fault() {
    echo "asan session: $*" >&2
    cat "$work"/asan.* >&2 2>/dev/null || true
    exit 1
}

# A private display, settings folder and session bus; the setting sends the window to the
# tray once it first becomes active.
n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do
    n=$((n + 1))
done
display=":$n"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME/Tarnwell" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[General]\nHintShow=1\nMin_FormShow=1\n' >"$XDG_CONFIG_HOME/Tarnwell/Pellam.conf"
trayer --edge top --align right --widthtype request --height 32 >"$work/trayer.log" 2>&1 &
pids+=($!)
printf 'one\r\n  two\r\nthree\r\n' >"$work/in.txt"

export ASAN_OPTIONS="log_path=$work/asan:detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-dbus.supp:print_suppressions=0"
export UBSAN_OPTIONS="log_path=$work/asan:print_stacktrace=1"
(cd "$build/app" && exec ./Quillex) >"$work/program.log" 2>&1 &
program=$!
pids+=($program)

# Waits up to 30 s for a visible window named $1; prints its id.
wait_for() {
    local what=$1 id=""
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "$what" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$program" 2>/dev/null || fault "the program ended while waiting for '$what'"
        sleep 0.1
    done
    fail "no window '$what' came up"
}
# Whether the visible window named $1 goes within $2 tenths of a second.
gone_within() {
    for _ in $(seq "$2"); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}
# Types the name $3 into dialog $1 (titled $2) and confirms it. A Return that the name's
# completion takes, or keys that come before the dialog takes them, are given again.
enter_name() {
    for _ in 1 2 3; do
        xdotool windowfocus --sync "$1" key ctrl+a type --delay 5 "$3"
        for _ in 1 2; do
            sleep 0.3
            xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1 || return 0
            xdotool windowfocus --sync "$1" key Return || true
            gone_within "^$2\$" 20 && return 0
        done
    done
    fail "the dialog '$2' did not take the name $3"
}
# Clicks at x y inside window $1.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.5
}

main=$(wait_for '^Quillex$')  # after the splash
# The first activation sends the window to the tray; a click on the icon brings it back. On a
# loaded machine the first click may come before the window can take the focus, so it is
# given again.
for attempt in 1 2 3 4; do
    click "$main" 400 30
    gone_within '^Quillex$' 100 && break
    [ "$attempt" -lt 4 ] || fail "window '^Quillex$' did not go to the tray"
done
tray=$(xdotool search --name '^panel$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$tray")"
xdotool mousemove $((X + WIDTH - 12)) $((Y + HEIGHT / 2)) click 1
main=$(wait_for '^Quillex$')

# Load a file whose text a NUL byte ends: the notice comes up and is confirmed.
printf 'one\r\n  two\r\nthree\0rest\r\n' >"$work/in.txt"
click "$main" 93 549
dialog=$(wait_for '^Open$')
enter_name "$dialog" Open "$work/in.txt"
notice=""
for _ in $(seq 300); do
    notice=$(xdotool search --onlyvisible --name '^Quillex$' | grep -vx "$main" | head -n 1 || true)
    [ -n "$notice" ] && break
    sleep 0.1
done
[ -n "$notice" ] || fail "no notice of the NUL byte"
xdotool windowfocus --sync "$notice" key Return
sleep 0.5

# Function 0 (the chooser's first entry) cuts one character off every line; the result,
# saved to a new file, shows the load and the run.
click "$main" 740 554
click "$main" 778 72  # the second language
click "$main" 738 72  # and back
click "$main" 270 549
dialog=$(wait_for '^Save As$')
enter_name "$dialog" "Save As" "$work/out.txt"
for _ in $(seq 100); do
    [ -s "$work/out.txt" ] && break
    sleep 0.1
done
[ -s "$work/out.txt" ] || fail "nothing was saved"
[ "$(od -An -c "$work/out.txt" | tr -d ' \n')" = 'ne\r\ntwo\r\nhree\r\n' ] ||
    fault "the saved result is not the run's: $(od -An -c "$work/out.txt")"

click "$main" 781 19  # the close button
status=0
for _ in $(seq 300); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
wait "$program" || status=$?
[ "$status" -eq 0 ] || fault "the program ended with status $status"
if ls "$work"/asan.* >/dev/null 2>&1; then
    fault "the sanitizers reported:"
fi
echo "asan session: start, tray, load, run, language, save and close ran clean"
