#!/usr/bin/env bash
# Builds Kestrum, then the Debian package kestrum_VERSION_ARCH.deb (CPack)
# into OUTPUT_DIR (default: build/). Install it with
#   sudo apt install ./build/kestrum_*.deb
# Usage: scripts/package.sh [OUTPUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)
"$root/scripts/build.sh"
cpack -G DEB --config "$root/build/CPackConfig.cmake" -B "$out" >/dev/null
rm -rf "$out/_CPack_Packages"
ls "$out"/kestrum_*.deb
