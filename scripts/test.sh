#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
build=${KESTRIX_BUILD_DIR:-build}
cmake -S . -B "$build" -DKESTRIX_WERROR="${KESTRIX_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"

# A short fuzz pass over the readers of user-written text, built with clang's libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer in a build tree of its own.
# KESTRIX_FUZZ_SECONDS sets the time per harness; 0 leaves the pass out.
fuzz_seconds=${KESTRIX_FUZZ_SECONDS:-20}
if [ "$fuzz_seconds" != 0 ]; then
  fuzz_build=${KESTRIX_FUZZ_BUILD_DIR:-build-fuzz}
  cmake -S . -B "$fuzz_build" -DCMAKE_CXX_COMPILER=clang++ -DKESTRIX_FUZZ=ON -DKESTRIX_FUZZ_SECONDS="$fuzz_seconds" \
        -DKESTRIX_BUILD_TESTS=OFF -DKESTRIX_BUILD_BENCH=OFF -DKESTRIX_BUILD_WIZARD=OFF \
        -DKESTRIX_WERROR="${KESTRIX_WERROR:-OFF}" >/dev/null
  cmake --build "$fuzz_build" -j"$(nproc)" --target kestrix_fuzzers
  ctest --test-dir "$fuzz_build" -L fuzz --output-on-failure -j"$(nproc)"
fi
