#!/usr/bin/env bash
# Remakes the pictures of the README from a build: the main window, a #10
# envelope and a return-address sheet printed to PDF.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=build/bin
OUT=docs/images
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
mkdir -p "$OUT"
# The windows as the real-window check saw them on screen (ctest -R real_windows),
# else the offscreen picture of the manual.
SHOTS=build/window-check/scale-1
main_shot=$(ls "$SHOTS"/*-frmLMaker-file-open.png 2>/dev/null | head -n1 || true)
if [ -n "$main_shot" ]; then
  cp "$main_shot" "$OUT/main-window.png"
else
  cp "$BIN/manual-images/main-window.png" "$OUT/main-window.png"
fi
sheet_shot=$(ls "$SHOTS"/*-frmNewSheet-drawn.png 2>/dev/null | head -n1 || true)
if [ -n "$sheet_shot" ]; then
  cp "$sheet_shot" "$OUT/new-label-sheet.png"
fi
list_shot=$(ls "$SHOTS"/*-frmViewAll-listed.png 2>/dev/null | head -n1 || true)
if [ -n "$list_shot" ]; then
  cp "$list_shot" "$OUT/contact-list.png"
fi
# The sync windows, when the check ran with a CardDAV test server
# (eval "$(bash scripts/dav-test-servers.sh start)" before ctest -R real_windows).
account_shot=$(ls "$SHOTS"/*-frmSyncAccount-books-found.png 2>/dev/null | head -n1 || true)
if [ -n "$account_shot" ]; then
  cp "$account_shot" "$OUT/sync-account.png"
fi
conflicts_shot=$(ls "$SHOTS"/*-frmSyncConflicts-listed.png 2>/dev/null | head -n1 || true)
if [ -n "$conflicts_shot" ]; then
  cp "$conflicts_shot" "$OUT/sync-conflicts.png"
fi
"$BIN/tandor-batch" envelope --size 1 -o "$TMP/envelope.pdf" \
  "John Q. Smith" "1234 Main Street" "Apt 5" "Springfield, IL  62704"
"$BIN/tandor-batch" return-labels -o "$TMP/return.pdf" "Ann Lee" "12 Oak Ln" "Reno, NV 89501"
"$BIN/tandor-batch" labels --positions 1-30 -o "$TMP/labels.pdf" \
  "John Q. Smith" "1234 Main Street" "Apt 5" "Springfield, IL  62704"
pdftoppm -r 60 -png -singlefile "$TMP/envelope.pdf" "$OUT/envelope-10"
pdftoppm -r 60 -png -singlefile "$TMP/return.pdf" "$OUT/return-address-sheet"
pdftoppm -r 60 -png -singlefile "$TMP/labels.pdf" "$OUT/label-sheet"
echo "pictures written to $OUT"
