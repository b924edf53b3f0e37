#!/usr/bin/env bash
# Builds Kestrum and runs it on the bundled default profile and sample log.
# With a display the window opens; without one the analysis runs headless
# and the report's path is printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
prog="$root/build/Kestrum"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$prog/kestrum" ]; then
  exec "$prog/kestrum" "$prog/Template/Default.Kestrum"
fi
"$prog/kestrum-cli" cfg "$prog/Template/Default.Kestrum"
(cd "$prog" && ./analog)
report=$("$prog/kestrum-cli" dump "$prog/Template/Default.Kestrum" | sed -n 's/^OutFile=//p')
case "$report" in /*) ;; *) report="$prog/${report#./}" ;; esac
echo "Report: $report"
