#!/bin/sh
# The installed launcher: installs the build into a temporary prefix, puts a
# stand-in in place of the program (it records where it was started and with
# what), and starts the launcher against a temporary XDG_DATA_HOME.
# Usage: launcher_test.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # description, then a test command
  description=$1
  shift
  if "$@"; then echo "ok: $description"; else echo "FAILED: $description"; failures=$((failures + 1)); fi
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
prefix=$work/prefix
check "launcher installed" test -x "$prefix/bin/meridan-diru-launch"
check "program installed" test -x "$prefix/bin/meridan-diru"
check "desktop entry starts the launcher" grep -qx 'Exec=meridan-diru-launch' "$prefix/share/applications/meridan-diru.desktop"
check "icon installed" test -f "$prefix/share/icons/hicolor/scalable/apps/meridan-diru.svg"
check "data installed" test -f "$prefix/share/meridan-diru/System/pluto.sys"
check "help installed" test -f "$prefix/share/meridan-diru/help/10.html"

cat > "$prefix/bin/meridan-diru" <<'STUB'
#!/bin/sh
pwd > "$MERIDAN_LAUNCH_RECORD"
echo "$*" >> "$MERIDAN_LAUNCH_RECORD"
STUB
chmod +x "$prefix/bin/meridan-diru"

user=$work/xdg/meridan-diru
export MERIDAN_LAUNCH_RECORD="$work/record"
XDG_DATA_HOME=$work/xdg "$prefix/bin/meridan-diru-launch" one two
check "started in the user's program directory" test "$(sed -n 1p "$work/record")" = "$user"
check "arguments passed on" test "$(sed -n 2p "$work/record")" = "one two"
check "data copied on first start" cmp -s "$prefix/share/meridan-diru/System/go.dat" "$user/System/go.dat"
check "help copied on first start" cmp -s "$prefix/share/meridan-diru/help/10.html" "$user/help/10.html"
check "output directory made" test -d "$user/Output"

# The user's files are never overwritten; only missing ones come back.
echo "changed by the user" > "$user/System/go.dat"
rm "$user/System/sale.dat"
echo "a page of an earlier run" > "$user/Output/Prog_01_2026.html"
XDG_DATA_HOME=$work/xdg "$prefix/bin/meridan-diru-launch"
check "changed file kept" test "$(cat "$user/System/go.dat")" = "changed by the user"
check "missing file restored" cmp -s "$prefix/share/meridan-diru/System/sale.dat" "$user/System/sale.dat"
check "earlier output kept" test -f "$user/Output/Prog_01_2026.html"

# Without XDG_DATA_HOME the directory lies under ~/.local/share.
mkdir -p "$work/home"
env -u XDG_DATA_HOME HOME="$work/home" "$prefix/bin/meridan-diru-launch"
check "default under the home directory" test "$(sed -n 1p "$work/record")" = "$work/home/.local/share/meridan-diru"

# Started through a symbolic link, it still finds its installation.
ln -s "$prefix/bin/meridan-diru-launch" "$work/launch-link"
XDG_DATA_HOME=$work/xdg2 "$work/launch-link"
check "started through a link" test -f "$work/xdg2/meridan-diru/System/pluto.sys"

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "launcher: all checks passed"
