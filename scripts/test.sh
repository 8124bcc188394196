#!/usr/bin/env bash
# Sets up and builds Tandor, runs the whole test suite, then runs it again
# under AddressSanitizer and UndefinedBehaviorSanitizer in a second build folder,
# then builds the fuzz targets with clang and runs each for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
JOBS=$(nproc 2>/dev/null || echo 2)

bash scripts/setup.sh
(cd build && ctest --output-on-failure -j"$JOBS")

echo "== The installation: desktop entry, metainfo, manual pages, Debian package =="
bash scripts/check-package.sh

echo "== The suite again under AddressSanitizer and UndefinedBehaviorSanitizer =="
BUILD_DIR=build-asan bash scripts/setup.sh -DTANDOR_SANITIZE=ON -DTANDOR_BUILD_BENCH=OFF
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
(cd build-asan && ctest --output-on-failure -j"$JOBS")

echo "== The fuzz targets, briefly (bash scripts/fuzz.sh --minutes 10 is the long run) =="
bash scripts/fuzz.sh --seconds "${FUZZ_SECONDS:-30}" --jobs "$JOBS"
