#!/usr/bin/env bash
# Makes the README's screenshots in docs/ from the real program under Xvfb: the start-up
# window, the main window with a file loaded, the view's popup menu, and the Russian interface.
#   screenshots.sh [SCALE]   (SCALE 2 shows the window as on a 200 % screen; written to
#                             build/screenshots/ instead of docs/)
set -euo pipefail
cd "$(dirname "$0")/.."
scale="${1:-1}"
bash scripts/deps.sh build-essential cmake ninja-build qt6-base-dev qt6-svg-dev \
    qt6-translations-l10n xvfb xauth x11-utils xdotool x11-apps netpbm
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLEX_TESTS=OFF >/dev/null
cmake --build build/release -j2 --target Quillex
if [ "$scale" = 1 ]; then out="$PWD/docs"; else out="$PWD/build/screenshots"; fi
mkdir -p "$out"

work="$(mktemp -d)"
trap 'kill "$program" "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
# Settings of their own, so that the user's language and tray choice neither show nor change.
export XDG_CONFIG_HOME="$work/config" HOME="$work"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_SCALE_FACTOR="$scale"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
# A sample in Windows-1251, with Cyrillic lines to show.
printf 'alpha.ru\r\nbeta.com\r\n\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0\r\ngamma.ru\r\n   padded line   \r\n' \
    >"$work/sample.txt"
printf 'delta.org\r\n\xD1\xF2\xF0\xEE\xEA\xE0 \xF2\xE5\xEA\xF1\xF2\xE0\r\nepsilon.ru\r\nzeta.net\r\n' \
    >>"$work/sample.txt"

export DISPLAY=:97
Xvfb "$DISPLAY" -screen 0 "$(( 1280 * scale ))x$(( 1024 * scale ))x24" -nolisten tcp >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The screen's rectangle x y w h (in device pixels) cut out to a PNG.
shot() {
    xwd -root -silent | xwdtopnm 2>/dev/null | pamcut -left "$2" -top "$3" -width "$4" \
        -height "$5" | pnmtopng >"$out/$1"
    echo "wrote $out/$1"
}
s() { echo $(( $1 * scale )); }
# Both windows are centred across the screen's width.
width=1280
logo_left=$(( (width - 400) / 2 ))
main_left=$(( (width - 802) / 2 ))

build/release/app/Quillex "$work/sample.txt" &
program=$!
sleep 1.5
shot screenshot-splash.png "$(s $logo_left)" "$(s 200)" "$(s 400)" "$(s 300)"
sleep 3
shot screenshot-main.png "$(s $main_left)" "$(s 10)" "$(s 802)" "$(s 602)"
# The view's popup menu: a right click in the view. Xvfb's root picture shows a popup black,
# so the menu is taken from its own window and laid over the main window's picture.
windows_before="$(xdotool search --onlyvisible --pid "$program")"
xdotool mousemove "$(s $(( main_left + 300 )))" "$(s 200)" click 3
sleep 1.5
menu="$(xdotool search --onlyvisible --pid "$program" | grep -vxF "$windows_before" | head -1)"
eval "$(xdotool getwindowgeometry --shell "$menu")"
xwd -id "$menu" -silent | xwdtopnm 2>/dev/null >"$work/menu.pnm"
xwd -root -silent | xwdtopnm 2>/dev/null |
    pamcomp -xoff="$X" -yoff="$Y" "$work/menu.pnm" |
    pamcut -left "$(s $main_left)" -top "$(s 10)" -width "$(s 802)" -height "$(s 602)" |
    pnmtopng >"$out/screenshot-menu.png"
echo "wrote $out/screenshot-menu.png"
xdotool key Escape
sleep 0.3
# "Russ" switches the interface language.
xdotool mousemove "$(s $(( main_left + 775 )))" "$(s $(( 10 + 72 )))" click 1
sleep 0.5
xdotool mousemove "$(s $(( main_left + 400 )))" "$(s 300)"
sleep 0.3
shot screenshot-russian.png "$(s $main_left)" "$(s 10)" "$(s 802)" "$(s 602)"
