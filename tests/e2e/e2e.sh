#!/usr/bin/env bash
# Drives the real clock as a person would: on a private X server, at a faked
# moment in Tokyo, with a private settings store, and checks what is seen and
# what is stored. Each check is one check_NAME function below; CMake makes one
# test of each (`e2e.sh --list` names them).
#   e2e.sh CHECK SORAMADO_BINARY SOURCE_DIR
set -euo pipefail

suite=e2e
check=${1:-}
app=${2:-}
src=${3:-}
# shellcheck source=../support/e2e.sh
source "$(dirname "$0")/../support/e2e.sh"

wid=
# What starts the clock, before the program itself (empty: the program alone).
launcher=()
mounted=

# ---------------------------------------------------------------- the driver

e2e_setup() {
    config=$work/config
    store=$config/Soramado.conf
    mkdir -p "$config" "$work/home" "$work/runtime"
    chmod 700 "$work/runtime"
    need_tools Xvfb xdotool xwininfo xprop xwd convert python3
    faketime=$(faketime_lib)
    [ -n "$faketime" ] || fail "libfaketime is missing; scripts/setup.sh installs it"
    [ -x "$app" ] || fail "no clock program at $app"
}

driver_release() {
    [ -z "$mounted" ] || umount "$mounted" 2>/dev/null || true
}

driver_diagnose() {
    if [ -f "$store" ]; then
        echo "--- Soramado.conf:"
        cat "$store"
    fi
    if [ -n "${DISPLAY:-}" ]; then
        echo "--- windows on $DISPLAY:"
        xwininfo -root -tree 2>&1 | grep -v 'has no name' || true
    fi
    if [ -s "$work/openbox.log" ]; then
        echo "--- openbox:"
        cat "$work/openbox.log"
    fi
}

need_openbox() {
    need_tools openbox
}

# The desktop properties a light window manager sets last: it announces
# itself (_NET_SUPPORTING_WM_CHECK) a little before it takes windows over.
wm_ready() {
    [ "$(xprop -root 2>/dev/null | grep -c -E '^(_OB_THEME|_NET_WORKAREA|_NET_CLIENT_LIST_STACKING)\(')" = 3 ]
}

start_wm() {
    HOME=$work/home openbox --sm-disable >"$work/openbox.log" 2>&1 &
    started+=($!)
    wait_for 15 wm_ready || fail "openbox did not start: $(cat "$work/openbox.log")"
}

framed() {
    [ "$(frame_window "$1")" != "$1" ] && xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='
}

# Waits until the window manager has framed the clock's window.
wait_framed() {
    wait_until 15 "openbox did not frame the window within 15 s" framed "$wid"
    sync_app
}

# Opens the menu and closes it again: once the menu shows, the clock has
# handled every event sent to it before the click (the frame's, too).
sync_app() {
    open_menu
    xdotool key Escape
    wait_menus 0 || fail "Escape did not close the menu"
}

# The clock's visible main window, or nothing.
find_window() {
    xdotool search --onlyvisible --name '^Soramado$' 2>/dev/null | head -n 1 || true
}

shown() {
    running || fail "soramado ended before its window showed"
    wid=$(find_window)
    [ -n "$wid" ]
}

# Mapped is not yet painted: the window shows its pink.
painted() {
    running || fail "soramado ended before its window was painted"
    local x y
    read -r x y _ < <(geometry "$wid") && xwd -root -silent >"$work/shot.xwd" &&
        python3 "$pixels" painted "$work/shot.xwd" "$x" "$y"
}

# Starts the clock at a moment of Tokyo time and waits until it is painted.
start_app() {
    local moment=$1
    rm -f "$work/app.out" "$work/app.err"
    env TZ=Asia/Tokyo XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$work/runtime" \
        HOME="$work/home" QT_QPA_PLATFORM=xcb \
        LD_PRELOAD="$faketime" FAKETIME="@$moment" \
        "${launcher[@]}" "$app" >"$work/app.out" 2>"$work/app.err" &
    app_pid=$!
    started+=("$app_pid")
    wid=
    wait_until 15 "no Soramado window within 15 s" shown
    wait_until 15 "the window was not painted within 15 s" painted
}

# "X Y WIDTH HEIGHT" of a window's client area on the screen.
geometry() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF }
        END { print x, y, w, h }'
}

client_geometry() {
    geometry "$wid"
}

# The frame: the outermost ancestor of a window below the root.
frame_window() {
    local window=$1 parent root
    root=$(xwininfo -root | awk '/Window id/ { print $4 }')
    while :; do
        parent=$(xwininfo -children -id "$window" | awk '/Parent window id/ { print $4 }')
        [ "$parent" = "$root" ] && break
        window=$parent
    done
    printf '%d\n' "$window"
}

# The frame's top-left corner.
frame_position() {
    geometry "$(frame_window "$1")" | awk '{ print $1, $2 }'
}

# "X Y WIDTH HEIGHT" of a window's frame.
frame_geometry() {
    geometry "$(frame_window "$1")"
}

# The clock's viewable override-redirect windows: its open popup menus.
menu_windows() {
    local w
    for w in $(xwininfo -root -children | awk '/\("soramado" / { print $1 }'); do
        xwininfo -id "$w" 2>/dev/null |
            awk '/Map State: IsViewable/ { v = 1 } /Override Redirect State: yes/ { o = 1 }
                 END { exit !(v && o) }' && echo "$w"
    done
    return 0
}

