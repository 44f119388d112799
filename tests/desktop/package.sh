#!/usr/bin/env bash
# Builds the Debian package with a plain `cpack` and checks its control data
# and contents; the package is left in OUT_DIR for the lintian check.
#   package.sh BUILD_DIR VERSION OUT_DIR
set -euo pipefail

build=$1
version=$2
out=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/soramado-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

command -v dpkg-shlibdeps >/dev/null || { echo "FAIL: dpkg-shlibdeps is missing; scripts/setup.sh installs dpkg-dev" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
# No generator named: a Linux build makes the Debian package and nothing else.
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    exit 1
}
rm -rf "$out/_CPack_Packages"
made=$(ls "$out")
expected=soramado_${version}_$(dpkg --print-architecture).deb
[ "$made" = "$expected" ] || {
    echo "FAIL: a plain cpack made '$made', not $expected alone" >&2
    exit 1
}
deb=$out/$made
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = soramado ] || fail "package name is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version is $(field Version), not $version"
depends=$(field Depends)
# From the linked libraries, and the X11 plugin that Qt loads at run time.
for package in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6 qt6-qpa-plugins; do
    echo "$depends" | tr ',' '\n' | awk '{ print $1 }' | grep -qxF "$package" ||
        fail "Depends lacks $package: $depends"
done
[ "$(field Recommends)" = "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n" ] ||
    fail "Recommends is '$(field Recommends)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"

# Names only; a link's line ends "name -> target".
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||' >"$work/contents"
for file in usr/bin/soramado usr/bin/soramado-preview usr/share/applications/soramado.desktop \
    usr/share/metainfo/soramado.metainfo.xml usr/share/man/man1/soramado.1.gz \
    usr/share/man/man1/soramado-preview.1.gz usr/share/doc/soramado/copyright \
    usr/share/doc/soramado/changelog.gz \
    usr/share/icons/hicolor/48x48/apps/soramado.png usr/share/icons/hicolor/192x192/apps/soramado.png; do
    grep -qx "$file" "$work/contents" || fail "the package lacks /$file"
done

# The changelog's newest entry is this version; the copyright file carries the licence.
dpkg-deb -x "$deb" "$work/root"
doc=$work/root/usr/share/doc/soramado
[ -f "$doc/changelog.gz" ] && { zcat "$doc/changelog.gz" | head -n 1 | grep -q "^soramado ($version) " ||
    fail "the changelog starts: $(zcat "$doc/changelog.gz" | head -n 1)"; }
[ -f "$doc/copyright" ] && { grep -q "Permission is hereby granted, free of charge" "$doc/copyright" ||
    fail "the copyright file lacks the licence text"; }

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): Depends: $depends"
