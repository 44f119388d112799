#!/usr/bin/env bash
# Starts the clock at twice the scale on a private X server and proves from a
# screenshot that the view is pixel art: every 2 × 2 block of the picture area
# is one pixel of the day scene.
#   hidpi.sh SORAMADO_BINARY SOURCE_DIR
set -euo pipefail

app=$1
src=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/soramado-hidpi.XXXXXX")
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/app.err" ] && { echo "--- soramado's stderr:" >&2; cat "$work/app.err" >&2; }
    exit 1
}

for tool in Xvfb xdotool xwininfo faketime import convert compare; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/setup.sh installs it"
done

exec {fd}>"$work/display"
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec {fd}>&-
for _ in $(seq 200); do
    grep -q '[0-9]' "$work/display" 2>/dev/null && break
    sleep 0.05
done
grep -q '[0-9]' "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"

mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM TZ=Asia/Tokyo QT_SCALE_FACTOR=2 \
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    faketime '2003-05-01 12:00:00' "$app" >"$work/app.out" 2>"$work/app.err" &
pids+=($!)

wid=
for _ in $(seq 300); do
    wid=$(xdotool search --onlyvisible --name '^Soramado$' 2>/dev/null | head -n 1 || true)
    [ -n "$wid" ] && break
    sleep 0.05
done
[ -n "$wid" ] || fail "no Soramado window within 15 s"

read -r x y width height < <(xwininfo -id "$wid" | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }')
# The layout keeps its proportions: the 169 × 172 window at twice the size.
[ "$width" = 338 ] && [ "$height" = 344 ] || fail "the window is ${width} × ${height}, not 338 × 344"

convert "$src/src/assets/view/3.png" -sample 200% "$work/expected.png"
# The view sits at (4, 2) in the window. A passing visitor could cover the sky
# for a moment, so look a few times.
differ=unknown
for _ in $(seq 20); do
    sleep 0.5
    import -window root "$work/shot.png" 2>/dev/null || continue
    convert "$work/shot.png" -crop "320x240+$((x + 8))+$((y + 4))" +repage "$work/view.png"
    differ=$(compare -metric AE "$work/expected.png" "$work/view.png" null: 2>&1 || true)
    [ "$differ" = 0 ] && break
done
if [ "$differ" != 0 ]; then
    convert "$work/view.png" -sample 50% -sample 200% "$work/blocks.png"
    uneven=$(compare -metric AE "$work/blocks.png" "$work/view.png" null: 2>&1 || true)
    fail "the view differs from scene 3 doubled in $differ pixels ($uneven pixels break their 2 × 2 block)"
fi
echo "the view at 2× is scene 3 in even 2 × 2 blocks"
