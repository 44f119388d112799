#!/usr/bin/env bash
# Builds the Debian package and checks its control data and contents.
#   package.sh BUILD_DIR VERSION
set -euo pipefail

build=$1
version=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/soramado-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

command -v dpkg-shlibdeps >/dev/null || { echo "FAIL: dpkg-shlibdeps is missing; scripts/setup.sh installs dpkg-dev" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    exit 1
}
deb=$(ls "$work"/soramado_*.deb)
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = soramado ] || fail "package name is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version is $(field Version), not $version"
depends=$(field Depends)
# From the linked libraries, and the X11 plugin that Qt loads at run time.
for package in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6 qt6-qpa-plugins; do
    echo "$depends" | tr ',' '\n' | awk '{ print $1 }' | grep -qxF "$package" ||
        fail "Depends lacks $package: $depends"
done
[ "$(field Recommends)" = "fonts-ipafont-gothic | fonts-noto-cjk" ] ||
    fail "Recommends is '$(field Recommends)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"

dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's|^\./||' >"$work/contents"
for file in usr/bin/soramado usr/bin/soramado-preview usr/share/applications/soramado.desktop \
    usr/share/metainfo/soramado.metainfo.xml usr/share/man/man1/soramado.1 \
    usr/share/icons/hicolor/48x48/apps/soramado.png usr/share/icons/hicolor/192x192/apps/soramado.png; do
    grep -qx "$file" "$work/contents" || fail "the package lacks /$file"
done

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): Depends: $depends"
