#!/usr/bin/env bash
# The core and everything that tests it or builds on it alone must run
# without Qt: no binary given here may need a Qt library.
set -u
failures=0
for binary in "$@"; do
    needed=$(readelf -d "$binary" 2>/dev/null | grep NEEDED) || {
        echo "FAIL: cannot read $binary"
        failures=$((failures + 1))
        continue
    }
    if grep -qi 'libQt' <<<"$needed"; then
        echo "FAIL: $(basename "$binary") needs $(grep -oi 'libQt[^]]*' <<<"$needed" | tr '\n' ' ')"
        failures=$((failures + 1))
    fi
done
[ $failures -eq 0 ] && echo "no Qt in $# binaries"
exit $((failures > 0))
