#!/usr/bin/env bash
# Installs the build into a private prefix and checks what a desktop finds
# there: programs, desktop entry, icons, AppStream data and manual page.
#   install.sh BUILD_DIR VERSION
set -euo pipefail

build=$1
version=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/soramado-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

for tool in desktop-file-validate appstreamcli groff convert compare; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; scripts/setup.sh installs it" >&2; exit 1; }
done

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
    cat "$work/install.log" >&2
    exit 1
}

share=$prefix/share
for file in bin/soramado bin/soramado-preview \
    share/applications/soramado.desktop share/metainfo/soramado.metainfo.xml \
    share/man/man1/soramado.1.gz share/man/man1/soramado-preview.1.gz \
    share/doc/soramado/copyright share/doc/soramado/changelog.gz \
    share/icons/hicolor/48x48/apps/soramado.png share/icons/hicolor/96x96/apps/soramado.png \
    share/icons/hicolor/192x192/apps/soramado.png; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
for program in soramado soramado-preview; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done

# The installed preview tool works on its own.
answer=$("$prefix/bin/soramado-preview" --city 2 --at "2003-05-01 17:50:30" 2>&1) ||
    fail "the installed soramado-preview failed: $answer"
[ "$answer" = "2003-05-01 17:50:30 city=2 sunrise=5:18:24 sunset=18:03:36 phase=4 stars=9" ] ||
    fail "the installed soramado-preview answered: $answer"

desktop=$share/applications/soramado.desktop
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
grep -qx 'Categories=Utility;Clock;' "$desktop" || fail "the desktop entry is not in Utility and Clock"
for key in 'Name' 'Name\[ja\]' 'Comment' 'Comment\[ja\]'; do
    grep -q "^$key=." "$desktop" || fail "the desktop entry has no $key"
done
grep -qx 'Icon=soramado' "$desktop" || fail "the desktop entry names another icon"
grep -qx 'Exec=soramado' "$desktop" || fail "the desktop entry starts another program"

metainfo=$share/metainfo/soramado.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || {
    cat "$work/appstream.log" >&2
    fail "the AppStream data does not validate"
}
grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the AppStream data does not name release $version"
grep -q '<project_license>MIT</project_license>' "$metainfo" ||
    fail "the AppStream data does not name the MIT licence"
grep -q '<launchable type="desktop-id">soramado.desktop</launchable>' "$metainfo" ||
    fail "the AppStream data does not launch soramado.desktop"

# PNG width and height, from the header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 "x" $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }'
}
icons=$share/icons/hicolor
[ "$(png_size "$icons/48x48/apps/soramado.png")" = 48x48 ] || fail "the 48 × 48 icon is $(png_size "$icons/48x48/apps/soramado.png")"
for factor in 2 4; do
    size=$((48 * factor))
    icon=$icons/${size}x$size/apps/soramado.png
    [ -f "$icon" ] || continue
    [ "$(png_size "$icon")" = "${size}x$size" ] || fail "the $size icon is $(png_size "$icon")"
    # Every pixel of the small icon is an even block in the large one.
    convert "$icons/48x48/apps/soramado.png" -sample "$((factor * 100))%" "$work/expected$size.png"
    differ=$(compare -metric AE "$work/expected$size.png" "$icon" null: 2>&1 || true)
    [ "$differ" = 0 ] || fail "the $size icon differs from the 48 icon enlarged by blocks in $differ pixels"
done

# The manual page renders without complaints and documents every option of
# the preview tool and the version.
man1=$share/man/man1
page=$work/soramado.1
zcat "$man1/soramado.1.gz" >"$page"
groff -k -man -Tutf8 -ww -z "$page" 2>"$work/groff.log"
[ ! -s "$work/groff.log" ] || {
    cat "$work/groff.log" >&2
    fail "the manual page has warnings"
}
[ "$(readlink "$man1/soramado-preview.1.gz")" = soramado.1.gz ] ||
    fail "soramado-preview.1.gz does not lead to soramado.1.gz"
grep -q "Soramado $version" "$page" || fail "the manual page does not name version $version"
options=$("$prefix/bin/soramado-preview" --help 2>&1 | grep -o -- '--[a-z]\+' | sort -u)
[ -n "$options" ] || fail "soramado-preview --help names no options"
for option in $options; do
    grep -q -- "${option//-/\\\\-}" "$page" || fail "the manual page does not document $option"
done

[ "$failures" -eq 0 ] || exit 1
echo "installed and checked under $prefix"
