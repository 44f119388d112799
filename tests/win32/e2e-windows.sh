#!/usr/bin/env bash
# Drives the real soramado.exe under Wine as a person would: on a private X
# server, at a faked moment in Tokyo, in a fresh Wine prefix, and checks what
# is seen (screenshots), what the window is (the probe) and what is stored
# (wine reg query). Each check is one check_NAME function below; CMake makes
# one test of each (`e2e-windows.sh --list` names them).
#   e2e-windows.sh prepare   EXE PROBE SOURCE_DIR TEMPLATE   makes the prefix to copy
#   e2e-windows.sh CHECK     EXE PROBE SOURCE_DIR TEMPLATE
# Environment: SORAMADO_WINE64, SORAMADO_WINESERVER (from CMake), and for the
# installer check SORAMADO_CPACK and SORAMADO_BUILD_DIR.
set -euo pipefail

suite=e2e-windows
check=${1:-}
exe=${2:-}
probe_exe=${3:-}
src=${4:-}
template=${5:-}
# shellcheck source=../support/e2e.sh
source "$(dirname "$0")/../support/e2e.sh"
# shellcheck source=wine-home.sh
source "$(dirname "$0")/wine-home.sh"

wine=${SORAMADO_WINE64:-/usr/lib/wine/wine64}
wineserver=${SORAMADO_WINESERVER:-wineserver}
setting='HKCU\Software\Soramado\Setting'
# Wine's menu builder off: nothing of the tests may reach the user's desktop menus.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINELOADER=$wine \
    WINESERVER=$wineserver

# ---------------------------------------------------------------- the driver

# Every check runs in a fresh prefix on its own X server, with a home of its
# own and no menu builder: nothing reaches the real desktop.
e2e_setup() {
    need_tools Xvfb xdotool xwd python3 convert
    [ -x "$wine" ] || fail "no Wine at $wine; scripts/setup.sh installs wine64"
    private_home "$work/home"
    fresh_prefix
    start_x
}

driver_stop() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        "$wineserver" -k >/dev/null 2>&1 || true
    fi
}

driver_diagnose() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        echo "--- registry:"
        wine_quiet reg query "$setting" || true
        echo "--- main window:"
        probe Soramado SoramadoMain || true
    fi
}

# Output goes through a file, never a pipe: a Wine service that the command
# starts (wineserver, explorer, services) inherits its streams and outlives
# it, and a reader of a pipe would wait for that service to end.
wine_quiet() {
    local status=0
    "$wine" "$@" </dev/null >"$work/wine.out" 2>>"$work/wine.log" || status=$?
    tr -d '\r' <"$work/wine.out"
    return $status
}

probe() {
    wine_quiet "$probe_exe" "$@"
}

# A Unix path as Windows programs see it (Z: is the root).
winepath_of() {
    local path
    path=$(realpath "$1")
    echo "Z:${path//\//\\}"
}

# The value of one key of the probe's output.
field() {
    sed -n "s/^$1=//p" | head -n 1
}