menus_open() {
    menu_windows | grep -c . || true
}

# "X Y WIDTH HEIGHT" of the open menu.
menu_geometry() {
    geometry "$(menu_windows | head -n 1)"
}

# The view's top-left corner on the screen: client (4, 2).
view_origin() {
    geometry "$wid" | awk '{ print $1 + 4, $2 + 2 }'
}

stored() {
    [ -f "$store" ] && sed -n "s/^$1=//p" "$store" | tail -n 1
}

write_store() {
    printf '[Setting]\n' >"$store"
    printf '%s\n' "$@" >>"$store"
}

above() {
    xprop -id "$wid" _NET_WM_STATE | grep -q '_NET_WM_STATE_ABOVE'
}

# Each of the three keys a quit saves was told failing exactly once, with
# CAUSE when one is given.
expect_each_save_told_once() {
    local cause=${1:-} key
    for key in AlwaysTop Left Top; do
        [ "$(grep -c "could not save the setting \"$key\".*$cause" "$work/app.err")" = 1 ] ||
            fail "the failed write of $key${cause:+ ($cause)} was not told once"
    done
}

# Rows of the box on a fresh screen dump that show more than one colour.
mixed_rows() {
    xwd -root -silent >"$work/shot.xwd"
    python3 "$pixels" mixed "$work/shot.xwd" "$@"
}

# ---------------------------------------------------------------- the checks
check_first_start() {
    start_x
    start_app '2003-05-01 12:00:00'
    local result
    result=$(look_clear same 3) || fail "day scene: $result"
    expect_design_place
    wait_until 5 "no settings store written" test -f "$store"
    local content
    content=$(grep -v '^$' "$store" | tr '\n' '|')
    [ "$content" = "[Setting]|AlwaysTop=False|" ] || fail "store holds '$content'"
    ! grep -q 'Japanese font' "$work/app.err" ||
        fail "warned of a missing Japanese font with the system's fonts installed"
}

# A desktop whose fonts have no Japanese face (a private font configuration
# that knows DejaVu alone): the clock still starts, and says once on stderr why
# its captions are boxes and which Debian package brings a font for them.
check_no_japanese_font() {
    [ -d /usr/share/fonts/truetype/dejavu ] || fail "no DejaVu fonts; scripts/setup.sh installs them"
    cat >"$work/fonts.conf" <<EOF_CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$work/fontcache</cachedir>
</fontconfig>
EOF_CONF
    start_x
    launcher=(env FONTCONFIG_FILE="$work/fonts.conf")
    start_app '2003-05-01 12:00:00'
    launcher=()
    # The menu opened and closed: start-up is over, and a menu of boxes adds no warning.
    open_menu
    xdotool key Escape
    wait_menus 0 || fail "Escape did not close the menu"
    local lines
    lines=$(grep -c 'Japanese' "$work/app.err" || true)
    [ "$lines" = 1 ] || fail "$lines lines on stderr tell of the missing Japanese font, expected one"
    grep 'Japanese' "$work/app.err" | grep -q 'fonts-ipafont-gothic' ||
        fail "the warning names no Debian package that brings a Japanese font"
}

check_evening_stars() {
    start_x
    start_app '2003-05-01 17:50:30'
    local stars
    stars=$(look_clear stars 4) || fail "evening scene: $stars"
    case "$stars" in
    9 | 8) ;;
    *) fail "$stars stars in the evening sky, expected 9" ;;
    esac
}

check_menu_opens() {
    start_x
    start_app '2003-05-01 12:00:00'
    [ "$(menus_open)" = 0 ] || fail "a menu is open before any click"
    click_view 1
    wait_menus 1 || fail "a left click on the picture opened no menu"
    xdotool key Escape
    wait_menus 0 || fail "Escape did not close the menu"
    click_view 3
    wait_menus 1 || fail "a right click on the picture opened no menu"
    xdotool key Escape
    wait_menus 0 || fail "Escape did not close the menu"
    # The time label, below the pink strip's date line.
    xdotool mousemove --window "$wid" 84 155 click 1
    sleep 0.5
    [ "$(menus_open)" = 0 ] || fail "a click on the time label opened a menu"
}

check_menu_city_by_keys() {
    start_x
    start_app '2003-05-01 12:00:00'
    choose_city o
    wait_stored Location 3
}

check_visitor_key() {
    start_x
    start_app '2003-05-01 12:00:00'
    expect_visitor_key 1
}

check_quit_command() {
    start_x
    start_app '2003-05-01 12:00:00'
    quit_by_menu
    [ "$(stored Left)" = 2400 ] || fail "Left is '$(stored Left)', expected 2400"
    [ "$(stored Top)" = 1920 ] || fail "Top is '$(stored Top)', expected 1920"
}

