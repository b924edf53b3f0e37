#!/usr/bin/env bash
# The run pipeline's cost over the analyser alone: the default template on a
# generated log of a million lines (or LINES), run through `kestrum-cli run`
# and through the analyser launcher alone with the same analog.cfg, in the
# same run on this machine. Prints the times, the overhead and the ratio.
# usage: bench/run_bench.sh [BUILD_DIR] [LINES] [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
lines=${2:-1000000}
rounds=${3:-5}
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target kestrum-cli tellurix-registration kestrum_data -j2 >/dev/null
built=$(cd "$build" && pwd)/Kestrum

folder=$(mktemp -d /tmp/kestrum-bench.XXXXXX)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/Template"
cp "$built/analog" "$folder/"
cp "$built/Template/Default.Kestrum" "$folder/Template/"
calc() { awk "BEGIN { printf \"%.3f\", $1 }"; }
start=$(date +%s.%N)
python3 "$root/bench/make_big_log.py" "$built/SampleAccess.log" "$folder/SampleAccess.log" "$lines"
generated=$(date +%s.%N)
printf 'log: %d lines, %d MB, generated in %.1f s\n' "$(wc -l < "$folder/SampleAccess.log")" \
  $(( $(stat -c %s "$folder/SampleAccess.log") / 1000000 )) "$(calc "$generated - $start")"

export KESTRUM_PROGRAM_DIR=$folder KESTRUM_REGISTRY=$built/registry
profile=$folder/Template/Default.Kestrum
"$built/kestrum-cli" cfg "$profile" >/dev/null

# Runs a command in the program folder and leaves its wall-clock seconds in
# $last; a failing command ends the benchmark.
timed() {
  local t0 t1
  t0=$(date +%s.%N)
  (cd "$folder" && "$@" >/dev/null 2>&1) || { echo "bench: '$*' failed" >&2; exit 1; }
  t1=$(date +%s.%N)
  last=$(calc "$t1 - $t0")
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
# Peak resident memory of a command in MiB (empty without GNU time).
peak() {
  [[ -x /usr/bin/time ]] || return 0
  (cd "$folder" && /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1) | awk '{ print int($1 / 1024) }'
}

alone=() piped=()
for ((i = 0; i < rounds; i++)); do
  timed ./analog
  alone+=("$last")
  timed "$built/kestrum-cli" run "$profile"
  piped+=("$last")
done
analyserMemory=$(peak ./analog)
cliMemory=$(peak "$built/kestrum-cli" run "$profile")

least() { printf '%s\n' "$@" | sort -n | head -1; }
a=$(median "${alone[@]}") p=$(median "${piped[@]}")
al=$(least "${alone[@]}") pl=$(least "${piped[@]}")
printf 'analyser alone:      median %6.2f s, best %6.2f s  (rounds: %s)\n' "$a" "$al" "${alone[*]}"
printf 'kestrum-cli run:     median %6.2f s, best %6.2f s  (rounds: %s)\n' "$p" "$pl" "${piped[*]}"
[[ -n $analyserMemory ]] &&
  printf 'peak memory:         analyser %s MiB, kestrum-cli itself %s MiB\n' "$analyserMemory" "$cliMemory"
# The best rounds are the least disturbed by other work on the machine.
printf 'overhead:            best %6.2f s (ratio %.3f), median %6.2f s (ratio %.3f)\n' \
  "$(calc "$pl - $al")" "$(calc "$pl / $al")" "$(calc "$p - $a")" "$(calc "$p / $a")"
printf 'aim: overhead <= 1 s + 2%% of the analyser (%.2f s)\n' "$(calc "1 + 0.02 * $a")"
printf 'issue figure (analyser alone, 1M lines, 158 MB, every report): about 3.2 s, 126 MiB\n'