# The data of one registry value (a DWORD as 0x...); nothing when it is missing.
reg_value() {
    { wine_quiet reg query "$1" /v "$2" 2>/dev/null || true; } |
        awk -v k="$2" '$1 == k && $2 ~ /^REG_/ { $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}

stored() {
    reg_value "$setting" "$1"
}

store_text() {
    wine_quiet reg add "$setting" /v "$1" /t REG_SZ /d "$2" /f >/dev/null
}

# The template prefix: booted once per run, with Japanese menus.
prepare() {
    private_home "$work/home"
    rm -rf "$template" "$template.new"
    export WINEPREFIX=$template.new
    "$wine" wineboot -i </dev/null >"$work/wine.log" 2>&1 || {
        cat "$work/wine.log" >&2
        exit 1
    }
    # Wine's menu font has no Japanese: the link to IPA P Gothic that the
    # README gives users, too.
    bash "$src/scripts/wine-japanese-menus.sh" "$wine" </dev/null >"$work/wine.out" 2>>"$work/wine.log" ||
        fail "the font link failed: $(cat "$work/wine.log")"
    wine_quiet reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
    "$wineserver" -w </dev/null >/dev/null 2>&1
    mv "$template.new" "$template"
    unset WINEPREFIX
    echo "ok [prepare]: $template"
}

# A fresh prefix: the template's large DLL folders shared as hard links (Wine
# only reads them), everything else copied, the registry above all.
fresh_prefix() {
    [ -f "$template/system.reg" ] || fail "no template prefix at $template (e2e-windows.prepare makes it)"
    export WINEPREFIX=$work/prefix
    cp -al "$template" "$WINEPREFIX"
    (cd "$template" && find . -type f ! -path './drive_c/windows/system32/*' \
        ! -path './drive_c/windows/syswow64/*' ! -path './drive_c/windows/winsxs/*' -print0) |
        while IFS= read -r -d '' file; do
            cp --remove-destination -p "$template/$file" "$WINEPREFIX/$file"
        done
    # The user's folders (Desktop, Documents, …) link into the HOME of the
    # prefix's making: into this check's own instead.
    local link
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
        [ ! -L "$link" ] || ln -sfn "$HOME" "$link"
    done
    # One server for the whole check, detached from this script's streams.
    "$wineserver" -p </dev/null >/dev/null 2>&1 || true
}

main_info() {
    running || fail "soramado.exe ended before its window showed"
    info=$(probe Soramado SoramadoMain || true)
    [ "$(field visible <<<"$info")" = 1 ]
}

painted() {
    xwd -root -silent >"$work/shot.xwd" && python3 "$pixels" painted "$work/shot.xwd" "$cx" "$cy" "$cw" "$ch"
}

# Starts the clock at a moment of Tokyo time and waits until it is painted;
# its client area is then at cx, cy (cw × ch).
start_app() {
    local moment=$1 lib info
    lib=$(faketime_lib)
    [ -n "$lib" ] || fail "libfaketime is missing; scripts/setup.sh installs faketime"
    rm -f "$work/app.out" "$work/app.err"
    # NO_FAKE_STAT: with faked file times Wine takes the prefix for outdated
    # and spends seconds updating it.
    env TZ=Asia/Tokyo LD_PRELOAD="$lib" FAKETIME="@$moment" NO_FAKE_STAT=1 \
        "$wine" "$exe" </dev/null >"$work/app.out" 2>"$work/app.err" &
    app_pid=$!
    started+=("$app_pid")
    wait_until 30 "no visible Soramado window within 30 s" main_info
    read -r cx cy cw ch < <(field client <<<"$info")
    # Unusable settings are told in a message that may cover the window.
    wait_until 15 "the window was not painted within 15 s" painted_or_told
}

painted_or_told() {
    painted || [ "$(report_box | field found)" = 1 ]
}

client_geometry() {
    probe Soramado SoramadoMain | field client
}

# The view is at client (4, 2).
view_origin() {
    echo $((cx + 4)) $((cy + 2))
}

menus_open() {
    probe --count '#32768' | field visible
}

# How many pixels of one colour a client rectangle shows.
count_colour() {
    local x=$1 y=$2 w=$3 h=$4 colour=$5
    xwd -root -silent >"$work/shot.xwd"
    convert "xwd:$work/shot.xwd" -crop "${w}x${h}+$((cx + x))+$((cy + y))" +repage \
        -fill black +opaque "$colour" -fill white -opaque "$colour" -format '%[fx:round(mean*w*h)]' info:
}

# A client rectangle of a fresh screenshot as a picture file.
crop_client() {
    xwd -root -silent >"$work/shot.xwd"
    convert "xwd:$work/shot.xwd" -crop "${3}x${4}+$((cx + $1))+$((cy + $2))" +repage "$5"
}

# ---------------------------------------------------------------- the checks

check_window_place() {
    start_app '2003-05-01 12:00:00'
    local info
    info=$(probe Soramado SoramadoMain)
    [ "$(field client <<<"$info")" = "160 128 169 172" ] ||
        fail "client area '$(field client <<<"$info")', expected '160 128 169 172'"
    [ "$(field toolwindow <<<"$info")" = 1 ] || fail "not a tool window (it would show in the taskbar)"
    grep -qx 'caption=1 sysmenu=1 thickframe=0 minimizebox=0 maximizebox=0' <<<"$info" ||
        fail "frame styles: $(grep '^caption=' <<<"$info")"
    [ "$(field topmost <<<"$info")" = 0 ] || fail "topmost without being asked"
    [ "$(field dpi_awareness <<<"$info")" = 2 ] ||
        fail "DPI awareness $(field dpi_awareness <<<"$info"), expected per monitor (2) from the manifest"
    local version
    version=$(probe --version "$(winepath_of "$exe")")
    [ "$(field fixed <<<"$version")" = 1.4.0.1000 ] || fail "file version '$(field fixed <<<"$version")'"
    [ "$(field FileVersion <<<"$version")" = 1.04.1000 ] || fail "shown version '$(field FileVersion <<<"$version")'"
    [ "$(field icon48 <<<"$version")" = 1 ] || fail "no 48 × 48 icon in the program file"
    # Wine draws the frame itself on a bare X server: the X window is the frame.
    local frame xgeo
    frame=$(field frame <<<"$info")
    xgeo=$(xdotool search --name '^Soramado$' getwindowgeometry --shell 2>/dev/null |
        awk -F= '/^X=/ { x = $2 } /^Y=/ { y = $2 } /^WIDTH=/ { w = $2 } /^HEIGHT=/ { h = $2 }
                 END { print x, y, w, h }')
    [ "$xgeo" = "$frame" ] || fail "X window at '$xgeo', Windows frame at '$frame'"
}

check_noon_scene() {
    start_app '2003-05-01 12:00:00'
    local result
    result=$(look_clear same 3) || fail "day scene: $result"
    stop_app
    start_app '2003-05-01 23:30:00'
    result=$(look_clear same 6) || fail "night scene: $result"
}

check_evening_stars() {
    start_app '2003-05-01 17:50:30'
    local stars
    stars=$(look_clear stars 4) || fail "evening scene: $stars"
    case "$stars" in
    9 | 8) ;;
    *) fail "$stars stars in the evening sky, expected 9" ;;
    esac
}

check_weekday_colours() {
    local day red blue
    # The weekday label: client (128, 124), 36 × 16.
    for day in '2003-05-04 Sunday' '2003-05-03 Saturday' '2003-05-01 Thursday'; do
        start_app "${day% *} 12:00:00"
        red=$(count_colour 128 124 36 16 '#FF0000')
        blue=$(count_colour 128 124 36 16 '#0000FF')
        case "${day#* }" in
        Sunday) [ "$red" -gt 10 ] && [ "$blue" = 0 ] || fail "Sunday: $red red, $blue blue pixels" ;;
        Saturday) [ "$blue" -gt 10 ] && [ "$red" = 0 ] || fail "Saturday: $red red, $blue blue pixels" ;;
        *) [ "$red" = 0 ] && [ "$blue" = 0 ] || fail "Thursday: $red red, $blue blue pixels" ;;
        esac
        stop_app
    done
}

check_visitor_key() {
    start_app '2003-05-01 12:00:00'
    expect_visitor_key 2
}

