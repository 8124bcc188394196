#!/usr/bin/env bash
# Draws the layers of the source as the code has them: every folder of src/
# (store, contacts/widgets, app/batch, ...) is a box, grouped by its layer in
# the order of cmake/Layers.cmake, lowest layer at the bottom; every
# `#include "folder/..."` from one folder into another is an arrow labelled
# with the number of such lines. An include that runs up a layer (or from a
# subsystem's plain code into its own widgets/) is red.
#
#   bash scripts/layers-graph.sh [OUTDIR]
#
# Writes OUTDIR/layers.dot, layers.svg and layers.png (OUTDIR defaults to
# docs/images). Rendering needs Graphviz's `dot` (Debian package graphviz).
# It also writes the layer table of docs/developers-guide.md
# (scripts/layers-table.sh --write).
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-docs/images}
# The layers in their order (scripts/layers-table.sh reads cmake/Layers.cmake);
# the guide's layer table is written first, as the picture goes with it.
layers=$(SOURCE_DIR=$PWD bash scripts/layers-table.sh --list | tr '\n' ' ')
SOURCE_DIR=$PWD bash scripts/layers-table.sh --write

mkdir -p "$OUT"
folders=$(cd src && find . -type d ! -name '.*' | sed 's|^\./||' | grep -v '^\.$' | sort)

