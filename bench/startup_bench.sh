#!/usr/bin/env bash
# Cold start of kestrum to its main window shown (splash and tip of the day
# off, the default template), against an empty QMainWindow program started
# the same way in the same run; prints both medians and their ratio.
# Runs under Xvfb when xvfb-run is there, else on the offscreen platform.
# usage: bench/startup_bench.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
rounds=${2:-20}
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target kestrum kestrum_data bare_window -j2 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A program folder of its own: no settings file, so no New/Open dialog and
# no tip of the day; the control registered by the build.
mkdir "$work/folder"
cp -r "$build/Kestrum/Template" "$build/Kestrum/SampleAccess.log" "$work/folder/"

cat > "$work/measure.py" <<'PY'
import os, signal, statistics, subprocess, sys, time
rounds, kestrum, bare = int(sys.argv[1]), sys.argv[2], sys.argv[3]
env = dict(os.environ, KESTRUM_ANNOUNCE_SHOWN="1", KESTRUM_NO_SPLASH="1")
def start(program):
    t0 = time.perf_counter()
    p = subprocess.Popen([program], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    line = p.stdout.readline()
    elapsed = time.perf_counter() - t0
    p.send_signal(signal.SIGTERM)
    try:
        p.wait(10)
    except subprocess.TimeoutExpired:
        p.kill()
    if not line.startswith(b"shown"):
        sys.exit(f"{program} did not show its window")
    return elapsed
times = {"kestrum": [], "bare": []}
start(kestrum); start(bare)  # warm the file cache once
for _ in range(rounds):
    times["kestrum"].append(start(kestrum))
    times["bare"].append(start(bare))
k, b = statistics.median(times["kestrum"]), statistics.median(times["bare"])
print(f"kestrum window shown: {k:.3f} s (median of {rounds})")
print(f"bare QMainWindow:     {b:.3f} s")
print(f"ratio:                {k / b:.2f} (aim: at most 1.5)")
PY
run=(python3 "$work/measure.py" "$rounds" "$build/Kestrum/kestrum" "$build/bench/bare_window")

export KESTRUM_PROGRAM_DIR="$work/folder" KESTRUM_REGISTRY="$build/Kestrum/registry"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1024x768x24" "${run[@]}"
else
  QT_QPA_PLATFORM=offscreen "${run[@]}"
fi