check_close_request() {
    need_tools openbox wmctrl
    start_x
    # The manager starts after the clock, as after a crash of the manager: the
    # frame it then adds is the one Qt's widgets learn of late, if at all.
    start_app '2003-05-01 12:00:00'
    start_wm
    wait_framed
    local fx fy
    read -r fx fy < <(frame_position "$wid")
    # The window manager asks the window to close (WM_DELETE_WINDOW).
    wmctrl -i -c "$wid"
    wait_exit 2 || fail "still running 2 s after the close request"
    [ "$app_status" = 0 ] || fail "exit status $app_status after the close request"
    # The frame's place is stored; the client area's would open the window
    # lower by its title bar at every start.
    local left top
    left=$(stored Left)
    top=$(stored Top)
    [ "$left $top" = "$((fx * 15)) $((fy * 15))" ] ||
        fail "stored '$left $top', expected the frame's $((fx * 15)) $((fy * 15))"
}

check_stored_position() {
    start_x
    write_store Left=3000 Top=2250
    start_app '2003-05-01 12:00:00'
    local at
    at=$(frame_position "$wid")
    [ "$at" = "200 150" ] || fail "window at '$at' for Left=3000 Top=2250, expected '200 150'"
    stop_app
    write_store Left=300000 Top=300000
    start_app '2003-05-01 12:00:00'
    at=$(frame_position "$wid")
    [ "$at" = "160 128" ] || fail "window at '$at' for a place off the screen, expected '160 128'"
    stop_app
    # The screen's last pixel: on the screen, but nothing there to take hold of.
    write_store Left=11985 Top=8985
    start_app '2003-05-01 12:00:00'
    at=$(frame_position "$wid")
    [ "$at" = "160 128" ] || fail "window at '$at' for the screen's last pixel, expected '160 128'"
}

check_always_on_top() {
    need_openbox
    start_x
    start_wm
    start_app '2003-05-01 12:00:00'
    wait_framed
    local place
    place=$(geometry "$wid")
    above && fail "_NET_WM_STATE_ABOVE before the command"
    toggle_on_top
    wait_stored AlwaysTop True
    wait_until 3 "no _NET_WM_STATE_ABOVE after the command" above
    [ "$(find_window)" = "$wid" ] || fail "the window is not visible while on top"
    [ "$(geometry "$wid")" = "$place" ] || fail "the window moved: '$(geometry "$wid")', was '$place'"
    toggle_on_top
    wait_stored AlwaysTop False
    wait_until 3 "_NET_WM_STATE_ABOVE stays after the second toggle" not above
    [ "$(find_window)" = "$wid" ] || fail "the window is not visible after the second toggle"
    [ "$(geometry "$wid")" = "$place" ] || fail "the window moved: '$(geometry "$wid")', was '$place'"
}

check_bad_store() {
    start_x
    write_store Location=x Left=abc Top=2250 AlwaysTop=maybe
    start_app '2003-05-01 12:00:00'
    local result
    result=$(look_clear same 3) || fail "day scene: $result"
    expect_design_place
    [ -s "$work/app.err" ] || fail "no warning on stderr"
    local key
    for key in Location Left AlwaysTop; do
        grep -q "$key" "$work/app.err" || fail "the warning does not name $key"
    done
    # The defaults took over: Tokyo is checked, and always-on-top is off.
    wait_stored AlwaysTop False
    choose_city t
    wait_stored Location 2
}

check_no_display() {
    mkdir -p "$work/cwd"
    local status=0
    (
        cd "$work/cwd"
        ulimit -c unlimited
        exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
            XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" \
            "$app" >"$work/app.out" 2>"$work/app.err"
    ) || status=$?
    [ "$status" -ne 0 ] || fail "exit status 0 without a display"
    [ "$status" -lt 128 ] || fail "killed by signal $((status - 128)) without a display"
    [ -z "$(ls "$work/cwd")" ] || fail "left files behind: $(ls "$work/cwd")"
    local lines
    lines=$(grep -c . "$work/app.err" || true)
    [ "$lines" = 1 ] || fail "$lines lines on stderr, expected one"
    [ ! -f "$store" ] || fail "a settings store was written without a display"
}

# Each failure to reach the window system is one line that names what is
# wrong, with exit status 1 and no store written.
check_start_failures() {
    start_x
    local display=$DISPLAY
    local -a cases=(
        "bogus|env QT_QPA_PLATFORM=bogus DISPLAY=$display|\"bogus\" is not available"
        "wayland|env -u QT_QPA_PLATFORM -u DISPLAY WAYLAND_DISPLAY=wayland-none|DISPLAY is not set either"
        "dead X|env -u QT_QPA_PLATFORM DISPLAY=:999|cannot open a display to show the clock on (DISPLAY=:999)"
    )
    local entry name how want status lines
    for entry in "${cases[@]}"; do
        IFS='|' read -r name how want <<<"$entry"
        status=0
        # shellcheck disable=SC2086 # $how is a command with its arguments
        timeout 20 $how XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$work/runtime" \
            HOME="$work/home" "$app" >"$work/app.out" 2>"$work/app.err" || status=$?
        [ "$status" != 124 ] || fail "$name: still running after 20 s"
        [ "$status" = 1 ] || fail "$name: exit status $status, expected 1"
        lines=$(grep -c . "$work/app.err" || true)
        [ "$lines" = 1 ] || fail "$name: $lines lines on stderr, expected one"
        grep -qF "$want" "$work/app.err" || fail "$name: the line does not say '$want'"
        [ ! -e "$store" ] || fail "$name: a settings store was written"
    done
}