check_menu_clicks() {
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
    # The time label and the date line are no place for the menu.
    xdotool mousemove $((cx + 84)) $((cy + 155)) click 1
    xdotool mousemove $((cx + 30)) $((cy + 130)) click 3
    sleep 0.8
    [ "$(menus_open)" = 0 ] || fail "a click on the labels opened a menu"
}

check_city_by_keys() {
    start_app '2003-05-01 12:00:00'
    choose_city o
    wait_stored Location 3
    # The check mark moved: the submenu opened again shows 大阪; Escape leaves it.
    choose_city t 3
    wait_stored Location 2
}

check_always_on_top() {
    start_app '2003-05-01 12:00:00'
    wait_stored AlwaysTop False
    local frame
    frame=$(probe Soramado SoramadoMain | field frame)
    toggle_on_top
    wait_stored AlwaysTop True
    [ "$(probe Soramado SoramadoMain | field topmost)" = 1 ] || fail "no WS_EX_TOPMOST after the command"
    [ "$(probe Soramado SoramadoMain | field frame)" = "$frame" ] || fail "the window moved"
    toggle_on_top
    wait_stored AlwaysTop False
    [ "$(probe Soramado SoramadoMain | field topmost)" = 0 ] || fail "WS_EX_TOPMOST stays after the second toggle"
    # A stored True makes the next start topmost.
    stop_app
    store_text AlwaysTop True
    start_app '2003-05-01 12:00:00'
    [ "$(probe Soramado SoramadoMain | field topmost)" = 1 ] || fail "not topmost at a start with AlwaysTop=True"
}

# The frame's place in twips, as Left and Top should hold it.
expected_twips() {
    probe Soramado SoramadoMain | field frame | awk '{ print $1 * 15, $2 * 15 }'
}

check_quit_command() {
    start_app '2003-05-01 12:00:00'
    local want
    want=$(expected_twips)
    quit_by_menu
    [ "$(stored Left) $(stored Top)" = "$want" ] || fail "Left/Top '$(stored Left) $(stored Top)', expected '$want'"
    # The next start puts the frame back there.
    start_app '2003-05-01 12:00:00'
    [ "$(expected_twips)" = "$want" ] || fail "the next start is at '$(expected_twips)', not '$want'"
}

check_close_box() {
    # Somewhere else than the design place, so that the stored place is the window's own.
    store_text Left 3000
    store_text Top 2250
    start_app '2003-05-01 12:00:00'
    local info want
    info=$(probe Soramado SoramadoMain)
    [ "$(field frame <<<"$info" | cut -d' ' -f1-2)" = "200 150" ] ||
        fail "frame at '$(field frame <<<"$info")' for Left=3000 Top=2250, expected 200 150"
    want=$(expected_twips)
    local bx by
    read -r bx by < <(field closebox <<<"$info")
    xdotool mousemove "$bx" "$by" click 1
    wait_exit 5 || fail "still running 5 s after a click on the close box at $bx,$by"
    [ "$app_status" = 0 ] || fail "exit status $app_status after the close box"
    [ "$(stored Left) $(stored Top)" = "$want" ] || fail "Left/Top '$(stored Left) $(stored Top)', expected '$want'"
}

# The time label changes within 3 s; WHERE says when, in the failure.
expect_time_runs() {
    local where=$1 until
    crop_client 4 140 162 29 "$work/time1.png"
    until=$(deadline 3)
    until crop_client 4 140 162 29 "$work/time2.png" &&
        [ "$(compare -metric AE "$work/time1.png" "$work/time2.png" null: 2>&1 || true)" != 0 ]; do
        before "$until" || fail "the time stands still $where"
        sleep 0.2
    done
}

# Waits up to SECONDS until the window titled TITLE of class CLASS is open
# (WANT 1) or gone (WANT 0); WHAT names it in the failure.
wait_window_found() {
    local title=$1 class=$2 want=$3 seconds=$4 what=$5 until
    until=$(deadline "$seconds")
    while [ "$(probe "$title" "$class" | field found)" != "$want" ]; do
        before "$until" || fail "$what is $( [ "$want" = 1 ] && echo not) open"
        sleep 0.1
    done
}

wait_font_dialog() {
    wait_window_found 'フォントの変更' '#32770' "$1" 8 "the font dialog"
}

# What the font dialog opens on: the face list (cmb1, id 1136) has FACE
# selected, the style list (cmb2) bold, the size list (cmb3) 20; the face list
# holds no "@" face.
expect_dialog_opens_on() {
    local want=$1 info face style size
    sleep 0.5
    info=$(probe 'フォントの変更' '#32770')
    face=$(sed -n 's/^items=1136|[^|]*|[^|]*|//p' <<<"$info")
    style=$(sed -n 's/^items=1137|[^|]*|[^|]*|//p' <<<"$info")
    size=$(sed -n 's/^items=1138|[^|]*|[^|]*|//p' <<<"$info")
    [ "$face" = "$want" ] || fail "the font dialog opens on '$face', expected '$want': $(grep -E "^(child=(ComboBox|Edit)|items=)" <<<"$info")"
    case "$style" in Bold | 太字) ;; *) fail "the font dialog opens on the style '$style', not bold" ;; esac
    [ "$size" = 20 ] || fail "the font dialog opens at '$size' pt, expected 20"
    local items
    items=$(grep '^items=1136|' <<<"$info" | cut -d'|' -f2-3)
    [ "${items%|*}" -gt 0 ] || fail "the face list is empty"
    [ "${items#*|}" = 0 ] || fail "the face list holds ${items#*|} vertical (@) faces"
}

# The face the time is drawn with when the stored one is missing: the first of
# the clock's fallbacks that Wine finds on this system.
drawn_fallback() {
    local face
    for face in 'MS Gothic' IPAGothic 'VL Gothic' 'Noto Sans Mono CJK JP' 'Takao Gothic' Meiryo \
        'Yu Gothic' IPAPGothic; do
        if fc-list ":family=$face" family | grep -q .; then
            echo "$face"
            return
        fi
    done
}

