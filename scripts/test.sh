#!/usr/bin/env bash
# Builds everything and runs every test; exits non-zero when anything fails.
#   scripts/test.sh          unit and end-to-end tests; under CI (CI=true) the
#                            sanitizer pass below as well
#   scripts/test.sh --asan   the unit tests under AddressSanitizer and UBSan
#                            (LeakSanitizer included; tests/lsan.supp lists the
#                            leaks that belong to Qt and fontconfig themselves)
#   scripts/test.sh --windows  only the Windows program: cross-built, its unit
#                            and e2e-windows tests under Wine
# Without --asan the Windows program is built and tested after the Linux one.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

presets=(default windows)
if [ "${1:-}" = "--asan" ]; then
    presets=(asan)
elif [ "${1:-}" = "--windows" ]; then
    presets=(windows)
elif [ "${CI:-}" = true ]; then
    # A full sanitizer build and run takes minutes on CI's two cores, well
    # inside its time, and finds what the plain build cannot.
    presets=(default asan windows)
fi

soramado_install "${SORAMADO_PACKAGES[@]}" "${SORAMADO_E2E_PACKAGES[@]}" \
    "${SORAMADO_WINDOWS_PACKAGES[@]}"
for preset in "${presets[@]}"; do
    echo "== $preset"
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j"$(nproc)"
    ctest --preset "$preset" -j"$(nproc)"
done