# Stored on top and no stored place: the client area still opens at its design
# place, the frame's place is what quitting stores, and that opens it there again.
check_on_top_start() {
    need_openbox
    start_x
    start_wm
    write_store AlwaysTop=True
    start_app '2003-05-01 12:00:00'
    wait_framed
    expect_design_place
    above || fail "not on top although stored so"
    local fx fy
    read -r fx fy < <(frame_position "$wid")
    quit_by_menu
    [ "$(stored Left) $(stored Top)" = "$((fx * 15)) $((fy * 15))" ] ||
        fail "stored '$(stored Left) $(stored Top)', expected the frame's $((fx * 15)) $((fy * 15))"
    start_app '2003-05-01 12:00:00'
    wait_framed
    expect_design_place
}

# What both windows ask of the manager: moving and closing, nothing else.
expect_close_and_move_only() {
    local hints actions
    hints=$(xprop -id "$1" -notype _MOTIF_WM_HINTS)
    [ "$hints" = "_MOTIF_WM_HINTS = 0x3, 0x24, 0xa, 0x0, 0x0" ] || fail "$2 asks '$hints'"
    actions=$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS)
    case "$actions" in
    *MAXIMIZE* | *RESIZE*) fail "$2 can be resized or maximised: $actions" ;;
    esac
}

check_version_window() {
    need_openbox
    start_x
    start_wm
    start_app '2003-05-01 12:00:00'
    wait_framed
    expect_close_and_move_only "$wid" "the clock"
    open_menu
    xdotool key v
    local until ver=
    until=$(deadline 5)
    while [ -z "$ver" ] || [ "$(frame_window "$ver")" = "$ver" ] ||
        ! xprop -id "$ver" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; do
        before "$until" || fail "no framed version window within 5 s"
        sleep 0.05
        ver=$(xdotool search --onlyvisible --name '^バージョン情報$' 2>/dev/null | head -n 1 || true)
    done
    expect_close_and_move_only "$ver" "the version window"
    # Frame centred over frame, to the pixel that halving allows.
    local mx my mw mh vx vy vw vh
    read -r mx my mw mh < <(frame_geometry "$wid")
    read -r vx vy vw vh < <(frame_geometry "$ver")
    local dx=$((2 * vx + vw - 2 * mx - mw)) dy=$((2 * vy + vh - 2 * my - mh))
    [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] ||
        fail "version frame at $vx $vy ${vw}x$vh is not centred over the clock's $mx $my ${mw}x$mh"
    # No icon: once the title is drawn, the left end of the title bar is plain.
    until=$(deadline 5)
    while [ "$(mixed_rows $((vx + vw / 2 - 20)) $((vy + 2)) 40 16)" = 0 ]; do
        before "$until" || fail "the version window's title was not drawn within 5 s"
        sleep 0.05
    done
    local icon
    icon=$(mixed_rows $((vx + 2)) $((vy + 2)) 16 16)
    [ "$icon" = 0 ] || fail "an icon in the version window's title bar ($icon mixed rows)"
    xdotool key Return
    until=$(deadline 3)
    while xdotool search --onlyvisible --name '^バージョン情報$' >/dev/null 2>&1; do
        before "$until" || fail "Enter did not close the version window"
        sleep 0.05
    done
}

# The items answer the left button only: a right click on the last item, the
# quit command, leaves the clock running with its menu open.
check_menu_right_click() {
    start_x
    start_app '2003-05-01 12:00:00'
    click_view 3
    wait_menus 1 || fail "a right click on the picture opened no menu"
    local x y w h
    read -r x y w h < <(menu_geometry)
    xdotool mousemove $((x + w / 2)) $((y + h - 10))
    sleep 0.2
    xdotool click 3
    sleep 0.5
    kill -0 "$app_pid" 2>/dev/null || fail "a right click on the quit item ended the clock"
    [ "$(menus_open)" = 1 ] || fail "a right click on an item closed the menu"
    xdotool click 1
    wait_exit 2 || fail "a left click on the quit item did not end the clock"
    [ "$app_status" = 0 ] || fail "exit status $app_status after the quit command"
}

# Openbox offers minimising whatever the window asks; with no taskbar entry to
# bring it back, the clock comes straight back by itself, in place.
check_minimise() {
    need_openbox
    start_x
    start_wm
    start_app '2003-05-01 12:00:00'
    wait_framed
    local place
    place=$(frame_position "$wid")
    xdotool windowminimize "$wid"
    sleep 0.5
    local until
    until=$(deadline 3)
    until xprop -id "$wid" WM_STATE | grep -q 'window state: Normal' && [ "$(find_window)" = "$wid" ]; do
        before "$until" || fail "the clock stayed minimised"
        sleep 0.05
    done
    [ "$(frame_position "$wid")" = "$place" ] || fail "back at '$(frame_position "$wid")', was '$place'"
}

