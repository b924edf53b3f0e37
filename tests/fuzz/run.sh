#!/usr/bin/env bash
# Builds the file-reader fuzzers with clang's libFuzzer (and AddressSanitizer)
# and runs each for a bounded time, starting from seeds: the bundled templates
# (when PROGRAM_DIR is given), a few settings files, whole and damaged, and
# the analog.cfg files of the tests, and a certificate pin file.
# Usage: run.sh [SECONDS_EACH] [WORK_DIR] [PROGRAM_DIR]; 0 seconds only builds.
# A fuzzer is rebuilt only when a source is newer than it.
set -euo pipefail
seconds=${1:-30}
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../src" && pwd)
work=${2:-$(mktemp -d)}
program_dir=${3:-}
mkdir -p "$work"

flags=(-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -I"$src" $(pkg-config --cflags Qt6Core))
libs=($(pkg-config --libs Qt6Core))
common=("$src/platform/Ansi.cpp" "$src/platform/BinaryRecord.cpp" "$src/platform/FileIO.cpp")

build() { # name sources...
  local name=$1; shift
  local newer
  newer=$(find "$@" "${common[@]}" "$src"/platform/*.h "$src"/profile/*.h "$src"/profile/*.def \
    "$src"/shell/Settings.h "$src"/runs/*.h -newer "$work/$name" 2>/dev/null | head -1) || true
  if [ -x "$work/$name" ] && [ -z "$newer" ]; then
    return
  fi
  clang++ "${flags[@]}" "$@" "${common[@]}" "${libs[@]}" -o "$work/$name"
}
build profile_reader "$here/ProfileReaderFuzz.cpp" "$src/profile/Profile.cpp" "$src/profile/ProfileFile.cpp" \
  "$src/profile/ProfileText.cpp" "$src/profile/LeadingNumber.cpp"
build settings_reader "$here/SettingsReaderFuzz.cpp" "$src/shell/Settings.cpp"
build config_import "$here/ConfigImportFuzz.cpp" "$src/profile/Profile.cpp" "$src/profile/CommandReader.cpp" \
  "$src/profile/ConfigImport.cpp" "$src/profile/ConfigWriter.cpp" "$src/profile/ListKeywords.cpp" \
  "$src/profile/ProfileFile.cpp" \
  "$src/platform/Messages.cpp"
build certificate_pins "$here/CertificatePinsFuzz.cpp" "$src/runs/CertificatePins.cpp" "$src/runs/SshHostKeys.cpp"

[ "$seconds" -gt 0 ] || exit 0

mkdir -p "$work/seeds-profile_reader" "$work/seeds-settings_reader" "$work/seeds-config_import" \
  "$work/seeds-certificate_pins"
printf '# pins\n127.0.0.1:21 %s\r\nhost:990 %s\n' "$(printf '0F:%.0s' $(seq 31))0F" \
  "$(printf 'ab:%.0s' $(seq 31))ab" > "$work/seeds-certificate_pins/pins.txt"
cp "$here"/../e2e/data/import/*.cfg "$here"/../profile/data/*.cfg "$work/seeds-config_import/"
if [ -n "$program_dir" ] && compgen -G "$program_dir/Template/*.Kestrum" >/dev/null; then
  cp "$program_dir"/Template/*.Kestrum "$work/seeds-profile_reader/"
fi
python3 "$here/make_settings_seeds.py" "$work/seeds-settings_reader"

for name in profile_reader settings_reader config_import certificate_pins; do
  mkdir -p "$work/corpus-$name"
  echo "fuzzing $name for ${seconds}s"
  # -rss_limit_mb bounds memory: a reader that allocates from unchecked
  # lengths fails here.
  "$work/$name" -max_total_time="$seconds" -rss_limit_mb=1024 -max_len=20000 -artifact_prefix="$work/" \
    -print_final_stats=1 "$work/corpus-$name" "$work/seeds-$name" 2>"$work/$name.log" || {
    tail -40 "$work/$name.log"
    exit 1
  }
  grep -E 'stat::number_of_executed_units|stat::peak_rss' "$work/$name.log" || true
done
echo "fuzzing passed"