# The font dialog opens with the clock's own title on the face the time is
# drawn with, bold, 20 pt, also when the stored face is not installed; Cancel
# changes and stores nothing; a face typed and taken is stored, and the next
# dialog opens on it.
check_font_dialog() {
    local fallback
    fallback=$(drawn_fallback)
    [ -n "$fallback" ] || fail "none of the clock's fallback faces is installed (fonts-ipafont-gothic)"
    store_text Font 'No Such Face Soramado'
    start_app '2003-05-01 12:00:00'
    open_menu
    xdotool key f
    wait_font_dialog 1
    expect_dialog_opens_on "$fallback"
    [ "$(probe Soramado SoramadoMain | field enabled)" = 0 ] || fail "the clock takes input under the font dialog"
    xdotool key Escape
    wait_font_dialog 0
    sleep 0.3
    [ "$(stored Font)" = 'No Such Face Soramado' ] || fail "Cancel stored Font '$(stored Font)'"
    open_menu
    xdotool key f
    wait_font_dialog 1
    # The face box has the focus: replace its text and take it.
    xdotool key ctrl+a
    xdotool type --delay 20 'Liberation Mono'
    xdotool key Return
    wait_font_dialog 0
    wait_stored Font 'Liberation Mono'
    open_menu
    xdotool key f
    wait_font_dialog 1
    expect_dialog_opens_on 'Liberation Mono'
    xdotool key Escape
    wait_font_dialog 0
}

# Log-off or shutdown: Wine's wineboot --end-session sends WM_QUERYENDSESSION
# and WM_ENDSESSION to every window, as Windows does.
check_end_session() {
    start_app '2003-05-01 12:00:00'
    local want
    want=$(expected_twips)
    [ -z "$(stored Left)" ] || fail "Left stored before the session ended"
    # Twice, as a session manager may ask again: saved once, ended once.
    wine_quiet wineboot --end-session >/dev/null
    wine_quiet wineboot --end-session >/dev/null
    wait_stored Left "${want% *}"
    wait_stored Top "${want#* }"
    # Wine's end of the session leaves processes running: the clock ends itself.
    wait_exit 10 || fail "still running 10 s after the end of the session"
    [ "$app_status" = 0 ] || fail "exit status $app_status after the end of the session"
}

# The message that tells what start-up could not read: a dialog titled
# Soramado, owned by the clock window.
report_box() {
    probe Soramado '#32770'
}

wait_report_box() {
    wait_window_found Soramado '#32770' "$1" 10 "the start-up message"
}

# Closes the start-up message with its OK button, as a person would.
close_report_box() {
    local x y w h
    read -r x y w h < <(report_box | sed -n 's/^child=Button|[^|]*|\([^|]*\)|id=1|.*/\1/p')
    [ -n "$h" ] || fail "the start-up message has no OK button: $(report_box | grep '^child=')"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
    wait_report_box 0
    wait_until 15 "the window was not painted within 15 s of the message's end" painted
}

# The message's text, on one line.
report_text() {
    report_box | sed -n 's/^child=Static|\([^|]*\)|.*/\1/p' | grep -v '^$' | head -n 1
}

# A user who starts the clock from Explorer sees no stderr: every setting that
# start-up could not use is told once, together, in one message over the
# shown clock window, and the clock runs on behind it with the defaults.
check_startup_message() {
    store_text Location x
    store_text Left 3000
    store_text Top abc
    wine_quiet reg add "$setting" /v AlwaysTop /t REG_DWORD /d 1 /f >/dev/null
    start_app '2003-05-01 12:00:00'
    wait_report_box 1
    local info text part
    info=$(report_box)
    [ "$(field owner_class <<<"$info")" = SoramadoMain ] ||
        fail "the message's owner is '$(field owner_class <<<"$info")', not the clock window"
    [ "$(probe --count '#32770' | field visible)" = 1 ] || fail "more than one message at start-up"
    text=$(report_text)
    for part in 'Location の値 "x"' '東京' 'Top の値 "abc"' 'AlwaysTop の値を読めません' \
        'HKEY_CURRENT_USER\Software\Soramado\Setting'; do
        grep -qF "$part" <<<"$text" || fail "the message does not say '$part': $text"
    done
    ! grep -q 'Left' <<<"$text" || fail "the usable Left is told as a problem: $text"
    # The clock goes on with the defaults: at its design place, not topmost,
    # and its time runs (Wine puts the message over the time label: after it).
    design_place || fail "with bad settings the window is not at its design place"
    [ "$(probe Soramado SoramadoMain | field topmost)" = 0 ] || fail "topmost from an unreadable AlwaysTop"
    close_report_box
    expect_time_runs "after the start-up message"
    [ "$(report_box | field found)" = 0 ] || fail "the start-up message came back"
    running || fail "the clock ended with its start-up message"
    grep -q 'Location' "$work/app.err" || fail "stderr lost the warning: $(cat "$work/app.err")"
    stop_app
    # A start with usable settings tells nothing.
    wine_quiet reg delete "$setting" /f >/dev/null
    store_text Location 5
    store_text Left 3000
    store_text Top 2250
    store_text AlwaysTop True
    start_app '2003-05-01 12:00:00'
    sleep 1.5
    [ "$(report_box | field found)" = 0 ] || fail "a message at a start with usable settings: $(report_text)"
}

