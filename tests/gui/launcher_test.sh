#!/bin/sh
# The installed launcher: installs the build into a temporary prefix, puts a
# stand-in in place of the program (it records where it was started and with
# what), and starts the launcher against a temporary XDG_DATA_HOME.
# Usage: launcher_test.sh BUILD_DIR
set -eu
. "$(dirname "$0")/../support/checks.sh"

prefix=$work/prefix
shared=$prefix/share/meridan-diru
cmake --install "$1" --prefix "$prefix" >/dev/null
check "program installed" test -x "$prefix/bin/meridan-diru"
check "desktop entry starts the launcher" grep -qx 'Exec=meridan-diru-launch' "$prefix/share/applications/meridan-diru.desktop"
check "icon installed" test -f "$prefix/share/icons/hicolor/scalable/apps/meridan-diru.svg"
printf '#!/bin/sh\npwd > "$MERIDAN_LAUNCH_RECORD"\necho "$*" >> "$MERIDAN_LAUNCH_RECORD"\necho "${MERIDAN_DIRU_KEPT_FILES-none}" > "$MERIDAN_LAUNCH_RECORD.kept"\n' > "$prefix/bin/meridan-diru"

user=$work/xdg/meridan-diru
export MERIDAN_LAUNCH_RECORD="$work/record" XDG_DATA_HOME="$work/xdg"
"$prefix/bin/meridan-diru-launch" one two
check "started in the user's program directory with the arguments" test "$(cat "$work/record")" = "$user
one two"
check "data copied on first start" cmp -s "$shared/System/go.dat" "$user/System/go.dat"
check "help copied on first start" cmp -s "$shared/help/10.html" "$user/help/10.html"
check "output directory made" test -d "$user/Output"

# The user's changes are kept; missing files come back.
echo "changed by the user" > "$user/System/go.dat"
rm "$user/System/sale.dat"
echo "a page of an earlier run" > "$user/Output/Prog_01_2026.html"
"$prefix/bin/meridan-diru-launch" 2> "$work/said"
check "changed file kept" test "$(cat "$user/System/go.dat")" = "changed by the user"
check "nothing new offered for it" test ! -e "$user/System/go.dat.new" -a ! -s "$work/said"
check "missing file restored" cmp -s "$shared/System/sale.dat" "$user/System/sale.dat"
check "earlier output kept" test -f "$user/Output/Prog_01_2026.html"

# An upgrade brings a corrected pluto.sys and new go.dat texts: the untouched
# pluto.sys is replaced; the edited go.dat is kept, the new one put beside
# it, and one line says so, once.
echo "corrected table" > "$shared/System/pluto.sys"
echo "new texts" > "$shared/System/go.dat"
"$prefix/bin/meridan-diru-launch" 2> "$work/said"
check "untouched file upgraded" cmp -s "$shared/System/pluto.sys" "$user/System/pluto.sys"
check "edited file kept" test "$(cat "$user/System/go.dat")" = "changed by the user"
check "new version beside it" cmp -s "$shared/System/go.dat" "$user/System/go.dat.new"
check "one line names it" sh -c '[ "$(wc -l < "$1")" -eq 1 ] && grep -q "System/go.dat;" "$1"' - "$work/said"
check "the program is told it for its window" test "$(cat "$work/record.kept")" = "System/go.dat"
MERIDAN_DIRU_KEPT_FILES=stale "$prefix/bin/meridan-diru-launch" 2> "$work/said"
check "said only once" test ! -s "$work/said" -a "$(cat "$work/record.kept")" = none

# A directory filled before checksums were kept: a file that differs from
# the installed one may be the user's work, so it is kept too.
rm "$user/.installed.sha256"
echo "corrected again" > "$shared/System/pluto.sys"
"$prefix/bin/meridan-diru-launch" 2> "$work/said"
check "unknown file kept" test "$(cat "$user/System/pluto.sys")" = "corrected table"
check "and offered beside" cmp -s "$shared/System/pluto.sys" "$user/System/pluto.sys.new"

# Without XDG_DATA_HOME the directory lies under ~/.local/share; started
# through a symbolic link, the launcher still finds its installation.
mkdir -p "$work/home"
ln -s "$prefix/bin/meridan-diru-launch" "$work/launch-link"
env -u XDG_DATA_HOME HOME="$work/home" "$work/launch-link"
check "default under the home directory, started through a link" \
  test -f "$work/home/.local/share/meridan-diru/System/pluto.sys"

finish "launcher"
