#!/usr/bin/env bash
# Bulk labels for 3,000 contacts (100 sheets of 30) to PDF, set beside the free
# label program glabels-3-batch merging the same 3,000 addresses from a CSV file
# onto an Avery 5160 template. Each program runs RUNS times, one after the
# other; the best time and the highest peak memory (/usr/bin/time -v) count.
#
#   bench/bulk_labels_vs_glabels.sh [BUILD_DIR]     (default: build)
#
# glabels is not part of the project: install it by hand to compare
# (apt-get install glabels). Without it only Tandor's figures are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
GEN="$BUILD_DIR/bench/contact_list_bench"
BATCH="$BUILD_DIR/bin/tandor-batch"
for exe in "$GEN" "$BATCH"; do
  if [ ! -x "$exe" ]; then
    echo "No $exe: build it first (cmake --build $BUILD_DIR --target contact_list_bench tandor-batch)" >&2
    exit 1
  fi
done
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tandor-labels.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
COUNT=3000
RUNS=${RUNS:-3}

"$GEN" --generate "$WORK/contacts.DAT" $COUNT
"$GEN" --csv "$WORK/contacts.csv" $COUNT
printf 'ONTHEFLY 0   0  \r\nENVELOPE 0   0  \r\nBULKLIST 0   0  \r\n' > "$WORK/TDRPARAM.TXT"

# The same sheet for glabels: Avery 5160 with the four address lines in
# 10-point Liberation Mono (the font Tandor's "Courier New" resolves to).
cat > "$WORK/labels.glabels" <<GLABELS
<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Avery" part="5160" size="US-Letter" description="Address Labels">
    <Meta category="label"/>
    <Label-rectangle id="0" width="2.625in" height="1in" round="0.0625in" x_waste="0in" y_waste="0in">
      <Markup-margin size="0.0625in"/>
      <Layout nx="3" ny="10" x0="0.1875in" y0="0.5in" dx="2.75in" dy="1in"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="False">
    <Object-text x="0.1in" y="0.08in" w="2.45in" h="0.84in" justify="Left" valign="Top" auto_shrink="False"
                 a0="1" a1="0" a2="0" a3="1" a4="0" a5="0">
      <Span color="0x000000ff" font_family="Liberation Mono" font_size="10" font_weight="Regular" font_italic="False" line_spacing="1"><Field name="name"/><NL/><Field name="company"/><NL/><Field name="street"/><NL/><Field name="city"/></Span>
    </Object-text>
  </Objects>
  <Merge type="Text/Comma/Line1Keys" src="$WORK/contacts.csv"/>
</Glabels-document>
GLABELS

# measure NAME COMMAND...: prints "seconds peak_kb" of the best run.
measure() {
  local best_s="" peak_kb=0
  for _ in $(seq "$RUNS"); do
    /usr/bin/time -v -o "$WORK/time.txt" "$@" > "$WORK/run.log" 2>&1 || {
      echo "failed: $*" >&2; cat "$WORK/run.log" >&2; return 1; }
    local wall kb
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$WORK/time.txt")
    kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$WORK/time.txt")
    if [ -z "$best_s" ] || awk -v a="$wall" -v b="$best_s" 'BEGIN { exit !(a < b) }'; then best_s=$wall; fi
    if [ "$kb" -gt "$peak_kb" ]; then peak_kb=$kb; fi
  done
  echo "$best_s $peak_kb"
}

pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'; }

echo "== $COUNT contacts, best of $RUNS runs"
read -r t_s t_kb < <(measure "$BATCH" --program-folder "$WORK" bulk-labels "$WORK/contacts.DAT" -o "$WORK/tandor.pdf")
printf 'tandor-batch bulk-labels: %6.2f s  %7.1f MB peak  (%s pages)\n' "$t_s" "$(awk -v k="$t_kb" 'BEGIN { print k / 1024 }')" "$(pages "$WORK/tandor.pdf")"

if ! command -v glabels-3-batch > /dev/null; then
  echo "glabels-3-batch is not installed: no comparison (apt-get install glabels)"
  exit 0
fi
read -r g_s g_kb < <(measure glabels-3-batch -o "$WORK/glabels.pdf" "$WORK/labels.glabels")
printf 'glabels-3-batch:          %6.2f s  %7.1f MB peak  (%s pages)\n' "$g_s" "$(awk -v k="$g_kb" 'BEGIN { print k / 1024 }')" "$(pages "$WORK/glabels.pdf")"
awk -v ts="$t_s" -v gs="$g_s" -v tk="$t_kb" -v gk="$g_kb" 'BEGIN {
  printf "ratio tandor/glabels:     time %.2f  peak memory %.2f  (target: at most 0.50 each)\n", ts / gs, tk / gk }'
