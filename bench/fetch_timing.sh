# Timing of fetch commands, sourced by the fetch benchmarks. Expects $work
# with a local/ folder the fetched files land in; each timing starts with it
# empty and flushed.

now() { date +%s.%N; }
best() { python3 -c "import sys; print(min(float(x) for x in sys.argv[1:]))" "$@"; }
clear_local() { rm -f "$work"/local/*; sync; }

timed() { # command... -> seconds
  clear_local
  local start end
  start=$(now)
  "$@" > /dev/null
  end=$(now)
  python3 -c "print($end - $start)"
}
