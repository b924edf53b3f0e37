#!/usr/bin/env bash
# Cleans a DNS cache of LINES lines (two in three unresolved) with
# `kestrum-cli dns-clean` and with `grep -v '\*$'` on the same file in the
# same run, ROUNDS times each, and prints the best times and their ratio.
# kestrum-cli also writes the "Old " backup and replaces the file safely.
# usage: bench/dns_clean_bench.sh [BUILD_DIR] [LINES] [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
lines=${2:-2000000}
rounds=${3:-5}
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target kestrum-cli -j2 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v n="$lines" 'BEGIN { srand(1); for (i = 0; i < n; i++) {
  a = sprintf("%d.%d.%d.%d", rand()*256, rand()*256, rand()*256, rand()*256)
  printf "29948614 %s %s\n", a, (i % 3 ? "*" : "host" i ".example.com") } }' >"$work/original"

seconds() { # command... -> elapsed seconds of one run
  local start end
  start=$(date +%s.%N); "$@" >/dev/null; end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
best_cli=999 best_grep=999
for _ in $(seq "$rounds"); do
  cp "$work/original" "$work/cache.KestrumDNS"
  t=$(seconds env KESTRUM_PROGRAM_DIR="$work/" "$build/Kestrum/kestrum-cli" dns-clean cache.KestrumDNS)
  best_cli=$(echo "if ($t < $best_cli) $t else $best_cli" | bc -l)
  t=$(seconds sh -c "grep -v '\\*\$' '$work/original' > '$work/grep.out'")
  best_grep=$(echo "if ($t < $best_grep) $t else $best_grep" | bc -l)
done
tr -d '\r' <"$work/cache.KestrumDNS" | cmp -s - "$work/grep.out" || { echo "results differ" >&2; exit 1; }
printf 'lines: %d (%s MB)\n' "$lines" "$(( $(stat -c %s "$work/original") / 1000000 ))"
printf 'grep -v (baseline): %.3f s\n' "$best_grep"
printf 'kestrum-cli dns-clean: %.3f s\n' "$best_cli"
printf 'ratio: %.2f (aim: <= 2)\n' "$(echo "$best_cli / $best_grep" | bc -l)"