# Each bad value alone: the clock still starts at its design place with the
# day scene, and the message and the warning name the key.
check_bad_registry() {
    local case key value result
    for case in 'Location=x' 'Location=6' 'Location=-1' 'Location=' 'Left=abc' 'Top=1e99' \
        'AlwaysTop=maybe' 'Location=dword' 'Left=300000'; do
        key=${case%%=*}
        value=${case#*=}
        wine_quiet reg delete "$setting" /f >/dev/null 2>&1 || true
        if [ "$value" = dword ]; then
            wine_quiet reg add "$setting" /v "$key" /t REG_DWORD /d 3 /f >/dev/null
        else
            store_text "$key" "$value"
        fi
        case $key in
        Left) store_text Top 300000 ;;
        Top) store_text Left 3000 ;;
        esac
        start_app '2003-05-01 12:00:00'
        if [ "$case" != 'Left=300000' ]; then
            wait_report_box 1
            grep -q "$key の値" <<<"$(report_text)" || fail "with $case the message does not name $key: $(report_text)"
            close_report_box
        fi
        result=$(look_clear same 3) || fail "day scene with $case: $result"
        wait_for 3 design_place || fail "with $case the window is not at its design place"
        if [ "$case" != 'Left=300000' ]; then
            grep -q "$key" "$work/app.err" || fail "with $case no warning names $key"
        fi
        stop_app
    done
}

check_version_window() {
    start_app '2003-05-01 12:00:00'
    local info main
    for close_key in Return space; do
        open_menu
        xdotool key v
        local until
        until=$(deadline 5)
        until [ "$(probe 'バージョン情報' SoramadoVersion | field visible)" = 1 ]; do
            before "$until" || fail "no version window within 5 s"
            sleep 0.1
        done
        info=$(probe 'バージョン情報' SoramadoVersion)
        main=$(probe Soramado SoramadoMain)
        grep -q '^child=Static|ver.1.04a|' <<<"$info" || fail "no ver.1.04a: $(grep '^child=' <<<"$info")"
        grep -q '^child=Button|OK|.*|focus=1$' <<<"$info" || fail "OK has no focus: $(grep '^child=' <<<"$info")"
        [ "$(field owner_enabled <<<"$info")" = 0 ] || fail "the main window takes input while the version window is open"
        [ "$(field client <<<"$info" | cut -d' ' -f3-)" = "196 137" ] || fail "client size $(field client <<<"$info")"
        [ "$(field toolwindow <<<"$info")" = 1 ] || fail "the version window is no tool window"
        # Centred over the main window's frame, give or take a pixel of rounding.
        awk -v a="$(field frame <<<"$info")" -v b="$(field frame <<<"$main")" 'BEGIN {
            split(a, v, " "); split(b, m, " ");
            dx = (v[1] + v[3] / 2) - (m[1] + m[3] / 2); dy = (v[2] + v[4] / 2) - (m[2] + m[4] / 2);
            exit !(dx * dx <= 1 && dy * dy <= 1) }' || fail "not centred: $(field frame <<<"$info") over $(field frame <<<"$main")"
        # OK's light-green face and labVer's light-yellow background, at their places.
        local vx vy green yellow
        read -r vx vy _ < <(field client <<<"$info")
        green=$(count_colour $((vx - cx + 55)) $((vy - cy + 106)) 82 27 '#C0FFC0')
        yellow=$(count_colour $((vx - cx + 42)) $((vy - cy + 41)) 104 19 '#FFFFC0')
        [ "$green" -gt 1000 ] || fail "OK shows only $green light-green pixels"
        [ "$yellow" -gt 1000 ] || fail "the version text's background has only $yellow light-yellow pixels"
        # The clock ticks on behind it: the time label changes.
        expect_time_runs "behind the version window"
        xdotool key "$close_key"
        until=$(deadline 5)
        while [ "$(probe 'バージョン情報' SoramadoVersion | field found)" = 1 ]; do
            before "$until" || fail "$close_key did not close the version window"
            sleep 0.1
        done
        [ "$(probe Soramado SoramadoMain | field enabled)" = 1 ] || fail "the main window stays disabled"
    done
}

# ------------------------------------------------ the command line and the one clock

# Runs soramado.exe in the foreground with ARGS; its exit status in
# $run_status, its output in $work/run.out and $work/run.err (CRLF made LF).
run_exe() {
    run_status=0
    timeout 30 "$wine" "$exe" "$@" </dev/null >"$work/run.crlf.out" 2>"$work/run.crlf.err" ||
        run_status=$?
    [ "$run_status" != 124 ] || fail "soramado.exe $*: still running after 30 s"
    tr -d '\r' <"$work/run.crlf.out" >"$work/run.out"
    tr -d '\r' <"$work/run.crlf.err" >"$work/run.err"
}

clock_windows() {
    probe --count SoramadoMain | field visible
}

box_shows() {
    [ "$(probe Soramado '#32770' | field found)" = 1 ]
}

