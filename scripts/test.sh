#!/usr/bin/env bash
# Builds everything and runs every test; exits non-zero when anything fails.
#   scripts/test.sh          unit and end-to-end tests
#   scripts/test.sh --asan   the unit tests under AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

preset=default
[ "${1:-}" = "--asan" ] && preset=asan

soramado_install "${SORAMADO_PACKAGES[@]}" "${SORAMADO_E2E_PACKAGES[@]}"
cmake --preset "$preset"
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
