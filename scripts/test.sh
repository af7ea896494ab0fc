#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
build=${KESTRIX_BUILD_DIR:-build}
# The tests spend their time in the compilers they probe, not in Kestrix: a lightly optimised
# build without debug information is the quickest to make.
# The configuration's messages stay visible, and a machine without Qt fails here instead of
# passing without the wizard's tests (KESTRIX_REQUIRE_WIZARD=OFF accepts that on purpose).
cmake -S . -B "$build" -DKESTRIX_WERROR="${KESTRIX_WERROR:-OFF}" \
      -DKESTRIX_REQUIRE_WIZARD="${KESTRIX_REQUIRE_WIZARD:-ON}" \
      -DCMAKE_BUILD_TYPE="${KESTRIX_BUILD_TYPE:-Release}" -DCMAKE_CXX_FLAGS_RELEASE=-O1
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
# The byte-for-byte comparison of the fast and plain methods on the slower real compilers
# (label "exact") takes minutes; KESTRIX_EXACT=1 adds it. The analysers on whole code trees
# (label "analysers-trees") take minutes too; KESTRIX_TREES=1 adds them.
skipped=()
[ "${KESTRIX_EXACT:-0}" = 1 ] || skipped+=(exact)
[ "${KESTRIX_TREES:-0}" = 1 ] || skipped+=(analysers-trees)
skip=()
if [ ${#skipped[@]} -gt 0 ]; then
  skip=(-LE "$(IFS='|'; echo "${skipped[*]}")")
fi
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "${skip[@]}" "$@"

# A short fuzz pass over the readers of user-written text, built with clang's libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer in a build tree of its own.
# KESTRIX_FUZZ_SECONDS sets the time per harness (default 8); 0 leaves the pass out.
fuzz_seconds=${KESTRIX_FUZZ_SECONDS:-8}
if [ "$fuzz_seconds" != 0 ]; then
  fuzz_build=${KESTRIX_FUZZ_BUILD_DIR:-build-fuzz}
  # The wizard's library is built there too, for the harness of its settings reader.
  cmake -S . -B "$fuzz_build" -DCMAKE_CXX_COMPILER=clang++ -DKESTRIX_FUZZ=ON -DKESTRIX_FUZZ_SECONDS="$fuzz_seconds" \
        -DKESTRIX_BUILD_TESTS=OFF -DKESTRIX_BUILD_BENCH=OFF -DKESTRIX_BUILD_WIZARD=ON \
        -DKESTRIX_WERROR="${KESTRIX_WERROR:-OFF}"
  cmake --build "$fuzz_build" -j"$(nproc)" --target kestrix_fuzzers
  ctest --test-dir "$fuzz_build" -L fuzz --output-on-failure -j"$(nproc)"
fi
