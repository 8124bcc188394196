#!/usr/bin/env bash
# Sets up and builds Tandor, runs the whole test suite, then runs it again
# under AddressSanitizer and UndefinedBehaviorSanitizer in a second build folder,
# then builds the fuzz targets with clang and runs each for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
JOBS=$(nproc 2>/dev/null || echo 2)

bash scripts/setup.sh

# A private print server with a PDF queue for the tests that print through
# --printer (they read its address from the environment). Without root it
# cannot start; those tests then say why and skip, except in CI.
cups_dir=""
dav_dir=""
stop_test_servers() {
  if [ -n "$cups_dir" ]; then bash scripts/cups-test-server.sh stop "$cups_dir" || true; fi
  if [ -n "$dav_dir" ]; then bash scripts/dav-test-servers.sh stop "$dav_dir" || true; fi
}
trap stop_test_servers EXIT
if cups_env=$(bash scripts/cups-test-server.sh start 2> build/cups-test-server.err); then
  eval "$cups_env"
  export TANDOR_CUPS_DIR TANDOR_CUPS_SERVER TANDOR_CUPS_PRINTER TANDOR_CUPS_PDF_DIR TANDOR_CUPS_EDGE_PRINTERS
  cups_dir=$TANDOR_CUPS_DIR
else
  TANDOR_CUPS_MISSING=$(cat build/cups-test-server.err)
  export TANDOR_CUPS_MISSING
  echo "== No private print server: $TANDOR_CUPS_MISSING =="
fi

# Two private CardDAV servers, Radicale and Xandikos, on free ports of
# 127.0.0.1, for the tests of the address-book sync (both test runs use them).
# A server that cannot start leaves TANDOR_<NAME>_MISSING: its tests say why
# and skip, except in CI.
if dav_env=$(bash scripts/dav-test-servers.sh start 2> build/dav-test-servers.err); then
  eval "$dav_env"
  dav_dir=$TANDOR_DAV_DIR
  export TANDOR_DAV_DIR TANDOR_DAV_USER TANDOR_DAV_PASSWORD
  export TANDOR_RADICALE_URL TANDOR_RADICALE_BOOK TANDOR_RADICALE_MISSING
  export TANDOR_XANDIKOS_URL TANDOR_XANDIKOS_OPEN_URL TANDOR_XANDIKOS_BOOK TANDOR_XANDIKOS_MISSING
  [ -z "${TANDOR_RADICALE_MISSING:-}" ] || echo "== No Radicale test server: $TANDOR_RADICALE_MISSING =="
  [ -z "${TANDOR_XANDIKOS_MISSING:-}" ] || echo "== No Xandikos test server: $TANDOR_XANDIKOS_MISSING =="
else
  TANDOR_RADICALE_MISSING=$(cat build/dav-test-servers.err)
  TANDOR_XANDIKOS_MISSING=$TANDOR_RADICALE_MISSING
  export TANDOR_RADICALE_MISSING TANDOR_XANDIKOS_MISSING
  echo "== No CardDAV test servers: $TANDOR_RADICALE_MISSING =="
fi

(cd build && ctest --output-on-failure -j"$JOBS")

echo "== The desktop font profile: the real windows under each \"monospace\", and without the desktop fonts =="
bash tests/realwindows/font-profiles.sh build

echo "== The installation: desktop entry, metainfo, manual pages, Debian package =="
bash scripts/check-package.sh

echo "== The suite again under AddressSanitizer and UndefinedBehaviorSanitizer =="
# The help documents are the same as in build/: they are copied, not made again.
BUILD_DIR=build-asan bash scripts/setup.sh -DTANDOR_SANITIZE=ON -DTANDOR_BUILD_BENCH=OFF \
  -DTANDOR_DOCUMENTS_FROM="$PWD/build/bin"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The kill test stops the batch tool with SIGKILL and checks the files and the
# server afterwards: it finds nothing under the sanitizers that the plain run
# does not, and takes minutes there.
(cd build-asan && ctest --output-on-failure -j"$JOBS" -E '^sync_kill$')

echo "== The fuzz targets, briefly (bash scripts/fuzz.sh --minutes 10 is the long run) =="
bash scripts/fuzz.sh --seconds "${FUZZ_SECONDS:-30}" --jobs "$JOBS"