# Exit status and first line of each answer on the streams the program was
# given; no clock starts and nothing is stored. Started through the shell
# (as from Explorer), the answer comes in a message box.
check_command_line() {
    local -a cases=(
        "--help|0|out|Usage: soramado [OPTION]..."
        "-h|0|out|Usage: soramado [OPTION]..."
        "--version|0|out|Soramado 1.04a (1.4.0.1000)"
        "--bogus|2|err|soramado: unknown option \"--bogus\"; see 'soramado --help'"
        "--bogus value|2|err|soramado: unknown option \"--bogus\"; see 'soramado --help'"
        "--autostart on|2|err|soramado: unknown option \"--autostart\"; see 'soramado --help'"
        "stray|2|err|soramado: unexpected argument \"stray\"; see 'soramado --help'"
    )
    local entry args want_status stream first other
    for entry in "${cases[@]}"; do
        IFS='|' read -r args want_status stream first <<<"$entry"
        # shellcheck disable=SC2086 # $args is a list of words
        run_exe $args
        [ "$run_status" = "$want_status" ] || fail "$args: exit status $run_status, expected $want_status"
        [ "$(head -n 1 "$work/run.$stream")" = "$first" ] ||
            fail "$args: first line on std$stream '$(head -n 1 "$work/run.$stream")', expected '$first'"
        other=err
        [ "$stream" = err ] && other=out
        [ ! -s "$work/run.$other" ] || fail "$args: std$other holds '$(head -n 1 "$work/run.$other")'"
    done
    run_exe --help
    grep -q '^Settings: .*HKEY_CURRENT_USER\\Software\\Soramado' "$work/run.out" ||
        fail "--help does not say where the settings live"

    for entry in "--version|0|Soramado 1.04a (1.4.0.1000)" \
        "--bogus|2|soramado: unknown option \"--bogus\"; see 'soramado --help'"; do
        IFS='|' read -r args want_status first <<<"$entry"
        # Through the shell, as from Explorer: no streams and no console. (A
        # Unix start with closed streams is no likeness: Wine reuses the fds.)
        "$wine" start /wait /unix "$exe" "$args" </dev/null >"$work/start.out" 2>"$work/start.err" &
        app_pid=$!
        started+=("$app_pid")
        wait_until 30 "$args from the shell: no message box" box_shows
        probe Soramado '#32770' | grep -qF "child=Static|$first|" ||
            fail "$args: the box says $(probe Soramado '#32770' | grep '^child=Static|')"
        xdotool key Return
        wait_exit 10 || fail "$args: still running 10 s after the box was answered"
        [ "$app_status" = "$want_status" ] || fail "$args: exit status $app_status from the box, expected $want_status"
    done
    [ "$(clock_windows)" = 0 ] || fail "a clock window opened"
    [ -z "$(stored AlwaysTop)" ] || fail "a setting was stored"
}

notepad_on_top() {
    [ "$(probe 'Untitled - Notepad' | field raised)" = 1 ]
}

clock_gone() {
    [ "$(clock_windows)" = 0 ]
}

# A second start brings the running clock forward (raised, in the foreground,
# seen on the screen) and ends at once, reading no setting; a clock killed
# outright does not stop the next start.
check_single_clock() {
    start_app '2003-05-01 12:00:00'
    wait_stored AlwaysTop False
    local first=$app_pid result info
    # Another program's window over the clock, and in the foreground.
    "$wine" notepad </dev/null >/dev/null 2>>"$work/wine.log" &
    started+=($!)
    wait_until 30 "Notepad did not come up over the clock" notepad_on_top
    ! result=$(look same 3) || fail "the clock shows although Notepad covers it"
    # A second start that read the settings would tell of this value on stderr.
    store_text AlwaysTop unreadable
    run_exe
    [ "$run_status" = 0 ] || fail "the second start ended with $run_status: $(cat "$work/run.err")"
    [ ! -s "$work/run.err" ] || fail "the second start said: $(cat "$work/run.err")"
    [ "$(clock_windows)" = 1 ] || fail "$(clock_windows) clock windows after the second start"
    info=$(probe Soramado SoramadoMain)
    [ "$(field raised <<<"$info")" = 1 ] || fail "the running clock was not raised (above it: $(field above <<<"$info"))"
    [ "$(field foreground <<<"$info")" = 1 ] || fail "the running clock is not in the foreground"
    result=$(look_clear same 3) || fail "the raised clock does not show on the screen: $result"
    running || fail "the first clock ended"
    [ "$(stored AlwaysTop)" = unreadable ] || fail "the second start stored AlwaysTop '$(stored AlwaysTop)'"

    store_text AlwaysTop False
    kill -9 "$first"
    wait "$first" 2>/dev/null || true
    app_pid=
    wait_until 10 "the killed clock's window stayed" clock_gone
    start_app '2003-05-01 12:00:00'
    run_exe
    [ "$run_status" = 0 ] || fail "a start beside the new clock ended with $run_status"
    [ "$(clock_windows)" = 1 ] || fail "$(clock_windows) clock windows after the restart"
}

# At 192 dpi (Wine's LogPixels) everything doubles: the client area, its
# design place, and each pixel of the picture becomes a 2 × 2 block. At 144
# dpi the layout grows by half.
check_hidpi() {
    wine_quiet reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d 192 /f >/dev/null
    start_app '2003-05-01 12:00:00'
    local client
    client=$(probe Soramado SoramadoMain | field client)
    [ "$client" = "320 256 338 344" ] || fail "client area '$client' at 192 dpi, expected '320 256 338 344'"
    xwd -root -silent >"$work/shot.xwd"
    convert "xwd:$work/shot.xwd" -crop "320x240+$((cx + 8))+$((cy + 4))" +repage "$work/view.png"
    convert "$work/view.png" -sample 160x120 "$work/small.png"
    convert "$work/small.png" -sample 320x240 "$work/blocks.png"
    local differ
    differ=$(compare -metric AE "$work/view.png" "$work/blocks.png" null: 2>&1 || true)
    [ "$differ" = 0 ] || fail "$differ pixels of the view are not part of 2 × 2 blocks"
    differ=$(compare -metric AE "$work/small.png" "$src/src/assets/view/3.png" null: 2>&1 || true)
    [ "$differ" = 0 ] || fail "the view at half size differs from the day scene in $differ pixels"
    # At 144 dpi the layout grows by half; the picture fills its 240 × 180 place.
    stop_app
    wine_quiet reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
    start_app '2003-05-01 12:00:00'
    client=$(probe Soramado SoramadoMain | field client)
    [ "$client" = "240 192 254 258" ] || fail "client area '$client' at 144 dpi, expected '240 192 254 258'"
    local pink
    pink=$(count_colour 6 3 240 180 '#FFB0D8')
    [ "$pink" = 0 ] || fail "$pink pink pixels in the picture's place at 144 dpi"
}

