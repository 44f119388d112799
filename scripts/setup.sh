#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the clock
# need, when they are missing. Sourced by run.sh and test.sh.
set -euo pipefail

SORAMADO_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev libstb-dev
    fonts-ipafont-gothic fonts-noto-cjk
    qt6-translations-l10n # Qt's own dialogs (the font chooser) in the user's language
    libxdamage-dev # the idle bench times each second on screen from X damage
)
# Only what the end-to-end tests drive the real program with.
# xwd (x11-apps) dumps the screen, python3 reads the dump, wmctrl sends a
# close request, tzdata gives the Tokyo time zone, DejaVu is the one face of
# the desktop without a Japanese font.
SORAMADO_E2E_PACKAGES=(xvfb xdotool faketime imagemagick x11-utils x11-apps openbox wmctrl python3 tzdata
    fonts-dejavu-core)
# The install and package checks: the desktop entry and AppStream validators,
# the manual page renderer, dpkg-shlibdeps (with file, which cpack needs
# to find the binaries) for the package's dependencies, and Debian's package
# checker.
SORAMADO_E2E_PACKAGES+=(desktop-file-utils appstream groff-base dpkg-dev file lintian)

# The Windows program: the MinGW-w64 cross compiler (-posix threads), GoogleTest's
# sources to build for it, Wine (64-bit only) to run its tests and the
# program, NSIS for its installer, and faces with the metrics of Times New
# Roman and Arial for the version window, which Wine does not bring.
SORAMADO_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix googletest wine wine64 nsis unzip fonts-liberation)

soramado_install() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
