#!/usr/bin/env bash
# Starts the clock at twice the scale on a private X server and proves from a
# screenshot that the view is pixel art: every 2 × 2 block of the picture area
# is one pixel of the day scene.
#   hidpi.sh SORAMADO_BINARY SOURCE_DIR
set -euo pipefail

suite=hidpi
check=hidpi_blocks
app=$1
src=$2
# shellcheck source=../support/e2e.sh
source "$(dirname "$0")/../support/e2e.sh"

e2e_begin
need_tools Xvfb xdotool xwininfo faketime import convert compare
start_x

mkdir -p "$work/config" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM TZ=Asia/Tokyo QT_SCALE_FACTOR=2 \
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" \
    faketime '2003-05-01 12:00:00' "$app" >"$work/app.out" 2>"$work/app.err" &
app_pid=$!
started+=("$app_pid")

shown() {
    wid=$(xdotool search --onlyvisible --name '^Soramado$' 2>/dev/null | head -n 1 || true)
    [ -n "$wid" ]
}
wait_until 15 "no Soramado window within 15 s" shown

read -r x y width height < <(xwininfo -id "$wid" | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }')
# The layout keeps its proportions: the 169 × 172 window at twice the size.
[ "$width" = 338 ] && [ "$height" = 344 ] || fail "the window is ${width} × ${height}, not 338 × 344"

convert "$src/src/assets/view/3.png" -sample 200% "$work/expected.png"
# The view sits at (4, 2) in the window. A visitor crossing the sky by chance
# (a cloud takes 40 s) covers it for a while: wait for a clear view.
differ=unknown
doubled_scene() {
    import -window root "$work/shot.png" 2>/dev/null || return 1
    convert "$work/shot.png" -crop "320x240+$((x + 8))+$((y + 4))" +repage "$work/view.png"
    differ=$(compare -metric AE "$work/expected.png" "$work/view.png" null: 2>&1 || true)
    [ "$differ" = 0 ]
}
if ! wait_for 45 doubled_scene; then
    convert "$work/view.png" -sample 50% -sample 200% "$work/blocks.png"
    uneven=$(compare -metric AE "$work/blocks.png" "$work/view.png" null: 2>&1 || true)
    fail "the view differs from scene 3 doubled in $differ pixels ($uneven pixels break their 2 × 2 block)"
fi
echo "the view at 2× is scene 3 in even 2 × 2 blocks"
