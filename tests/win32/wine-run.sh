#!/bin/sh
# Runs one Windows test program under Wine on wine-start.sh's display.
#   wine-run.sh PREFIX WINE64 PROGRAM [ARGS...]
prefix=$1 wine=$2
shift 2
. "$(dirname "$0")/wine-home.sh"
private_home "$prefix.home"
DISPLAY=":$(head -n 1 "$prefix.display")"
export DISPLAY
exec "$wine" "$@"
