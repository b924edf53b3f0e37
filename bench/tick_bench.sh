#!/usr/bin/env bash
# Builds and runs the end-watch tick benchmark: the cost of one tick of the
# process watch with about 1000 processes running, and its ratio to a plain
# walk of /proc measured in the same run.
# usage: bench/tick_bench.sh [BUILD_DIR] [PROCESSES] [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target tick_bench -j2 >/dev/null
"$build/bench/tick_bench" "${2:-1000}" "${3:-50}"
