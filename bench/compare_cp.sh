#!/usr/bin/env bash
# Runs the contacts-file benchmark and sets a compaction beside a plain copy of
# the same file with cp (and cp followed by sync of the copy, since a
# compaction forces its copy onto the disk before the rename). Also measures
# the peak memory of one deletion in a 10,000- and a 100,000-contact file.
#
#   bench/compare_cp.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
BENCH="$BUILD_DIR/bench/contacts_file_bench"
if [ ! -x "$BENCH" ]; then
  echo "No $BENCH: build it first (cmake --build $BUILD_DIR --target contacts_file_bench)" >&2
  exit 1
fi
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tandor-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

now_ns() { date +%s%N; }
seconds() { awk -v ns="$1" 'BEGIN { printf "%.4f", ns / 1e9 }'; }
min() { printf '%s\n' "$@" | sort -n | head -1; }

"$BENCH" --generate "$WORK/c100k.DAT" 100000
"$BENCH" --generate "$WORK/c10k.DAT" 10000
cat "$WORK/c100k.DAT" > /dev/null  # warm the cache for everyone alike

echo "== Google Benchmark (100,000 contacts, $(stat -c %s "$WORK/c100k.DAT") bytes)"
"$BENCH" --benchmark_min_time=0.5 2>/dev/null
echo

RUNS=5
cp_times=(); cp_sync_times=(); del_times=()
for _ in $(seq $RUNS); do
  t0=$(now_ns); cp "$WORK/c100k.DAT" "$WORK/copy.DAT"; t1=$(now_ns)
  cp_times+=($((t1 - t0))); rm -f "$WORK/copy.DAT"
  t0=$(now_ns); cp "$WORK/c100k.DAT" "$WORK/copy.DAT"; sync "$WORK/copy.DAT"; t1=$(now_ns)
  cp_sync_times+=($((t1 - t0))); rm -f "$WORK/copy.DAT"

  cp "$WORK/c100k.DAT" "$WORK/del.DAT"
  s=$("$BENCH" --delete-once "$WORK/del.DAT" 50000 | awk '{ print $2 }')
  del_times+=($(awk -v s="$s" 'BEGIN { printf "%d", s * 1e9 }'))
  rm -f "$WORK/del.DAT"
done
cp_best=$(min "${cp_times[@]}")
cp_sync_best=$(min "${cp_sync_times[@]}")
del_best=$(min "${del_times[@]}")

echo "== Deleting record 50,000 of 100,000 against copying the file (best of $RUNS)"
printf '%-34s %10s s\n' "cp" "$(seconds "$cp_best")"
printf '%-34s %10s s\n' "cp + sync of the copy" "$(seconds "$cp_sync_best")"
printf '%-34s %10s s\n' "delete (mark + full compaction)" "$(seconds "$del_best")"
awk -v d="$del_best" -v c="$cp_best" -v cs="$cp_sync_best" 'BEGIN {
  printf "%-34s %10.2f x cp, %.2f x (cp + sync); target within 3 x cp\n", "ratio", d / c, d / cs }'
echo

echo "== Peak memory of one deletion (whole process, /usr/bin/time -v)"
for f in c10k c100k; do
  n=$( [ "$f" = c10k ] && echo 5000 || echo 50000 )
  if [ -x /usr/bin/time ]; then
    rss=$(/usr/bin/time -v "$BENCH" --delete-once "$WORK/$f.DAT" "$n" 2>&1 >/dev/null |
          awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }')
  else
    rss=$("$BENCH" --delete-once "$WORK/$f.DAT" "$n" | awk '{ print $4 }')
  fi
  printf '%-34s %10s KB   (file %s bytes)\n' "$f.DAT" "$rss" "$(stat -c %s "$WORK/$f.DAT")"
done
