#!/bin/sh
# meridan outside a program directory: copies the staged program directory
# (the programs beside their data, as installed ones have theirs in the
# shared directory) and runs that meridan from a directory without System/,
# against a temporary XDG_DATA_HOME (and then HOME), as a user of the
# package would.
# Usage: user_program_dir_test.sh BUILD_DIR
set -eu
. "$(dirname "$0")/../support/checks.sh"

shared=$work/program
mkdir "$shared"
for part in meridan meridan-digest.so meridan-diru-setup System Output help; do
  cp -r "$1/program/$part" "$shared/"
done
mkdir "$work/elsewhere"
cd "$work/elsewhere"
user=$work/xdg/meridan-diru
export XDG_DATA_HOME="$work/xdg"

status=0
"$shared/meridan" forecast --kind trips --name Ivan --birth 20.05.1984 --start 12.2026 \
  >"$work/out" 2>"$work/err" || status=$?
check "forecast made" test "$status" -eq 0
check "first line names the user's directory" test "$(sed -n 1p "$work/err")" = \
  "meridan: working in your program directory $user (the current directory has no System/)"
check "set up as the launcher sets it up" test -f "$user/.installed.sha256"
check "data copied" cmp -s "$shared/System/go.dat" "$user/System/go.dat"
check "pages written there" test "$(sed -n 1p "$work/out")" = "$user/Output/Prog_12_2026.html"
check "archive written there" test -f "$user/Output/Prognoz.zip"
check "nothing written here" test -z "$(ls -A "$work/elsewhere")"

# The user's changes are kept as the launcher keeps them, and said once.
echo "changed by the user" >"$user/System/go.dat"
echo "new texts" >"$shared/System/go.dat"
"$shared/meridan" check-data >"$work/out" 2>"$work/err" || true
check "changed file kept" test "$(cat "$user/System/go.dat")" = "changed by the user"
check "new version beside it" cmp -s "$shared/System/go.dat" "$user/System/go.dat.new"
check "second line names it" test "$(sed -n 2p "$work/err")" = \
  "meridan: kept your changed System/go.dat; the new versions are beside them as .new files"

# A program directory is used as it is, without a word; a command that
# reads none sets none up.
(cd "$user" && "$shared/meridan" chart --birth 20.05.1984 >"$work/out" 2>"$work/err")
check "a program directory as it is" test ! -s "$work/err" -a -s "$work/out"
env -u XDG_DATA_HOME HOME="$work/home" "$shared/meridan" stations >/dev/null
check "stations sets nothing up" test ! -e "$work/home"

# Without XDG_DATA_HOME the directory lies under ~/.local/share; without a
# home either, the command says what to do.
mkdir "$work/home"
env -u XDG_DATA_HOME HOME="$work/home" "$shared/meridan" chart --birth 20.05.1984 >/dev/null 2>&1
check "default under the home directory" test -f "$work/home/.local/share/meridan-diru/System/pluto.sys"
status=0
env -u XDG_DATA_HOME -u HOME "$shared/meridan" chart --birth 20.05.1984 >"$work/out" 2>"$work/err" || status=$?
check "no home: status 1" test "$status" -eq 1 -a ! -s "$work/out"
check "no home: says to give --dir" grep -q "could not be set up: .*; give --dir PROGRAM_DIR" "$work/err"

finish "user program directory"
