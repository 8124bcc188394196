#!/usr/bin/env bash
# Checks what an installation of Tandor puts on a machine, from a built tree
# (bash scripts/setup.sh): the desktop entry, the AppStream metainfo, both
# manual pages, and the Debian package made by CPack with its file list and
# dependencies. Leaves the package in BUILD_DIR/package/.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
id=org.tandor.Tandor
failed=0
fail() { echo "check-package: $*" >&2; failed=1; }

desktop-file-validate "packaging/$id.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$BUILD_DIR/$id.metainfo.xml" || fail "the AppStream metainfo is not valid"

for page in tandor tandor-batch; do
    warnings=$(MANWIDTH=80 man --warnings -l "$BUILD_DIR/man/$page.1.gz" 2>&1 >/dev/null || true)
    text=$(MANWIDTH=80 man -l "$BUILD_DIR/man/$page.1.gz" 2>/dev/null || true)
    [ -z "$warnings" ] || fail "man -l $page.1.gz warns: $warnings"
    grep -q "^NAME" <<<"$text" && grep -q "PROGRAM FOLDER" <<<"$text" || fail "man -l $page.1.gz renders no page"
done

rm -rf "$BUILD_DIR/package"
(cd "$BUILD_DIR" && cpack -G DEB -B "$PWD/package" >/dev/null) || fail "cpack -G DEB failed"
deb=$(ls "$BUILD_DIR"/package/tandor_*.deb 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
    fail "no package was made"
    exit 1
fi
# Regular files and links, without the leading "./".
dpkg -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | LC_ALL=C sort >"$BUILD_DIR/package/files.txt"
if ! diff -u packaging/deb-files.txt "$BUILD_DIR/package/files.txt"; then
    fail "the package's files differ from packaging/deb-files.txt (above)"
fi
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-liberation fonts-open-sans libqt6widgets6 libqt6printsupport6 libc6; do
    grep -q "\b$needed\b" <<<"$depends" || fail "the package does not depend on $needed: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -q "\bglabels-data\b" <<<"$recommends" || fail "the package does not recommend glabels-data: $recommends"
if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "check-package: desktop entry, metainfo, manual pages and $(basename "$deb") ($(wc -l <"$BUILD_DIR/package/files.txt") files) are in order"
