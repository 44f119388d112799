#!/usr/bin/env bash
# Makes a Wine prefix show Japanese menu and dialog captions where it has no
# Japanese system fonts: Wine's menu and dialog faces (Tahoma, MS Sans Serif,
# MS Shell Dlg) are linked to IPA P Gothic, which Wine finds through fontconfig
# (Debian's fonts-ipafont-gothic), as a Japanese Windows links its own fonts.
# Works on $WINEPREFIX (~/.wine when unset); a new prefix is made first.
#   scripts/wine-japanese-menus.sh [WINE_PROGRAM]
set -euo pipefail

wine=${1:-wine}
for face in Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2"; do
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$face" /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null
done
