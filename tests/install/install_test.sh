#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and uses the installed programs
# as a new user would (fresh HOME and XDG_DATA_HOME): the first start fills
# the per-user program folder and kestrum-cli run writes the report there; a
# later start keeps what the user changed and adds a newer installed template
# under its own name; a half-filled folder is completed; starts at the same
# time agree; the installed tree can be moved; and nothing is ever written
# into the installed tree.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$work/root cmake --install "$build" --prefix /usr >/dev/null
prefix=$work/root/usr
data=$prefix/share/kestrum
unset KESTRUM_PROGRAM_DIR KESTRUM_REGISTRY DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=offscreen HOME=$work/home XDG_DATA_HOME=$work/xdg
mkdir -p "$HOME" "$work/site"
user=$XDG_DATA_HOME/kestrum

# Everything about the installed tree that a write would change.
snapshot() { (cd "$work/root" && find . -printf '%p %y %m %s %T@ %l\n' | LC_ALL=C sort); }
installed_before=$(snapshot)

# --- First start: a run on a copy of the default template, from elsewhere.
cp "$data/Template/Default.Kestrum" "$work/site/Site.Kestrum"
out=$(cd "$work/site" && "$prefix/bin/kestrum-cli" run Site.Kestrum 2>"$work/err") ||
  fail "first run: $(cat "$work/err")"
[ "$(tail -n1 <<<"$out")" = "$user/Report.html" ] || fail "report path: $out"
grep -q "Analog" "$user/Report.html" || fail "no report in $user"
ls "$user"/Report_files/*.png >/dev/null || fail "no charts beside the report"
for name in Template/Default.Kestrum Template/PlainText.Kestrum TipOfDay.KestrumSettings; do
  [ -f "$user/$name" ] && [ ! -L "$user/$name" ] || fail "$name not copied"
  cmp -s "$user/$name" "$data/$name" || fail "$name differs from the installed one"
done
for link in analog:lib/kestrum/analog kestrum-dns:lib/kestrum/kestrum-dns \
  docs:share/kestrum/docs SampleAccess.log:share/kestrum/SampleAccess.log \
  QuickDNS.html:share/kestrum/QuickDNS.html; do
  [ "$(readlink "$user/${link%%:*}")" = "$prefix/${link#*:}" ] || fail "link ${link%%:*}"
done
# The control is registered in the user's registry and created from it.
[ "$("$prefix/bin/tellurix-host" get VersionPlatform 2>"$work/err")" = 2 ] ||
  fail "control not registered: $(cat "$work/err")"

# --- A later start keeps the user's change and adds a newer installed
# template under its own name; an unchanged copy follows the installed one.
scratch=$work/scratch # a program folder of its own for editing the files below
mkdir -p "$scratch"
edit() { KESTRUM_PROGRAM_DIR=$scratch "$prefix/bin/kestrum-cli" set "$@" >/dev/null; }
installed_after_runs=$(snapshot)
edit "$user/Template/Default.Kestrum" "ProfileName=Mine"
edit "$data/Template/Default.Kestrum" "ProfileName=Newer"
edit "$data/Template/PlainText.Kestrum" "ProfileName=Newer plain"
"$prefix/bin/kestrum-cli" dump "$work/site/Site.Kestrum" >/dev/null
profile_name() { "$prefix/bin/kestrum-cli" dump "$1" | sed -n 's/^ProfileName=//p'; }
[ "$(profile_name "$user/Template/Default.Kestrum")" = Mine ] || fail "user's template overwritten"
cmp -s "$user/Template/Default (installed).Kestrum" "$data/Template/Default.Kestrum" ||
  fail "newer template not added under its own name"
cmp -s "$user/Template/PlainText.Kestrum" "$data/Template/PlainText.Kestrum" ||
  fail "unchanged copy not updated"
listing() { (cd "$user" && find Template -printf '%p %s %T@\n' | LC_ALL=C sort); }
templates=$(listing)
"$prefix/bin/kestrum-cli" dump "$work/site/Site.Kestrum" >/dev/null
[ "$(listing)" = "$templates" ] || fail "a further start changed the templates"

# --- A half-filled folder is completed.
rm "$user/Template/PlainText.Kestrum" "$user/analog"
"$prefix/bin/kestrum-cli" dump "$work/site/Site.Kestrum" >/dev/null
[ -f "$user/Template/PlainText.Kestrum" ] && [ -L "$user/analog" ] || fail "not completed"

# --- Starts at the same time on an empty folder.
pids=()
for i in 1 2 3 4; do
  XDG_DATA_HOME=$work/xdg2 "$prefix/bin/kestrum-cli" dump "$work/site/Site.Kestrum" >/dev/null &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || fail "a concurrent start failed"; done
[ "$(ls "$work/xdg2/kestrum/Template")" = "$(printf 'Default.Kestrum\nPlainText.Kestrum')" ] ||
  fail "concurrent starts: $(ls "$work/xdg2/kestrum/Template")"

# --- Nothing but the edits above touched the installed tree.
[ "$installed_before" = "$installed_after_runs" ] ||
  fail "the programs wrote into the installed tree: $(diff <(echo "$installed_before") <(echo "$installed_after_runs"))"

# --- The installed tree moved elsewhere still works: links and the
# control's registration follow it.
mv "$work/root/usr" "$work/moved"
out=$(cd "$work/site" && "$work/moved/bin/kestrum-cli" run Site.Kestrum 2>"$work/err") ||
  fail "run after moving: $(cat "$work/err")"
[ "$(readlink "$user/analog")" = "$work/moved/lib/kestrum/analog" ] || fail "link not moved"
echo "install test passed"