# One line per include: "<folder of the including file> <include path>".
includes=$(find src -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z |
  xargs -0 awk '
    FNR == 1 { dir = FILENAME; sub(/^src\//, "", dir); sub(/\/[^\/]*$/, "", dir) }
    /^[[:space:]]*#[[:space:]]*include[[:space:]]*"/ {
      path = $0
      sub(/^[^"]*"/, "", path); sub(/".*$/, "", path)
      if (path ~ /\//) print dir, path
    }')

printf '%s\n' "$includes" | awk -v layers="$layers" -v folders="$folders" '
  BEGIN {
    nl = split(layers, L, " ")
    for (i = 1; i <= nl; i++) layerIndex[L[i]] = i
    nf = split(folders, F, "\n")
    for (i = 1; i <= nf; i++) isFolder[F[i]] = 1
    # Pale fills that alternate from layer to layer, and a colour per layer for
    # the outlines of its folders and the arrows they draw (red stays for the wrong way).
    split("#eef3fb #f6f1e7", fill, " ")
    npal = split("#1f5fa8 #6a8f00 #7b4fa0 #c77c00 #00838f #2e7d32 #8e5a2b #5c6bc0 #9e9d24 #455a64 #212121", pal, " ")
  }
  # The folder of src/ an include names: the folder itself when src/ has it
  # (store/ContactRecord.h), else the one folder under src/*/ that has it
  # (batch/Help.h from src/app/).
  function resolve(d,    i, hit, n) {
    if (d in isFolder) return d
    n = 0
    for (i = 1; i <= nf; i++) if (F[i] ~ ("^[^/]+/" d "$")) { hit = F[i]; n++ }
    return n == 1 ? hit : ""
  }
  function layerOf(node,    top) { top = node; sub(/\/.*$/, "", top); return (top in layerIndex) ? top : "" }
  # Row of a folder in the drawing: its layer.
  function row(node,    lay) { lay = layerOf(node); return lay == "" ? -1 : layerIndex[lay] }
  # Rank of a folder: its layer, with a widgets/ folder just above its plain code.
  function level(node,    lay) {
    lay = layerOf(node)
    if (lay == "") return -1
    return layerIndex[lay] * 2 + (node ~ /(^|\/)widgets$/ ? 1 : 0)
  }
  function colour(node,    r) { r = row(node); return r < 0 ? "#000000" : pal[((r - 1) % npal) + 1] }
  function addNode(n) { if (!(n in nodes)) { nodes[n] = 1; order[++nn] = n } }
  NF == 2 {
    from = $1; d = $2; sub(/\/[^\/]*$/, "", d)
    to = resolve(d)
    if (to == "") { unresolved[$2] = 1; next }
    addNode(from); addNode(to)
    if (from != to) count[from SUBSEP to]++
  }
  END {
    for (u in unresolved) printf "layers-graph: no folder of src/ for \"%s\", left out\n", u > "/dev/stderr"
    print "digraph layers {"
    print "  graph [rankdir=BT, newrank=true, nodesep=0.35, ranksep=0.55, fontname=\"Helvetica\", fontsize=20,"
    print "         labelloc=t, label=<<b>Includes between the folders of src/</b><br/><font point-size=\"13\">lowest layer at the bottom; an arrow points at the folder included, in the colour of the folder that includes, and its number counts the #include lines; <font color=\"#d00000\">red: an include that runs up a layer</font></font><br/> >];"
    print "  node [shape=box, style=\"rounded,filled\", fillcolor=white, fontname=\"Helvetica\", fontsize=13, height=0.35];"
    print "  edge [fontname=\"Helvetica\", fontsize=12, arrowsize=0.7];"
    # One box per layer, in the order of cmake/Layers.cmake.
    for (i = 1; i <= nl; i++) {
      members = ""
      for (k = 1; k <= nn; k++) if (layerOf(order[k]) == L[i]) members = members "    \"" order[k] "\" [color=\"" colour(order[k]) "\", penwidth=1.5];\n"
      if (members == "") continue
      printf "  subgraph \"cluster_%s\" {\n    label=<<b>%d %s</b>>; labeljust=l; labelloc=b; fontsize=14; style=\"rounded,filled\"; color=\"#9aa7b8\"; fillcolor=\"%s\";\n%s  }\n", L[i], i, L[i], fill[(i % 2) + 1], members
    }
    unlayered = ""
    for (k = 1; k <= nn; k++) if (layerOf(order[k]) == "") unlayered = unlayered "    \"" order[k] "\";\n"
    if (unlayered != "")
      printf "  subgraph cluster_unlayered {\n    label=<<b>in no layer</b>>; labeljust=l; style=dashed; color=\"#d00000\";\n%s  }\n", unlayered
    # The folders of one rank side by side, the ranks stacked in layer order.
    top = 0; for (k = 1; k <= nn; k++) if (row(order[k]) > top) top = row(order[k])
    prev = ""
    for (r = 0; r <= top; r++) {
      same = ""; first = ""
      for (k = 1; k <= nn; k++) if (row(order[k]) == r) { same = same " \"" order[k] "\";"; if (first == "") first = order[k] }
      if (same == "") continue
      print "  { rank=same;" same " }"
      if (prev != "") printf "  \"%s\" -> \"%s\" [style=invis, weight=20];\n", prev, first
      prev = first
    }
    # The arrows: the lower folder is always the tail, so that the drawing
    # keeps the layers in order; the arrowhead points at the included folder.
    up = 0; upLines = 0
    for (key in count) {
      split(key, pair, SUBSEP); a = pair[1]; b = pair[2]
      la = level(a); lb = level(b)
      if (la < 0 || lb < 0) {
        printf "  \"%s\" -> \"%s\" [label=\"%d\", style=dashed, constraint=false];\n", a, b, count[key]
      } else if (lb > la) {
        printf "  \"%s\" -> \"%s\" [label=\"%d\", color=\"#d00000\", fontcolor=\"#d00000\", penwidth=2, constraint=false];\n", a, b, count[key]
        up++; upLines += count[key]
        printf "layers-graph: up a layer: %s includes %s (%d lines)\n", a, b, count[key] > "/dev/stderr"
      } else if (row(a) == row(b)) {
        printf "  \"%s\" -> \"%s\" [label=\"%d\", dir=back, constraint=false, color=\"%s\", fontcolor=\"%s\"];\n", b, a, count[key], colour(a), colour(a)
      } else {
        printf "  \"%s\" -> \"%s\" [label=\"%d\", dir=back, color=\"%s\", fontcolor=\"%s\"];\n", b, a, count[key], colour(a), colour(a)
      }
    }
    print "}"
    printf "layers-graph: %d folders, %d folder-to-folder includes, %d of them up a layer (%d lines)\n", nn, length(count), up, upLines > "/dev/stderr"
  }' > "$OUT/layers.dot"

if ! command -v dot > /dev/null; then
  echo "layers-graph: wrote $OUT/layers.dot, but Graphviz's dot is missing to draw it." >&2
  echo "Install it with:  sudo apt-get install graphviz   (as root: apt-get update && apt-get install graphviz)" >&2
  exit 1
fi
dot -Tsvg "$OUT/layers.dot" -o "$OUT/layers.svg"
dot -Tpng -Gdpi=80 "$OUT/layers.dot" -o "$OUT/layers.png"
echo "layers-graph: wrote $OUT/layers.dot, $OUT/layers.svg and $OUT/layers.png" >&2
