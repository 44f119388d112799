#!/bin/sh
# Ends what wine-start.sh started.
#   wine-stop.sh PREFIX WINESERVER
prefix=$1 server=$2
WINEPREFIX="$prefix" "$server" -k </dev/null >/dev/null 2>&1
if [ -f "$prefix.xvfb" ]; then
    kill "$(cat "$prefix.xvfb")" 2>/dev/null
    rm -f "$prefix.xvfb" "$prefix.display"
fi
exit 0
