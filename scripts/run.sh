#!/usr/bin/env bash
# Builds the clock and starts it.
#   scripts/run.sh             the Linux (Qt) program
#   scripts/run.sh --windows   the Windows program, cross-built, under Wine on
#                              the current display (in $WINEPREFIX, or ~/.wine)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
if [ "${1:-}" = "--windows" ]; then
    shift
    soramado_install "${SORAMADO_PACKAGES[@]}" "${SORAMADO_WINDOWS_PACKAGES[@]}"
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target soramado -j"$(nproc)"
    wine=/usr/lib/wine/wine64
    [ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
    export WINEDEBUG=${WINEDEBUG:--all}
    exec "$wine" ./build/windows/src/win32/soramado.exe "$@"
fi
soramado_install "${SORAMADO_PACKAGES[@]}"
cmake --preset default >/dev/null
cmake --build --preset default --target soramado -j"$(nproc)"
exec ./build/default/src/qt/soramado "$@"
