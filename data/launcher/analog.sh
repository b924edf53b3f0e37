#!/bin/sh
# Starts the system's analog on the analog.cfg that Kestrum writes into the
# program folder (this launcher's own folder). -G skips the system-wide
# configuration, so the report depends on the profile alone. Further
# arguments are passed on. The analyser runs in the program folder, where
# the profile's "./" names (log, report, DNS cache) point.
program_dir=$(cd "$(dirname "$0")" && pwd) || exit 1
cd "$program_dir" || exit 1
exec /usr/bin/analog -G "+g$program_dir/analog.cfg" "$@"
