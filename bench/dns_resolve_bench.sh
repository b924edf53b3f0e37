#!/usr/bin/env bash
# Resolves ADDRESSES unique addresses of a generated log against a local DNS
# server that answers every query after DELAY_MS, with `kestrum-dns /T 100`
# and with the analyser's own `DNS LOOKUP` on the same log and server, in the
# same run, and prints look-ups per second of each and their ratio.
#
# The analyser asks the system resolver, so both run in a private network
# namespace (as root: `unshare --net --mount`, loopback up, a resolv.conf
# naming 127.0.0.1 bind-mounted over /etc/resolv.conf, the server on port
# 53). Where that is not possible the script says why and compares against
# `kestrum-dns /T 1` instead, with --server.
#
# It also prints kestrum-dns's peak memory for the log and for a log ten
# times as long with the same addresses: the logs are streamed, so it stays
# flat.
# usage: bench/dns_resolve_bench.sh [BUILD_DIR] [ADDRESSES] [DELAY_MS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
addresses=${2:-20000}
delay=${3:-20}
inflight=100
export PATH=/usr/local/lib/ccache-bin:$PATH
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target kestrum-dns -j2 >/dev/null
resolver=$build/Kestrum/kestrum-dns
server_script=$root/tests/dns_test_server.py

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# 198.18.0.0/15 is set aside for benchmarks; every address gets a name.
/usr/bin/python3 - "$addresses" "$work" <<'PY'
import sys
n, work = int(sys.argv[1]), sys.argv[2]
with open(work + "/access.log", "w") as log, open(work + "/answers", "w") as answers:
    for i in range(n):
        a = "198.%d.%d.%d" % (18 + (i >> 16), (i >> 8) & 255, i & 255)
        log.write('%s - - [10/Oct/2025:13:55:36 +0000] "GET / HTTP/1.1" 200 512\n' % a)
        answers.write("%s host-%d.bench.example\n" % (a, i))
PY
for _ in $(seq 10); do cat "$work/access.log"; done >"$work/long.log"
printf 'DNSFILE %s/dns.cache\nDNS LOOKUP\nOUTPUT ASCII\nOUTFILE %s/report.txt\n' "$work" "$work" >"$work/common.cfg"
printf 'LOGFILE %s/access.log\n' "$work" | cat - "$work/common.cfg" >"$work/analog.cfg"
printf 'LOGFILE %s/long.log\n' "$work" | cat - "$work/common.cfg" >"$work/long.cfg"

# One measured run: prints "SECONDS PEAK_KB" of the command.
measure() {
  /usr/bin/python3 -c '
import resource, subprocess, sys, time
start = time.monotonic()
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
print("%.3f %d" % (time.monotonic() - start, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss))
' "$@"
}

# Starts the DNS server on PORT (0: any free one) and sets server_pid and
# server_port.
start_server() {
  : >"$work/queries"
  /usr/bin/python3 "$server_script" --port "$1" --answer-file "$work/answers" --delay-ms "$delay" \
    --queries "$work/queries" >"$work/server.out" &
  server_pid=$!
  for _ in $(seq 100); do grep -q PORT "$work/server.out" 2>/dev/null && break; sleep 0.1; done
  server_port=$(awk '/PORT/ { print $2 }' "$work/server.out")
}

# Runs inside the namespace (or not): kestrum-dns first, then the baseline.
compare() { # baseline: "analog" or "t1"
  local baseline=$1 server_args=()
  if [ "$baseline" = analog ]; then start_server 53; else start_server 0; server_args=(--server "127.0.0.1:$server_port"); fi
  rm -f "$work/dns.cache"
  read -r fast fast_kb < <(measure "$resolver" /G "$work/analog.cfg" /T "$inflight" "${server_args[@]}")
  fast_asked=$(wc -l <"$work/queries")
  rm -f "$work/dns.cache"
  read -r _ long_kb < <(measure "$resolver" /G "$work/long.cfg" /T "$inflight" "${server_args[@]}")
  rm -f "$work/dns.cache"
  : >"$work/queries"
  if [ "$baseline" = analog ]; then
    read -r slow _ < <(measure /usr/bin/analog -G +g"$work/analog.cfg")
    label="analog DNS LOOKUP (baseline)"
  else
    read -r slow _ < <(measure "$resolver" /G "$work/analog.cfg" /T 1 "${server_args[@]}")
    label="kestrum-dns /T 1 (baseline)"
  fi
  slow_asked=$(wc -l <"$work/queries")
  kill "$server_pid"
  printf 'addresses: %d, answer delay: %d ms\n' "$addresses" "$delay"
  printf '%s: %.1f s, %d look-ups, %.0f per second\n' "$label" "$slow" "$slow_asked" "$(echo "$slow_asked / $slow" | bc -l)"
  printf 'kestrum-dns /T %d: %.1f s, %d look-ups, %.0f per second\n' "$inflight" "$fast" "$fast_asked" "$(echo "$fast_asked / $fast" | bc -l)"
  printf 'ratio: %.1f (aim: >= 20)\n' "$(echo "($fast_asked / $fast) / ($slow_asked / $slow)" | bc -l)"
  printf 'kestrum-dns peak memory: %d kB for %d log lines, %d kB for %d (aim: flat)\n' \
    "$fast_kb" "$addresses" "$long_kb" "$((addresses * 10))"
}

why=""
if [ "$(id -u)" -ne 0 ]; then
  why="not root"
elif ! unshare --net --mount true 2>/dev/null; then
  why="unshare --net --mount is refused here"
fi
if [ -z "$why" ]; then
  # The comparison runs in a shell inside the namespace, on the same work folder.
  trap - EXIT
  unshare --net --mount \
    bash -c "$(declare -f measure start_server compare); work=$work; addresses=$addresses; \
             delay=$delay; inflight=$inflight; resolver=$resolver; server_script=$server_script; \
             ip link set lo up; echo 'nameserver 127.0.0.1' >$work/resolv.conf; \
             mount --bind $work/resolv.conf /etc/resolv.conf; compare analog"
  rm -rf "$work"
else
  echo "no private network namespace ($why): comparing against kestrum-dns /T 1 instead of the analyser"
  compare t1
fi
