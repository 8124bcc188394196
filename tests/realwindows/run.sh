#!/usr/bin/env bash
# The real-window check: the program's windows on an X display (Xvfb) under a
# window manager (openbox), at scale 1 on a 1366 x 768 screen and at scale 1.5
# on a 1920 x 1080 screen. Screenshots of every window and dialog go to
# SHOTS/scale-1 and SHOTS/scale-1.5.
#   bash tests/realwindows/run.sh build/tests/check_real_windows build/window-check
set -u
check=$1
shots=$2
for tool in Xvfb openbox; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed (scripts/setup.sh installs it)"
    [ "${CI:-}" = true ] && exit 1  # in CI the check must run
    echo "check skipped"
    exit 77
  fi
done
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

status=0
run_at() {
  local scale=$1 size=$2 name=$3
  : >"$work/display"
  # -displayfd picks a free display number, so parallel runs do not meet.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  local xvfb=$!
  pids+=("$xvfb")
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start:"; cat "$work/xvfb.log"; status=1; return
  fi
  local display=":$(head -n1 "$work/display")"
  DISPLAY=$display openbox --sm-disable >"$work/openbox.log" 2>&1 &
  local wm=$!
  pids+=("$wm")
  sleep 1
  mkdir -p "$shots/$name" "$work/config" "$work/runtime"
  chmod 700 "$work/runtime"
  rm -f "$shots/$name"/*.png
  echo "== scale $scale, screen $size, display $display"
  # No desktop launcher on purpose: help and look-ups must say so on screen.
  env -u BROWSER -u DEFAULT_BROWSER DISPLAY="$display" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" \
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" PATH=/nonexistent \
    TANDOR_SHOTS="$shots/$name" "$check" || status=1
  kill "$wm" "$xvfb" 2>/dev/null
  wait "$wm" "$xvfb" 2>/dev/null
}

run_at 1 1366x768 scale-1
run_at 1.5 1920x1080 scale-1.5
echo "screenshots: $shots"
exit $status
