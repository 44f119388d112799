#!/bin/sh
# Starts what the Windows unit tests run in: a private X server (their
# windows need a display), a persistent wineserver for the build tree's Wine
# prefix, and the booted prefix, made on the first run.
#   wine-start.sh PREFIX WINE64 WINESERVER
# Leaves PREFIX.display (the display) and PREFIX.xvfb (Xvfb's process id);
# PREFIX.home is the home every Wine program of the tests gets.
set -eu
prefix=$1 wine=$2 server=$3
. "$(dirname "$0")/wine-home.sh"
private_home "$prefix.home"
export WINEPREFIX="$prefix" WINEDEBUG=-all
mkdir -p "$prefix"
rm -f "$prefix.display"
# Detached, as all below: they keep running after this script and must not
# hold CTest's pipe.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$prefix.display" \
    </dev/null >/dev/null 2>&1 &
echo $! >"$prefix.xvfb"
i=0
until grep -q '[0-9]' "$prefix.display" 2>/dev/null; do
    i=$((i + 1))
    [ $i -lt 200 ] || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
export DISPLAY=":$(head -n 1 "$prefix.display")"
"$server" -p </dev/null >/dev/null 2>&1 || true # may be up already
"$wine" wineboot -i </dev/null >"$prefix.boot.log" 2>&1 || {
    cat "$prefix.boot.log" >&2
    exit 1
}
# Also mends a prefix made before the tests had a home of their own.
own_user_folders "$prefix"
echo "Wine prefix ready: $prefix on $DISPLAY"
