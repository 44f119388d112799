#!/usr/bin/env bash
# Builds the clock and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
soramado_install "${SORAMADO_PACKAGES[@]}"
cmake --preset default >/dev/null
cmake --build --preset default --target soramado -j"$(nproc)"
exec ./build/default/src/qt/soramado "$@"
