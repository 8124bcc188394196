#!/usr/bin/env bash
# The layer table of the developers' guide, made from cmake/Layers.cmake (the
# layer list and each layer's "#- LAYER: text" description) and the folders
# each layer has under src/ (those holding a file).
#
#   bash scripts/layers-table.sh           prints the table block
#   bash scripts/layers-table.sh --write   puts it into docs/developers-guide.md
#                                          between its two marker lines
#   bash scripts/layers-table.sh --check [GUIDE]
#                                          fails, showing the lines that differ,
#                                          when the guide's block is another
#                                          (GUIDE from the top folder, or absolute)
#   bash scripts/layers-table.sh --list    prints the layers, one a line
#
# SOURCE_DIR=... reads another copy of the source. It fails, saying why, when
# a layer has no description or no folder, a description names no layer, or a
# folder of src/ is in no layer.
set -euo pipefail
export LC_ALL=C
cd "${SOURCE_DIR:-$(dirname "$0")/..}"
LAYERS_FILE=cmake/Layers.cmake
GUIDE=docs/developers-guide.md
BEGIN_MARK='<!-- layer table: made by scripts/layers-table.sh from cmake/Layers.cmake and the folders of src/ -->'
END_MARK='<!-- end of the layer table -->'

layers_line=$(grep -E '^[[:space:]]*set\(TANDOR_LAYERS[[:space:]]' "$LAYERS_FILE" | head -n1 || true)
layers=$(printf '%s\n' "$layers_line" | sed -E 's/^[[:space:]]*set\(TANDOR_LAYERS[[:space:]]+//; s/\).*$//')
if [ -z "${layers// /}" ]; then
  echo "layers-table: no 'set(TANDOR_LAYERS ...)' line naming the layers in $LAYERS_FILE" >&2
  exit 1
fi
if [ "${1:-}" = "--list" ]; then
  printf '%s\n' $layers
  exit 0
fi

# Every folder of src/ that holds a file, relative to src/.
folders=$(cd src && find . -mindepth 1 -type d ! -path '*/.*' -print | sed 's|^\./||' | sort |
  while read -r d; do
    if [ -n "$(find "$d" -maxdepth 1 -type f -print -quit)" ]; then printf '%s\n' "$d"; fi
  done)

table() {
  awk -v layers="$layers" -v folders="$folders" -v setLine="$(printf '%s' "$layers_line" | sed -E 's/[[:space:]]+/ /g; s/^ //; s/ $//')" '
    /^#- [^ :]+: / {
      name = $2; sub(/:$/, "", name)
      text = $0; sub(/^#- [^ :]+: /, "", text)
      if (name in desc) { printf "layers-table: the layer %s is described twice\n", name > "/dev/stderr"; bad = 1 }
      desc[name] = text; current = name; described[++nd] = name
      next
    }
    current != "" && /^#  [^ ]/ { line = $0; sub(/^#  /, "", line); desc[current] = desc[current] " " line; next }
    { current = "" }
    END {
      nl = split(layers, L, " ")
      nf = split(folders, F, "\n")
      for (i = 1; i <= nl; i++) isLayer[L[i]] = 1
      for (i = 1; i <= nd; i++)
        if (!(described[i] in isLayer)) { printf "layers-table: %s is described but is no layer of TANDOR_LAYERS\n", described[i] > "/dev/stderr"; bad = 1 }
      for (k = 1; k <= nf; k++) {
        top = F[k]; sub(/\/.*$/, "", top)
        if (!(top in isLayer)) { printf "layers-table: the folder src/%s is in no layer\n", F[k] > "/dev/stderr"; bad = 1 }
      }
      print "They are listed in one place, `cmake/Layers.cmake`, which the build, the include check, the"
      print "layers picture and this table all read (the table is written from it by `scripts/layers-table.sh`):"
      print ""
      print "```cmake"
      print setLine
      print "```"
      print ""
      print "| layer | folders | what it holds |"
      print "|---|---|---|"
      for (i = 1; i <= nl; i++) {
        list = ""
        for (k = 1; k <= nf; k++)
          if (F[k] == L[i] || index(F[k], L[i] "/") == 1) list = list (list == "" ? "" : ", ") "`src/" F[k] "/`"
        if (list == "") { printf "layers-table: the layer %s has no folder under src/\n", L[i] > "/dev/stderr"; bad = 1 }
        if (!(L[i] in desc)) { printf "layers-table: the layer %s has no \"#- %s: ...\" description in cmake/Layers.cmake\n", L[i], L[i] > "/dev/stderr"; bad = 1 }
        printf "| `%s` | %s | %s |\n", L[i], list, desc[L[i]]
      }
      exit bad
    }' "$LAYERS_FILE"
}

# The lines between the guide's marker lines; fails when they are not there once each.
guide_block() {
  if [ "$(grep -cxF "$BEGIN_MARK" "$1")" != 1 ] || [ "$(grep -cxF "$END_MARK" "$1")" != 1 ]; then
    echo "layers-table: $1 needs the marker lines, once each:" >&2
    printf '  %s\n' "$BEGIN_MARK" "$END_MARK" >&2
    return 1
  fi
  awk -v begin="$BEGIN_MARK" -v end="$END_MARK" '$0 == end { inside = 0 } inside { print } $0 == begin { inside = 1 }' "$1"
}

block=$(table)
case "${1:-}" in
  --write)
    guide_block "$GUIDE" > /dev/null
    guide=$(BLOCK="$block" awk -v begin="$BEGIN_MARK" -v end="$END_MARK" '
      $0 == begin { print; print ENVIRON["BLOCK"]; skipping = 1; next }
      $0 == end { skipping = 0 }
      !skipping { print }' "$GUIDE")
    printf '%s\n' "$guide" > "$GUIDE"
    echo "layers-table: wrote the layer table into $GUIDE" >&2
    ;;
  --check)
    file=${2:-$GUIDE}
    written=$(guide_block "$file")
    if [ "$written" != "$block" ]; then
      echo "layers-table: the layer table of $file is not the one cmake/Layers.cmake and src/ give" >&2
      echo "(bash scripts/layers-table.sh --write writes it; < the guide, > what it should be):" >&2
      diff <(printf '%s\n' "$written") <(printf '%s\n' "$block") | grep '^[<>]' >&2 || true
      exit 1
    fi
    ;;
  *)
    printf '%s\n' "$block"
    ;;
esac
