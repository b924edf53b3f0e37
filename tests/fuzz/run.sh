#!/usr/bin/env bash
# Builds the file-reader fuzzers with clang's libFuzzer (and AddressSanitizer)
# and runs each for a bounded time. Usage: run.sh [SECONDS_EACH] [WORK_DIR]
set -euo pipefail
seconds=${1:-30}
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../src" && pwd)
work=${2:-$(mktemp -d)}
mkdir -p "$work"

flags=(-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -I"$src" $(pkg-config --cflags Qt6Core))
libs=($(pkg-config --libs Qt6Core))
common=("$src/platform/Ansi.cpp" "$src/platform/BinaryRecord.cpp" "$src/platform/FileIO.cpp")

build() { # name sources...
  local name=$1; shift
  clang++ "${flags[@]}" "$@" "${common[@]}" "${libs[@]}" -o "$work/$name"
}
build profile_reader "$here/ProfileReaderFuzz.cpp" "$src/profile/Profile.cpp" "$src/profile/ProfileFile.cpp" \
  "$src/profile/ProfileText.cpp" "$src/profile/LeadingNumber.cpp"
build settings_reader "$here/SettingsReaderFuzz.cpp" "$src/shell/Settings.cpp"

for name in profile_reader settings_reader; do
  mkdir -p "$work/corpus-$name"
  echo "fuzzing $name for ${seconds}s"
  # -rss_limit_mb bounds memory: a reader that allocates from unchecked
  # lengths fails here.
  "$work/$name" -max_total_time="$seconds" -rss_limit_mb=1024 -max_len=20000 \
    -print_final_stats=1 "$work/corpus-$name" 2>"$work/$name.log" || {
    tail -40 "$work/$name.log"
    exit 1
  }
  grep -E 'stat::number_of_executed_units' "$work/$name.log" || true
done
echo "fuzzing passed"