# A lock that cannot be taken delays a write a moment, is named once per key,
# and the clock shows its window and runs on.
check_lock_unavailable() {
    start_x
    local lock=$store.lock kind
    for kind in folder loop; do
        rm -rf "$store" "$lock"
        write_store Location=4
        case "$kind" in
        folder) mkdir "$lock" ;;
        loop) ln -s "$lock" "$lock" ;;
        esac
        start_app '2003-05-01 12:00:00'
        local until
        until=$(deadline 5)
        until grep -q 'AlwaysTop' "$work/app.err"; do
            before "$until" || fail "$kind: no warning about the skipped AlwaysTop write"
            sleep 0.05
        done
        grep -q "Soramado.conf.lock" "$work/app.err" || fail "$kind: the warning names no lock file"
        quit_by_menu 8
        local said
        said=$(grep -c 'could not save' "$work/app.err" || true)
        [ "$said" = 3 ] || fail "$kind: $said warnings, expected one each for AlwaysTop, Left, Top"
        [ "$(cat "$store")" = "$(printf '[Setting]\nLocation=4')" ] ||
            fail "$kind: the store changed without its lock"
    done
    # A lock left by a clock that died is taken over at once, without a word.
    rm -f "$lock"
    local dead
    sleep 0 &
    dead=$!
    wait "$dead"
    printf '%s\nsoramado\n%s\n' "$dead" "$(uname -n)" >"$lock"
    start_app '2003-05-01 12:00:00'
    wait_stored AlwaysTop False
    [ ! -s "$work/app.err" ] || fail "warnings with a stale lock: $(cat "$work/app.err")"
    [ ! -e "$lock" ] || fail "the stale lock is still there"
}

# A lock left by a save that died, whose process id now belongs to another
# program (here sleep, or pid 1 after a reboot) or cannot be a process id at
# all, is stale: taken over at once, without a word. A live clock's lock is
# honoured: the quit's saves wait for it and name its owner as the lock does.
check_stale_lock() {
    start_x
    local lock=$store.lock host owner other
    host=$(uname -n)
    sleep 600 &
    other=$!
    started+=("$other")
    # libfaketime shifts the times of files as it shifts the clock, so a lock
    # written just now is fresh to the clock: only its owner can make it stale.
    for owner in "$other" 1 99999999999; do
        rm -f "$store"
        printf '%s\nsoramado\n%s\n' "$owner" "$host" >"$lock"
        start_app '2003-05-01 12:00:00'
        wait_stored AlwaysTop False
        [ ! -s "$work/app.err" ] || fail "owner $owner: warnings with a stale lock"
        [ ! -e "$lock" ] || fail "owner $owner: the stale lock is still there"
        stop_app
    done
    rm -f "$store"
    start_app '2003-05-01 12:00:00'
    wait_stored AlwaysTop False
    local clock=$app_pid
    printf '%s\nsoramado\n%s\n' "$clock" "$host" >"$lock"
    quit_by_menu 8
    local key
    for key in Left Top; do
        [ "$(grep -c "could not save the setting \"$key\".*held by process \"$clock\" of \"soramado\" on \"$host\"" "$work/app.err")" = 1 ] ||
            fail "the held lock was not named once for $key"
    done
    [ -z "$(stored Left)$(stored Top)" ] || fail "the position was saved without the lock"
}

# A store frozen with chmod a-w is left as it is, whoever runs the clock (root
# too): each key's failed write is told once, and the clock runs on.
check_read_only_store() {
    start_x
    write_store Location=4
    chmod a-w "$store"
    local before
    before=$(od -An -c "$store")
    start_app '2003-05-01 12:00:00'
    quit_by_menu 4
    [ "$(od -An -c "$store")" = "$before" ] || fail "the read-only store was changed"
    [ "$(stat -c %a "$store")" = 444 ] || fail "the store's permissions became $(stat -c %a "$store")"
    expect_each_save_told_once "Permission denied"
    [ "$(ls -A "$config")" = Soramado.conf ] || fail "left files behind: $(ls -A "$config")"
}

# A store that is a dotfile manager's link to a file still to be made: the
# clock makes that file, keeps the link, and has nothing to say.
check_dangling_link() {
    start_x
    mkdir -p "$work/dotfiles"
    ln -s ../dotfiles/clock.conf "$store"
    start_app '2003-05-01 12:00:00'
    wait_stored AlwaysTop False
    quit_by_menu
    [ "$(readlink "$store")" = ../dotfiles/clock.conf ] || fail "the link was replaced"
    [ "$(stored Left) $(stored Top)" = "2400 1920" ] ||
        fail "stored '$(stored Left) $(stored Top)', expected '2400 1920'"
    [ ! -s "$work/app.err" ] || fail "warnings through the link"
    [ "$(ls -A "$work/dotfiles")" = clock.conf ] || fail "left files behind: $(ls -A "$work/dotfiles")"
}

