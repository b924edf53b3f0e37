#!/usr/bin/env bash
# The desktop entry, the AppStream description and the MIME type pass the
# desktop's validators and agree with each other; an install puts them, the
# icons and the manual pages where desktops and man look for them.
# Usage: desktop_integration_test.sh SOURCE_DIR BUILD_DIR PROGRAM_DIR VERSION
set -uo pipefail
src=$1 build=$2 version=$4
desktop=$src/data/desktop
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Validators. appstreamcli passes infos and pedantic notes but fails on
# warnings and errors.
desktop-file-validate "$desktop/kestrum.desktop" || fail "desktop-file-validate"
metainfo=$build/data/desktop/example.brannock.Kestrum.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
xmllint --noout "$desktop/kestrum.xml" || fail "xmllint kestrum.xml"

# The type the desktop entry opens is the one the MIME file defines, and the
# MIME database built from it maps *.Kestrum to it.
type=$(xmllint --xpath 'string(//*[local-name()="mime-type"]/@type)' "$desktop/kestrum.xml")
grep -qx "MimeType=$type;" "$desktop/kestrum.desktop" || fail "desktop entry does not open $type"
grep -q "<mediatype>$type</mediatype>" "$metainfo" || fail "metainfo does not name $type"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo release is not $version"
mkdir -p "$tmp/mime/packages"
cp "$desktop/kestrum.xml" "$tmp/mime/packages/"
XDG_DATA_DIRS=$tmp update-mime-database "$tmp/mime" 2>"$tmp/mime.err" || fail "update-mime-database"
[ -s "$tmp/mime.err" ] && fail "update-mime-database: $(cat "$tmp/mime.err")"
# (without case-sensitive="true" the glob matches any case, and is stored in
# lower case)
grep -qx "50:$type:\*\.kestrum" "$tmp/mime/globs2" || fail "globs2 lacks *.Kestrum -> $type"
# The desktop's file associations built from the entry open the type in
# kestrum (what a double click on a .Kestrum file starts).
mkdir -p "$tmp/applications"
cp "$desktop/kestrum.desktop" "$tmp/applications/"
update-desktop-database "$tmp/applications" || fail "update-desktop-database"
grep -qx "$type=kestrum.desktop;" "$tmp/applications/mimeinfo.cache" ||
  fail "mimeinfo.cache does not open $type with kestrum.desktop"

# The install puts every file where it belongs.
cmake --install "$build" --prefix "$tmp/prefix" >"$tmp/install.log" 2>&1 ||
  fail "cmake --install: $(tail -5 "$tmp/install.log")"
share=$tmp/prefix/share
expected=(applications/kestrum.desktop icons/hicolor/scalable/apps/kestrum.svg
  mime/packages/kestrum.xml metainfo/example.brannock.Kestrum.metainfo.xml)
for size in 16 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/kestrum.png
  expected+=("icons/hicolor/${size}x${size}/apps/kestrum.png")
  [ -f "$png" ] && ! file "$png" | grep -q "PNG image data, $size x $size," &&
    fail "$png is not a $size px PNG: $(file -b "$png")"
done
for program in kestrum kestrum-cli tellurix-host kestrum-dns; do
  expected+=("man/man1/$program.1.gz")
done
for file in "${expected[@]}"; do
  [ -f "$share/$file" ] || fail "not installed: share/$file"
done

# Each manual page renders without a groff warning, names its program and
# carries the version.
for program in kestrum kestrum-cli tellurix-host kestrum-dns; do
  page=$share/man/man1/$program.1.gz
  [ -f "$page" ] || continue
  warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$program.1: $warnings"
  text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
  grep -Eq "^ *$program +- " <<<"$text" || fail "$program.1 has no NAME line"
  grep -q "$program $version" <<<"$text" || fail "$program.1 does not carry version $version"
done
# The manual page of kestrum-cli explains every command.
for command in dump set new cfg run fetch dns-clean import help; do
  zcat "$share/man/man1/kestrum-cli.1.gz" | grep -qF "kestrum\\-cli ${command//-/\\-}" ||
    fail "kestrum-cli.1 lacks the command $command"
done

[ "$failures" -eq 0 ] || exit 1
echo "desktop integration: all checks passed"
