#!/bin/sh
# Starts a persistent wineserver for the build tree's Wine prefix and boots
# the prefix, creating it on the first run.
#   wine-start.sh PREFIX WINE64 WINESERVER
set -eu
prefix=$1 wine=$2 server=$3
export WINEPREFIX="$prefix" WINEDEBUG=-all
mkdir -p "$prefix"
# Detached: both keep running after this script, and must not hold CTest's pipe.
"$server" -p </dev/null >/dev/null 2>&1 || true # may be up already
"$wine" wineboot -i </dev/null >"$prefix.boot.log" 2>&1 || {
    cat "$prefix.boot.log" >&2
    exit 1
}
echo "Wine prefix ready: $prefix"
