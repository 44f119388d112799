#!/bin/sh
# Whether the Windows tests left the real user's home alone: where Wine's menu
# builder and a prefix's user folders would write, nothing new or changed.
#   real-home.sh snapshot FILE   lists those places (names, sizes, times)
#   real-home.sh compare FILE    fails naming what is new or changed since
# Reads only; HOME and XDG_* are the ones CTest was started with.
set -eu
action=$1 list=$2
data=${XDG_DATA_HOME:-$HOME/.local/share}
config=${XDG_CONFIG_HOME:-$HOME/.config}

listing() {
    for place in "$data/applications" "$data/icons" "$data/mime" "$data/desktop-directories" \
        "$config/menus" "$HOME/Desktop" "$HOME/.wine"; do
        [ -e "$place" ] && find "$place" -printf '%p %s %T@\n'
    done | LC_ALL=C sort
    return 0
}

case $action in
snapshot)
    listing >"$list"
    echo "real home listed: $(wc -l <"$list") entries under $HOME"
    ;;
compare)
    [ -f "$list" ] || { echo "no snapshot at $list" >&2; exit 1; }
    listing >"$list.now"
    new=$(LC_ALL=C comm -13 "$list" "$list.now")
    rm -f "$list.now"
    if [ -n "$new" ]; then
        echo "FAIL: the tests wrote into the real home ($HOME):" >&2
        echo "$new" >&2
        exit 1
    fi
    echo "ok: nothing new in the real home"
    ;;
*)
    echo "usage: real-home.sh snapshot|compare FILE" >&2
    exit 2
    ;;
esac