# Each polite request to end saves the position, Ctrl+C's SIGINT too; a
# SIGINT that was ignored at start (a background job) stays ignored.
check_signals() {
    start_x
    local signal
    launcher=(python3 -c 'import os, signal, sys
for s in (signal.SIGINT, signal.SIGHUP):
    signal.signal(s, signal.SIG_DFL)
os.execv(sys.argv[1], sys.argv[1:])')
    for signal in TERM HUP INT; do
        rm -f "$store"
        start_app '2003-05-01 12:00:00'
        wait_stored AlwaysTop False
        kill -s "$signal" "$app_pid"
        wait_exit 3 || fail "still running 3 s after SIG$signal"
        [ "$app_status" = 0 ] || fail "exit status $app_status after SIG$signal"
        [ "$(stored Left) $(stored Top)" = "2400 1920" ] ||
            fail "SIG$signal: stored '$(stored Left) $(stored Top)', expected '2400 1920'"
    done
    launcher=()
    start_app '2003-05-01 12:00:00'
    kill -s INT "$app_pid"
    sleep 1
    kill -0 "$app_pid" 2>/dev/null || fail "an ignored SIGINT ended the clock"
    [ "$(find_window)" = "$wid" ] || fail "the window went after an ignored SIGINT"
}

# Sends $1 requests to end to the clock as fast as they go, SIGTERM and SIGHUP
# in turn, as a service manager retrying or a script in a loop does.
signal_storm() {
    python3 - "$app_pid" "$1" <<'EOF'
import os, signal, sys, time
pid, count = int(sys.argv[1]), int(sys.argv[2])
for i in range(count):
    try:
        os.kill(pid, signal.SIGHUP if i % 2 else signal.SIGTERM)
        time.sleep(0.0002)
    except ProcessLookupError:
        break
EOF
}

# Any number of requests to end closes the clock once, also while its save
# waits for a lock that another live program holds: the place is saved whole
# (or, where the lock stays held, told once per key and the store left as it
# was), and no lock of the clock's is left behind.
check_signal_storm() {
    start_x
    local lock=$store.lock holder owner key
    # Stored off the screen: the window opens at its design place, so a whole
    # save changes both keys.
    write_store Left=300000 Top=300000
    start_app '2003-05-01 12:00:00'
    wait_stored AlwaysTop False
    signal_storm 5000
    wait_exit 10 || {
        kill -s KILL "$app_pid"
        fail "still running 10 s after a storm of signals"
    }
    [ "$app_status" = 0 ] || fail "exit status $app_status after a storm of signals"
    [ "$(stored Left) $(stored Top)" = "2400 1920" ] ||
        fail "stored '$(stored Left) $(stored Top)', expected '2400 1920'"
    [ ! -s "$work/app.err" ] || fail "warnings: $(cat "$work/app.err")"
    [ "$(ls -A "$config")" = Soramado.conf ] || fail "left behind: $(ls -A "$config")"

    # A live program holds the lock (its own name and process in it, as
    # QLockFile writes) for as long as the clock may wait for it: the storm
    # comes while the save waits.
    write_store Left=300000 Top=300000 AlwaysTop=False
    start_app '2003-05-01 12:00:00'
    sleep 120 &
    holder=$!
    started+=("$holder")
    printf '%s\nsleep\n%s\n' "$holder" "$(uname -n)" >"$lock"
    owner=$(cat "$lock")
    signal_storm 5000
    # A clock asleep in its signal handler ends only by SIGKILL.
    wait_exit 10 || {
        kill -s KILL "$app_pid"
        fail "still running 10 s after a storm of signals during a save"
    }
    [ "$app_status" = 0 ] || fail "exit status $app_status after a storm during a save"
    [ "$(stored Left) $(stored Top)" = "300000 300000" ] ||
        fail "the store changed under another's lock: '$(stored Left) $(stored Top)'"
    for key in Left Top; do
        [ "$(grep -c "could not save the setting \"$key\"" "$work/app.err")" = 1 ] ||
            fail "the failed save of $key was not told once"
    done
    [ "$(cat "$lock" 2>/dev/null)" = "$owner" ] || fail "the holder's lock was not left as it was"
}

# With stderr a pipe whose reader has gone, the first warning (a bad stored
# city) is lost, and the clock shows its window and runs on.
check_stderr_gone() {
    start_x
    write_store Location=x Left=300000 Top=300000
    # SIGPIPE at its default, as a shell leaves it; Python ignores it.
    launcher=(python3 -c 'import os, signal, sys
signal.signal(signal.SIGPIPE, signal.SIG_DFL)
reader, writer = os.pipe()
os.close(reader)
os.dup2(writer, 2)
os.execv(sys.argv[1], sys.argv[1:])')
    start_app '2003-05-01 12:00:00'
    launcher=()
    wait_stored AlwaysTop False
    quit_by_menu
    [ "$(stored Left) $(stored Top)" = "2400 1920" ] ||
        fail "stored '$(stored Left) $(stored Top)', expected '2400 1920'"
}

# A stored value of 40,000 characters is named in one short line that keeps
# its start and end around a mark.
check_huge_stored_value() {
    start_x
    write_store "Left=12$(head -c 40000 /dev/zero | tr '\0' x)34" Top=2250
    start_app '2003-05-01 12:00:00'
    wait_stored AlwaysTop False
    [ "$(grep -c . "$work/app.err")" = 1 ] || fail "not one warning"
    [ "$(wc -c <"$work/app.err")" -lt 1000 ] || fail "$(wc -c <"$work/app.err") bytes of warning"
    grep -q '"Left" = "12xxx.*xxx…xxx.*xxx34"' "$work/app.err" ||
        fail "the warning does not show the value's ends around a mark"
}

# A store that a person edited: every line the clock does not own survives a
# start and a quit byte for byte, and nothing is called a failed write.
check_hostile_store() {
    start_x
    printf '\xef\xbb\xbf# my clock\n[Other]\nName=caf\xe9 ; Latin-1\n\n[Setting]\n; mine\ngarbage\nFont=Noto Sans, Bold\nLocation=1\nLocation=5\nLeft=1,5\r\n' >"$store"
    start_app '2003-05-01 12:00:00'
    wait_stored AlwaysTop False
    quit_by_menu
    local expected
    expected=$(printf '\xef\xbb\xbf# my clock\n[Other]\nName=caf\xe9 ; Latin-1\n\n[Setting]\n; mine\ngarbage\nFont=Noto Sans, Bold\nLocation=1\nLocation=5\nLeft=2400\r\nAlwaysTop=False\nTop=1920\n' | od -An -c)
    [ "$(od -An -c "$store")" = "$expected" ] || fail "the store changed beyond its own keys"
    ! grep -q 'could not save' "$work/app.err" || fail "a write was called failed"
    grep -q 'line 7' "$work/app.err" || fail "the odd line 7 was not noted"
    grep -q '"Left" = "1,5"' "$work/app.err" || fail "Left=1,5 was not quoted as one text"
    ! grep -q '"Font"' "$work/app.err" || fail "a font name with a comma was called bad"
}

# A file size limit (ulimit -f) makes every write of the store fail; the clock tells each
# key once and runs on, and the store stays as it was.
check_file_size_limit() {
    start_x
    # Past the limit of 1024 bytes, which still leaves room for the warnings.
    write_store "; $(head -c 1100 /dev/zero | tr '\0' x)" Location=3
    local before
    before=$(od -An -c "$store")
    launcher=(bash -c 'ulimit -f 1 && exec "$0"')
    start_app '2003-05-01 12:00:00'
    launcher=()
    expect_design_place
    quit_by_menu 4
    [ "$(od -An -c "$store")" = "$before" ] || fail "the store changed beyond the size limit"
    expect_each_save_told_once "File too large"
    [ "$(ls "$config")" = Soramado.conf ] || fail "left files behind: $(ls "$config")"
}

# A full disk: every write fails, each key is told once, the clock runs and
# quits normally, and the old store is whole. Needs the right to mount.
check_disk_full() {
    mount -t tmpfs -o size=64k tmpfs "$config" 2>/dev/null || {
        echo "skipped [disk_full]: cannot mount a tmpfs here"
        exit 77
    }
    mounted=$config
    write_store Location=3
    local before
    before=$(od -An -c "$store")
    # One page stays free: the lock file can be made, the new store cannot.
    head -c $((56 * 1024)) /dev/zero >"$config/filler" 2>/dev/null || true
    start_x
    start_app '2003-05-01 12:00:00'
    expect_design_place
    quit_by_menu 4
    [ "$(od -An -c "$store")" = "$before" ] || fail "the store changed on a full disk"
    expect_each_save_told_once
    [ -z "$(ls "$config" | grep -v -x -e Soramado.conf -e filler)" ] ||
        fail "left files behind: $(ls "$config")"
}

# ------------------------------------------------ the command line and the one clock

# Runs the program in the foreground with the clock's private environment and
# the given arguments; its exit status in $run_status, its output in
# $work/run.out and $work/run.err.
run_app() {
    run_status=0
    timeout 20 env TZ=Asia/Tokyo XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$work/runtime" \
        XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$work/data" \
        HOME="$work/home" QT_QPA_PLATFORM=xcb "$@" >"$work/run.out" 2>"$work/run.err" ||
        run_status=$?
    [ "$run_status" != 124 ] || fail "$*: still running after 20 s"
}

# Exit status and first line of each answer, without a display; no clock starts.
check_command_line() {
    local -a cases=(
        "--help|0|out|Usage: soramado [OPTION]..."
        "-h|0|out|Usage: soramado [OPTION]..."
        "--version|0|out|Soramado 1.04a (1.4.0.1000)"
        "--bogus|2|err|soramado: unknown option \"--bogus\"; see 'soramado --help'"
        "--bogus value|2|err|soramado: unknown option \"--bogus\"; see 'soramado --help'"
        "-platform xcb --help|0|out|Usage: soramado [OPTION]..."
        "-platform|2|err|soramado: -platform needs a value; see 'soramado --help'"
        "--autostart maybe|2|err|soramado: --autostart takes on or off, not \"maybe\"; see 'soramado --help'"
        "stray|2|err|soramado: unexpected argument \"stray\"; see 'soramado --help'"
    )
    local entry args want_status stream first other
    for entry in "${cases[@]}"; do
        IFS='|' read -r args want_status stream first <<<"$entry"
        # shellcheck disable=SC2086 # $args is a list of words
        run_app env -u DISPLAY -u WAYLAND_DISPLAY "$app" $args
        [ "$run_status" = "$want_status" ] || fail "$args: exit status $run_status, expected $want_status"
        [ "$(head -n 1 "$work/run.$stream")" = "$first" ] ||
            fail "$args: first line on std$stream '$(head -n 1 "$work/run.$stream")', expected '$first'"
        other=err
        [ "$stream" = err ] && other=out
        [ ! -s "$work/run.$other" ] || fail "$args: std$other holds '$(head -n 1 "$work/run.$other")'"
    done
    run_app "$app" --help
    grep -q '^Settings: .*Soramado.conf' "$work/run.out" || fail "--help does not say where the settings live"
    # The man page lists every option the usage names.
    local option options
    options=$(grep -o -E '(^|[ ,])--?[a-z][a-z-]*' "$work/run.out" | tr -d ' ,' | sort -u)
    [ "$(wc -l <<<"$options")" -ge 6 ] || fail "the usage names only: $options"
    for option in $options; do
        grep -qF -- "${option//-/\\-}" "$src/packaging/soramado.1" || fail "the man page does not list $option"
    done
    [ ! -e "$store" ] || fail "a settings store was written"
}

# --autostart on copies the desktop entry into the autostart folder, naming
# the program by its path where the search path does not find it; off removes it.
check_autostart() {
    command -v desktop-file-validate >/dev/null ||
        fail "desktop-file-validate is missing; scripts/setup.sh installs desktop-file-utils"
    local entry=$config/autostart/soramado.desktop source=$src/packaging/soramado.desktop
    mkdir -p "$work/bin"
    ln -s "$(realpath "$app")" "$work/bin/soramado"
    local path
    for path in "$work/bin:$PATH" "$PATH"; do
        PATH=$path run_app "$app" --autostart on
        [ "$run_status" = 0 ] || fail "--autostart on: exit status $run_status: $(cat "$work/run.err")"
        [ "$(head -n 1 "$work/run.out")" = "soramado: starts with the session from now on: $entry" ] ||
            fail "--autostart on said '$(head -n 1 "$work/run.out")'"
        desktop-file-validate "$entry" >"$work/validate.log" 2>&1 ||
            fail "the autostart entry is not valid: $(cat "$work/validate.log")"
        if [ "$path" = "$PATH" ]; then
            [ "$(grep '^Exec=' "$entry")" = "Exec=$(realpath "$app")" ] ||
                fail "off the search path the entry has '$(grep '^Exec=' "$entry")'"
            diff <(grep -v '^Exec=' "$source") <(grep -v '^Exec=' "$entry") >/dev/null ||
                fail "the entry differs from $source beyond its Exec line"
        else
            cmp -s "$source" "$entry" || fail "on the search path the entry is not a copy of $source"
        fi
    done
    run_app "$app" --autostart off
    [ "$run_status" = 0 ] || fail "--autostart off: exit status $run_status"
    [ ! -e "$entry" ] || fail "--autostart off left $entry"
    [ "$(head -n 1 "$work/run.out")" = "soramado: no longer starts with the session; removed $entry" ] ||
        fail "--autostart off said '$(head -n 1 "$work/run.out")'"
    run_app "$app" --autostart off
    [ "$run_status" = 0 ] || fail "a second --autostart off: exit status $run_status"
    [ ! -e "$store" ] || fail "a settings store was written"
}

# The topmost managed window, as the manager stacks them.
top_window() {
    xprop -root _NET_CLIENT_LIST_STACKING | awk -F'[ ,]+' '{ print $NF }'
}

on_top() {
    [ "$(top_window)" = "$1" ]
}

# A second start brings the running clock forward and ends at once, leaving
# the settings alone; a clock killed with SIGKILL does not stop the next
# start. Qt's own options are taken as before.
check_single_clock() {
    need_openbox
    start_x
    start_wm
    launcher=(bash -c 'exec "$0" -style Fusion -name soramado -display "$DISPLAY"')
    start_app '2003-05-01 12:00:00'
    launcher=()
    wait_framed
    wait_stored AlwaysTop False
    local first=$app_pid clock
    clock=$(printf '0x%x' "$wid")
    # Another window over the clock, and active.
    xmessage -geometry 500x400+100+100 'over the clock' >/dev/null 2>&1 &
    started+=($!)
    local until cover=
    until=$(deadline 10)
    until [ -n "$cover" ] && [ "$(top_window)" = "$(printf '0x%x' "$cover")" ]; do
        before "$until" || fail "the covering window did not come up"
        sleep 0.05
        cover=$(xdotool search --onlyvisible --class Xmessage 2>/dev/null | head -n 1 || true)
        [ -z "$cover" ] || xdotool windowactivate "$cover" 2>/dev/null || true
    done
    local kept
    kept=$(stat -c '%Y %s' "$store")-$(md5sum <"$store")
    run_app "$app"
    [ "$run_status" = 0 ] || fail "the second start ended with $run_status: $(cat "$work/run.err")"
    [ ! -s "$work/run.err" ] || fail "the second start said: $(cat "$work/run.err")"
    wait_for 5 on_top "$clock" || fail "the running clock was not raised (top: $(top_window), clock: $clock)"
    [ "$(xdotool search --onlyvisible --name '^Soramado$' | wc -l)" = 1 ] || fail "more than one clock window"
    kill -0 "$first" 2>/dev/null || fail "the first clock ended"
    [ "$(stat -c '%Y %s' "$store")-$(md5sum <"$store")" = "$kept" ] || fail "the second start touched the settings"

    local socket
    socket=$(find "$work/runtime" -type s -name 'soramado-*')
    [ -n "$socket" ] || fail "no socket in the runtime folder"
    kill -9 "$first"
    wait "$first" 2>/dev/null || true
    app_pid=
    [ -S "$socket" ] || fail "the killed clock left no socket to test with"
    start_app '2003-05-01 12:00:00'
    wait_framed
    run_app "$app"
    [ "$run_status" = 0 ] || fail "a start beside the new clock ended with $run_status"
    [ "$(xdotool search --onlyvisible --name '^Soramado$' | wc -l)" = 1 ] || fail "more than one clock window after the restart"
}

e2e_main
