#!/usr/bin/env bash
# Builds everything and runs the whole test suite (the README's test command).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KESTRIX_BUILD_DIR:-build}
cmake -S . -B "$build" -DKESTRIX_WERROR="${KESTRIX_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
