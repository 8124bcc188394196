#!/usr/bin/env bash
# Installs what the build needs on Debian 12 (when run as root) and builds
# Tandor into build/. A normal user is shown the one apt-get line to run.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  # address-book passwords in the desktop's secret store, and its test
  qtkeychain-qt6-dev gnome-keyring dbus
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-open-sans
  poppler-utils
  # the label-template library: its sheets are offered beside the built-in ones
  glabels-data
  cups printer-driver-cups-pdf
  # the CardDAV test servers (scripts/dav-test-servers.sh)
  radicale xandikos curl python3
  # a certificate made at test time for the sync windows' TLS test (scripts/dav-tls-front.py)
  openssl
  xvfb openbox
  # a desktop's fonts, for the real-window check under each "monospace"
  # (tests/realwindows/font-profiles.sh): Noto Sans Mono, DejaVu Sans Mono,
  # Nimbus Mono PS and the fallback fonts a printing desktop brings along
  fonts-noto-mono fonts-dejavu fonts-urw-base35 fonts-droid-fallback
  clang libclang-rt-14-dev
  # the icons, the Debian package and its checks (scripts/check-package.sh)
  librsvg2-bin dpkg-dev file desktop-file-utils appstream man-db
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "Tandor needs some Debian packages. Run this once, then run this command again:"
    echo
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}"
    echo
    exit 1
  fi
fi

BUILD_DIR=${BUILD_DIR:-build}
# BUILD_TYPE=Release builds without debug information (scripts/run.sh, for a
# new build folder); the tests are built RelWithDebInfo.
BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
JOBS=$(nproc 2>/dev/null || echo 2)
# A new build folder is made for Ninja; one made before keeps its generator.
export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Ninja}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE="$BUILD_TYPE" "$@" > /dev/null
# BUILD_TARGETS="a b" builds only those targets (scripts/run.sh: the program).
if [ -n "${BUILD_TARGETS:-}" ]; then
    # shellcheck disable=SC2086
    cmake --build "$BUILD_DIR" -j"$JOBS" --target $BUILD_TARGETS
else
    cmake --build "$BUILD_DIR" -j"$JOBS"
fi
