#!/usr/bin/env bash
# Renders the README's pictures into docs/: the six scenes of one day in Tokyo
# (scenes.png) and the clock window at 1x on a private X server (window.png).
#   docs/render.sh BUILD_DIR     (default build/default)
# Needs Xvfb, xdotool, x11-utils, ImageMagick and libfaketime (scripts/setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
preview=$build/tools/preview/soramado-preview
app=$build/src/qt/soramado
work=$(mktemp -d)
xpid=
apid=
cleanup() {
    [ -n "$apid" ] && kill "$apid" 2>/dev/null
    [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# One moment of each phase on 1 May 2003: dawn, morning, day, evening, dusk, night.
moments=("05:10:00" "06:00:00" "12:00:00" "17:40:00" "18:10:00" "21:00:00")
tiles=()
for i in "${!moments[@]}"; do
    "$preview" --city 2 --at "2003-05-01 ${moments[$i]}" --png "$work/$i.png" --seed 1 >/dev/null
    convert "$work/$i.png" -sample 200% "$work/big$i.png"
    tiles+=("$work/big$i.png")
done
montage "${tiles[@]}" -tile 3x2 -geometry +4+4 -background white docs/scenes.png

# The window, started at a faked evening moment with its own settings.
exec {fd}>"$work/display"
Xvfb -displayfd "$fd" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
exec {fd}>&-
until grep -q '[0-9]' "$work/display" 2>/dev/null; do sleep 0.05; done
export DISPLAY=":$(head -n 1 "$work/display")"
mkdir -p "$work/config"
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 | head -n 1)
env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR TZ=Asia/Tokyo XDG_CONFIG_HOME="$work/config" \
    LD_PRELOAD="$faketime_lib" FAKETIME="@2003-05-01 17:52:00" "$app" >/dev/null 2>&1 &
apid=$!
wid=
until [ -n "$wid" ]; do
    sleep 0.1
    wid=$(xdotool search --onlyvisible --pid "$apid" 2>/dev/null | tail -n 1 || true)
done
sleep 2
geometry=$(xwininfo -id "$wid" | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print w "x" h "+" x "+" y }')
import -window root "$work/root.png"
convert "$work/root.png" -crop "$geometry" +repage docs/window.png
echo "wrote docs/scenes.png and docs/window.png"
