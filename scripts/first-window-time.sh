#!/usr/bin/env bash
# Times what a new user waits for: a fresh clone of this repository, then
# `bash scripts/run.sh` until Tandor's main window is on the screen. Prints the
# wall-clock time and the processor time (user + system) spent on the way.
#
#   bash scripts/first-window-time.sh [REVISION] [DISPLAY]   (default HEAD :62)
#
# Needs Xvfb and xdotool (installed here when missing, as root). The clone is built without ccache, as a new user's is.
set -euo pipefail
if ! command -v xdotool >/dev/null; then
    if [ "$(id -u)" -eq 0 ]; then
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends xdotool >/dev/null
    else
        echo "This needs xdotool: sudo apt-get install xdotool" >&2
        exit 1
    fi
fi
rev=${1:-HEAD}
display=${2:-:62}
src=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$src" rev-parse "$rev")
work=$(mktemp -d /var/tmp/tandor-first-window.XXXXXX)
trap 'rm -rf "$work"' EXIT

git clone -q --no-checkout "$src" "$work/tandor"
git -C "$work/tandor" checkout -q "$commit"

Xvfb "$display" -screen 0 1600x1000x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1

# The children's user + system time as `times` reports it. `times` must run in
# this shell (not in a command substitution, whose children are its own).
cpu_seconds() {
    times >"$work/times"
    tail -n 1 "$work/times" | awk '{
        s = 0
        for (i = 1; i <= 2; i++) { split($i, p, "m"); sub("s", "", p[2]); s += p[1] * 60 + p[2] }
        printf "%.1f", s }'
}
cpu_seconds >"$work/cpu_before"
cpu_before=$(cat "$work/cpu_before")
start=$(date +%s.%N)
(cd "$work/tandor" && exec env DISPLAY="$display" CCACHE_DISABLE=1 bash scripts/run.sh) >"$work/run.log" 2>&1 &
runner=$!
until DISPLAY="$display" xdotool search --onlyvisible --name '^Tandor$' >/dev/null 2>&1; do
    if ! kill -0 "$runner" 2>/dev/null; then
        echo "run.sh ended before a window was shown:" >&2
        tail -n 20 "$work/run.log" >&2
        kill "$xvfb"
        exit 1
    fi
    sleep 0.5
done
end=$(date +%s.%N)
kill "$runner"
wait "$runner" || true
cpu_seconds >"$work/cpu_after"
cpu_after=$(cat "$work/cpu_after")
kill "$xvfb"
wait "$xvfb" || true

echo "revision $commit"
awk -v s="$start" -v e="$end" -v a="$cpu_before" -v b="$cpu_after" \
    'BEGIN { printf "first window after %.0f s wall clock, %.0f s of processor time (user + system)\n", e - s, b - a }'
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