# ------------------------------------------------------------ the installer

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Soramado'

# Makes the installer from this build: $installer. Sets where it installs for
# the prefix's user: $install_win (as Windows names it), $install_dir and
# $shortcut (Unix paths).
make_installer() {
    local cpack=${SORAMADO_CPACK:-cpack} build=${SORAMADO_BUILD_DIR:?}
    command -v makensis >/dev/null || fail "makensis is missing; scripts/setup.sh installs nsis"
    "$cpack" -G NSIS --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
        fail "cpack failed: $(tail -n 20 "$work/cpack.log")"
    installer=$(ls "$work"/package/*.exe 2>/dev/null | head -n 1)
    [ -f "$installer" ] || fail "no installer made"
    # (cmd's echo would keep the quotes Wine puts around an argument with spaces.)
    install_win="$(wine_quiet cmd /c echo %LOCALAPPDATA%)\Programs\Soramado"
    install_dir=$(wine_quiet winepath -u "$install_win")
    shortcut=$(wine_quiet winepath -u "$(wine_quiet cmd /c echo %APPDATA%)\Microsoft\Windows\Start Menu\Programs\Soramado.lnk")
    [ -n "$install_dir" ] && [ -n "$shortcut" ] || fail "no per-user folders in the prefix"
}

install_quietly() {
    local status=0
    wine_quiet "$installer" /S "$@" >/dev/null || status=$?
    [ "$status" = 0 ] || fail "the silent install $* ended with status $status;" \
        "installed: $(ls "$install_dir" 2>&1 | tr '\n' ' '); Wine said: $(tail -n 5 "$work/wine.log")"
    [ -f "$install_dir/soramado.exe" ] || fail "nothing installed in $install_win"
}

# Runs the uninstaller the way the user's installed apps do, silently, and
# waits until its entry and folder are gone. (NSIS's uninstaller runs from a
# copy in %TEMP%: the program started returns at once.)
uninstall_quietly() {
    local quiet
    quiet=$(reg_value "$uninstall_key" QuietUninstallString)
    [[ $quiet =~ ^\"([^\"]+)\"\ (.*)$ ]] || fail "QuietUninstallString '$quiet'"
    wine_quiet "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]} >/dev/null
    local until
    until=$(deadline 30)
    while [ -e "$install_dir" ] || [ -n "$(reg_value "$uninstall_key" DisplayName)" ]; do
        before "$until" || fail "30 s after uninstalling: $(ls "$install_dir" 2>&1 | tr '\n' ' ')"
        sleep 0.2
    done
}

# The keys of HKEY_LOCAL_MACHINE and every line there that names Soramado,
# sorted; left out are the few keys Wine itself rewrites for each display,
# network card and device.
hklm_keys() {
    wine_quiet reg export HKLM "$(winepath_of "$work")\\hklm.reg" /y >/dev/null ||
        fail "reg export HKLM failed"
    iconv -f UTF-16 -t UTF-8 "$work/hklm.reg" | tr -d '\r' >"$work/hklm.txt"
    {
        grep '^\[' "$work/hklm.txt" | grep -Ev '\\(NetworkCards|Video|Enum|DeviceClasses)(\\|\])'
        grep -i soramado "$work/hklm.txt" || true
    } | LC_ALL=C sort -u >"$1"
}

hklm_unchanged_since() {
    hklm_keys "$work/hklm.now"
    local new
    new=$(LC_ALL=C comm -13 "$1" "$work/hklm.now")
    [ -z "$new" ] || fail "$2 wrote under HKEY_LOCAL_MACHINE: $new"
}

# The manifest asks Windows to run the program as the user who starts it,
# without elevation.
as_invoker() {
    local level
    level=$(grep -a -o 'requestedExecutionLevel level="[A-Za-z]*"' "$1" | sort -u)
    [ "$level" = 'requestedExecutionLevel level="asInvoker"' ] ||
        fail "$(basename "$1") asks for '${level:-no level}', not asInvoker"
}

run_value_is() {
    local value
    value=$(reg_value "$run_key" Soramado)
    [ "$value" = "$1" ] || fail "Run value '$value' $2, expected '$1'"
}

# /S with the defaults: everything in the user's own places, nothing under
# HKEY_LOCAL_MACHINE; the uninstaller takes all of it back but the settings.
check_installer() {
    make_installer
    as_invoker "$installer"
    # The first program with windows makes Wine write its display's keys
    # under HKEY_LOCAL_MACHINE: the probe does that before the list is taken.
    probe --count SoramadoMain >/dev/null
    local hklm_before=$work/hklm.before
    hklm_keys "$hklm_before"
    install_quietly
    local file
    for file in soramado.exe Uninstall.exe README.txt LICENSE.txt; do
        [ -f "$install_dir/$file" ] || fail "no $file in $install_win"
    done
    as_invoker "$install_dir/Uninstall.exe"
    [ -f "$shortcut" ] || fail "no shortcut in the user's Start menu"
    local shared
    shared=$(find "$WINEPREFIX/drive_c/ProgramData" "$WINEPREFIX/drive_c/Program Files" \
        "$WINEPREFIX/drive_c/users/Public" -iname '*soramado*' 2>/dev/null)
    [ -z "$shared" ] || fail "installed for all users: $shared"
    local version name want entry
    version=$(probe --version "$(winepath_of "$install_dir/soramado.exe")" | field fixed)
    while IFS='|' read -r name want; do
        entry=$(reg_value "$uninstall_key" "$name")
        [ "$entry" = "$want" ] || fail "uninstall entry $name is '$entry', expected '$want'"
    done <<ENTRY
DisplayName|Soramado
DisplayVersion|$version
Publisher|The Soramado developers
DisplayIcon|$install_win\\soramado.exe,0
InstallLocation|$install_win
UninstallString|"$install_win\\Uninstall.exe"
QuietUninstallString|"$install_win\\Uninstall.exe" /S
NoModify|0x1
NoRepair|0x1
ENTRY
    # In kilobytes, as the installed files add up (give or take their rounding).
    local size files
    size=$(($(reg_value "$uninstall_key" EstimatedSize)))
    files=$(du -sk --apparent-size "$install_dir" | cut -f1)
    [ $((size * 10)) -ge $((files * 9)) ] && [ $((size * 10)) -le $((files * 11)) ] ||
        fail "EstimatedSize $size KB for $files KB of files"
    run_value_is "\"$install_win\\soramado.exe\"" "after a default install"
    hklm_unchanged_since "$hklm_before" "the installer"

    exe="$install_dir/soramado.exe"
    start_app '2003-05-01 12:00:00'
    toggle_on_top
    wait_stored AlwaysTop True
    quit_by_menu

    uninstall_quietly
    [ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu shortcut"
    run_value_is "" "after uninstalling"
    [ "$(stored AlwaysTop)" = True ] || fail "uninstalling removed the user's settings"
    hklm_unchanged_since "$hklm_before" "installing and uninstalling"
}

# The ZIP holds the program, the read-me and the project's licence, byte for byte.
check_zip() {
    local cpack=${SORAMADO_CPACK:-cpack} build=${SORAMADO_BUILD_DIR:?} zip
    need_tools unzip
    "$cpack" -G ZIP --config "$build/CPackConfig.cmake" -B "$work/zip" >"$work/cpack.log" 2>&1 ||
        fail "cpack failed: $(tail -n 20 "$work/cpack.log")"
    zip=$(find "$work/zip" -maxdepth 1 -name '*.zip' | head -n 1)
    [ -f "$zip" ] || fail "no ZIP made"
    local names
    names=$(unzip -Z1 "$zip" | sed 's|^[^/]*/||' | LC_ALL=C sort | tr '\n' ' ')
    [ "$names" = "LICENSE.txt README.txt soramado.exe " ] || fail "the ZIP holds: $names"
    unzip -p "$zip" '*/LICENSE.txt' | cmp -s - "$src/LICENSE" || fail "LICENSE.txt is not the root LICENSE"
}

# Waits for the installer's page whose heading is $1; its controls in $page.
wait_setup_page() {
    local until
    until=$(deadline 20)
    until page=$(probe - '#32770') && grep -qF "child=Static|$1|" <<<"$page"; do
        before "$until" || fail "no setup page '$1'; the setup shows: $(grep '^child=Static|.' <<<"$page" | head -n 3)"
        sleep 0.2
    done
}

# The installer as a person clicks through it, taking each page's defaults:
# the licence is the project's, the folder the user's own, the sign-in start
# on, and the last page starts the clock.
check_installer_pages() {
    make_installer
    "$wine" "$installer" </dev/null >"$work/setup.out" 2>&1 &
    started+=($!)
    wait_setup_page 'License Agreement'
    grep -Eq '^child=RichEdit20W\|MIT License(\\n)*Copyright \(c\) [0-9]+ The Soramado developers(\\n)*Permission is hereby granted' \
        <<<"$page" || fail "the licence page shows: $(grep '^child=RichEdit' <<<"$page")"
    xdotool key Return
    wait_setup_page 'Choose Components'
    xdotool key Return
    wait_setup_page 'Choose Install Location'
    grep -qF "child=Edit|$install_win|" <<<"$page" || fail "the folder offered: $(grep '^child=Edit' <<<"$page")"
    xdotool key Return
    wait_setup_page 'Completing Soramado Setup'
    grep -q '^child=Button|Start Soramado now|.*|focus=1$' <<<"$page" || fail "no 'Start Soramado now'"
    run_value_is "\"$install_win\\soramado.exe\"" "with the pages' defaults"
    xdotool key Return
    local until
    until=$(deadline 20)
    until [ "$(probe Soramado SoramadoMain | field visible)" = 1 ]; do
        before "$until" || fail "Finish did not start the clock"
        sleep 0.2
    done
}

# /NOAUTOSTART leaves the sign-in start out, and an update with it takes back
# the start an earlier install set.
check_installer_no_autostart() {
    make_installer
    local options want
    while read -r options want; do
        [ "$options" = - ] && options=
        install_quietly $options
        case $want in
        set) run_value_is "\"$install_win\\soramado.exe\"" "after /S $options" ;;
        none) run_value_is "" "after /S $options" ;;
        esac
    done <<'STEPS'
/NOAUTOSTART none
- set
/NOAUTOSTART none
STEPS
}

# The uninstaller closes a running clock as its close box does: the clock
# saves its place and ends, and then its program file goes too.
check_uninstall_running() {
    make_installer
    install_quietly /NOAUTOSTART
    exe="$install_dir/soramado.exe"
    start_app '2003-05-01 12:00:00'
    local want
    want=$(expected_twips)
    [ -z "$(stored Left)" ] || fail "Left stored before the uninstall"
    uninstall_quietly
    wait_exit 5 || fail "the clock still runs after the uninstall"
    [ "$app_status" = 0 ] || fail "exit status $app_status when the uninstaller closed the clock"
    [ "$(stored Left) $(stored Top)" = "$want" ] ||
        fail "Left/Top '$(stored Left) $(stored Top)' after the uninstall, expected '$want'"
}

if [ "$check" = prepare ]; then
    e2e_begin
    prepare
else
    e2e_main
fi
