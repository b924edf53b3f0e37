#!/usr/bin/env bash
# Builds the Debian package from the build with CPack (as scripts/package.sh
# does) and checks its file list and its dependencies.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.log")"
debs=("$work"/kestrum_*.deb)
[ -f "${debs[0]}" ] || fail "no package: $(ls "$work")"
deb=${debs[0]}

# What the package must hold (dpkg-deb -c names, links with their target).
expected=(
  "./usr/bin/kestrum -> ../lib/kestrum/kestrum"
  "./usr/bin/kestrum-cli -> ../lib/kestrum/kestrum-cli"
  "./usr/bin/kestrum-dns -> ../lib/kestrum/kestrum-dns"
  "./usr/bin/tellurix-host -> ../lib/kestrum/tellurix-host"
  "./usr/lib/kestrum/kestrum"
  "./usr/lib/kestrum/kestrum-cli"
  "./usr/lib/kestrum/kestrum-dns"
  "./usr/lib/kestrum/tellurix-host"
  "./usr/lib/kestrum/libtellurix.so"
  "./usr/lib/kestrum/analog"
  "./usr/share/kestrum/Template/Default.Kestrum"
  "./usr/share/kestrum/Template/PlainText.Kestrum"
  "./usr/share/kestrum/TipOfDay.KestrumSettings"
  "./usr/share/kestrum/SampleAccess.log"
  "./usr/share/kestrum/QuickDNS.html"
  "./usr/share/kestrum/docs -> /usr/share/doc/analog/docs"
  "./usr/share/applications/kestrum.desktop"
  "./usr/share/icons/hicolor/scalable/apps/kestrum.svg"
  "./usr/share/mime/packages/kestrum.xml"
  "./usr/share/man/man1/kestrum-cli.1.gz"
)
contents=$(dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//')
for entry in "${expected[@]}"; do
  grep -qxF -- "$entry" <<<"$contents" || fail "missing: $entry
$contents"
done
# Nothing the programs write at run time (into their own folders), nothing
# from the build's folder; the theme's icons are the only pictures.
if grep -E '/kestrum/.*(registry|analog\.cfg|Report|\.png$|Kestrum\.KestrumSettings)' <<<"$contents"; then
  fail "run-time files in the package"
fi

# Dependencies: the linked libraries' packages (shlibdeps) and the analyser.
depends=$(dpkg-deb -f "$deb" Depends)
for package in analog libqt6core6 libqt6widgets6 libcurl4 libc-ares2 zlib1g libc6; do
  grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = kestrum ] || fail "package name"
echo "package test passed: $(basename "$deb")"
