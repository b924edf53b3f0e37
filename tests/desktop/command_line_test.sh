#!/usr/bin/env bash
# --help and --version of every program work without a display and print on
# standard output; a wrong option is a usage error (exit 2, usage on
# standard error, nothing on standard output).
# Usage: command_line_test.sh PROGRAM_DIR VERSION
set -uo pipefail
dir=$1 version=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

# run PROGRAM ARGS...: the program without any display, into $out and $err;
# sets status.
run() {
  local program=$1
  shift
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$dir/$program" "$@" \
    >"$out" 2>"$err"
  status=$?
}

# expect WHAT STATUS FIRST_LINE_ON_STDOUT STDERR_HOLDS PROGRAM ARGS...
# (an empty FIRST_LINE means stdout must be empty; an empty STDERR_HOLDS
# means stderr must be empty).
expect() {
  local what=$1 want_status=$2 first_line=$3 err_holds=$4
  shift 4
  run "$@"
  [ "$status" -eq "$want_status" ] || fail "$what: exit $status, not $want_status: $(head -3 "$err")"
  if [ -n "$first_line" ]; then
    [ "$(head -1 "$out")" = "$first_line" ] || fail "$what: stdout starts '$(head -1 "$out")'"
  else
    [ -s "$out" ] && fail "$what: printed on stdout: $(head -1 "$out")"
  fi
  if [ -n "$err_holds" ]; then
    grep -qF -- "$err_holds" "$err" || fail "$what: stderr lacks '$err_holds': $(head -3 "$err")"
  else
    [ -s "$err" ] && fail "$what: printed on stderr: $(head -3 "$err")"
  fi
}

for program in kestrum kestrum-cli tellurix-host kestrum-dns; do
  run "$program" --help
  [ "$status" -eq 0 ] || fail "$program --help: exit $status: $(head -3 "$err")"
  head -1 "$out" | grep -q "^Usage: $program " || fail "$program --help: '$(head -1 "$out")'"
  [ -s "$err" ] && fail "$program --help: printed on stderr: $(head -3 "$err")"
  expect "$program --version" 0 "$program $version" "" "$program" --version
  expect "$program --no-such-option" 2 "" "Usage: $program " "$program" --no-such-option
done

# kestrum-cli: one command's usage, and usage errors show that command's usage.
expect "help dump" 0 "Usage: kestrum-cli dump PROFILE" "" kestrum-cli help dump
grep -q "set PROFILE" "$out" && fail "help dump shows other commands"
expect "dump --help" 0 "Usage: kestrum-cli dump PROFILE" "" kestrum-cli dump --help
expect "help" 0 "Usage: kestrum-cli COMMAND [ARGUMENT...]" "" kestrum-cli help
expect "help of an unknown command" 2 "" 'unknown command "nosuch"' kestrum-cli help nosuch
expect "help of two commands" 2 "" "Usage: kestrum-cli help [COMMAND]" kestrum-cli help dump set
expect "dump without a profile" 2 "" "Usage: kestrum-cli dump PROFILE" kestrum-cli dump
expect "no command" 2 "" "Usage: kestrum-cli COMMAND" kestrum-cli

[ "$failures" -eq 0 ] || exit 1
echo "command lines: all checks passed"
