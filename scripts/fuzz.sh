#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, then runs each for a bounded time.
#
#   bash scripts/fuzz.sh                  every target for 60 s
#   bash scripts/fuzz.sh --minutes 10     every target for 10 minutes (the long run)
#   bash scripts/fuzz.sh --seconds 30 --jobs 2 import_csv contacts_file
#
# --jobs N runs N targets at the same time (default 1). Each target starts
# from its seed corpus (fuzz/corpus/<target>/, and for the imports the real
# sample exports of tests/data/samples/csv/ and vcf/) and grows its own corpus in
# build-fuzz/corpus/<target>/; a crash, leak or undefined behaviour leaves its
# input in build-fuzz/artifacts/<target>/ and makes the script fail. A table
# of executions and coverage is written to build-fuzz/fuzz-summary.md.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
jobs=1
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) seconds=$(($2 * 60)); shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    -h|--help) sed -n '2,14p' "$0"; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
if [ ${#targets[@]} -eq 0 ]; then
  targets=(import_csv import_vcard contacts_file adjustment_file label_lines label_position)
fi

BUILD=build-fuzz
export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Ninja}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTANDOR_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ > /dev/null
cmake --build "$BUILD" -j"$(nproc 2>/dev/null || echo 2)" --target $(printf 'fuzz_%s ' "${targets[@]}")

# Under AddressSanitizer the label-line target's memory grows with the number
# of runs (about 2.3 GB after 10 minutes; the same loop without sanitizers
# stays at 13 MB), hence the high memory limit.
#
# Longest input per target: a few records, a few lines of a CSV file.
max_len() {
  case "$1" in
    import_csv) echo 8192 ;;
    import_vcard) echo 16384 ;;
    contacts_file) echo 6156 ;;  # 12 records
    *) echo 1024 ;;
  esac
}

# Leaks count as findings here (the test suite's sanitizer run leaves them out).
export ASAN_OPTIONS=${FUZZ_ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${FUZZ_UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${FUZZ_LSAN_OPTIONS:-suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0}

run_target() {
  local t=$1
  local corpus=$BUILD/corpus/$t artifacts=$BUILD/artifacts/$t log=$BUILD/logs/$t.log
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  local seeds=(fuzz/corpus/"$t") options=()
  if [ -f "fuzz/$t.dict" ]; then
    options+=(-dict="fuzz/$t.dict")
  fi
  if [ "$t" = import_csv ] && [ -d tests/data/samples/csv ]; then
    seeds+=(tests/data/samples/csv)
  fi
  if [ "$t" = import_vcard ] && [ -d tests/data/samples/vcf ]; then
    seeds+=(tests/data/samples/vcf)
  fi
  "$BUILD/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=20 \
    -rss_limit_mb=8192 -print_final_stats=1 -artifact_prefix="$artifacts/" "${options[@]}" \
    "$corpus" "${seeds[@]}" > "$log" 2>&1
}

echo "== Fuzzing ${targets[*]} for ${seconds} s each, $jobs at a time =="
failed=()
pids=()
names=()
for t in "${targets[@]}"; do
  run_target "$t" &
  pids+=($!)
  names+=("$t")
  if [ ${#pids[@]} -ge "$jobs" ]; then
    if ! wait "${pids[0]}"; then failed+=("${names[0]}"); fi
    pids=("${pids[@]:1}")
    names=("${names[@]:1}")
  fi
done
for i in "${!pids[@]}"; do
  if ! wait "${pids[$i]}"; then failed+=("${names[$i]}"); fi
done

summary=$BUILD/fuzz-summary.md
{
  echo "| target | time | executions | coverage (edges) | features | corpus | result |"
  echo "|---|---|---|---|---|---|---|"
  for t in "${targets[@]}"; do
    log=$BUILD/logs/$t.log
    execs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{print $2}' | tail -1)
    last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<< "$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<< "$last")
    corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9a-zA-Z]*\).*/\1/p' <<< "$last")
    result=passed
    if printf '%s\n' "${failed[@]}" | grep -qx "$t"; then result=FAILED; fi
    echo "| $t | ${seconds} s | ${execs:-?} | ${cov:-?} | ${ft:-?} | ${corp:-?} | $result |"
  done
} > "$summary"
cat "$summary"

if [ ${#failed[@]} -gt 0 ]; then
  for t in "${failed[@]}"; do
    echo "== $t failed; the end of its log ($BUILD/logs/$t.log):"
    tail -40 "$BUILD/logs/$t.log"
  done
  exit 1
fi
