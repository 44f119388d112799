#!/usr/bin/env bash
# Checks the package that desktop.package built with lintian, Debian's own
# package checker: no error and no warning.
#   lintian.sh DEB_DIR
set -euo pipefail

command -v lintian >/dev/null || { echo "FAIL: lintian is missing; scripts/setup.sh installs it" >&2; exit 1; }
deb=$(ls "$1"/soramado_*.deb 2>/dev/null | head -n 1 || true)
[ -n "$deb" ] || { echo "FAIL: no package in $1; desktop.package makes it" >&2; exit 1; }

# Lintian complains about being run as root (as CI does) on stderr; that line
# is no finding about the package. Info tags are shown but pass.
status=0
report=$(lintian --display-info --fail-on error,warning "$deb" 2>&1) || status=$?
report=$(echo "$report" | grep -v -x 'running with root privileges is not recommended!' || true)
if [ "$status" -ne 0 ]; then
    echo "FAIL: lintian finds errors or warnings in $(basename "$deb"):" >&2
    echo "$report" >&2
    exit 1
fi
[ -z "$report" ] || echo "$report"
echo "$(basename "$deb"): lintian finds no error and no warning"
