#!/usr/bin/env bash
# The old archive as a hostile user or a failing disk leaves it: damaged
# data under whole headers, something that is no file or cannot be opened
# in its place, names that lead out of the folder, an end record hidden in
# the comment. Each run must end with an archive that tests whole, the
# entries of earlier forecasts kept where they are sound, and the old
# archive never lost when it cannot be updated.
#
# usage: archive_faults.sh MERIDAN DATA_DIR SEED_DIR
set -euo pipefail
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh" "$@"

# Overwrites four bytes in the middle of an entry's data.
damage() {  # ARCHIVE NAME
  python3 - "$1" "$2" <<'EOF'
import struct, sys
path, name = sys.argv[1], sys.argv[2].encode()
data = bytearray(open(path, 'rb').read())
at = data.find(b'PK\x03\x04')
while at >= 0:
    length, extra = struct.unpack_from('<HH', data, at + 26)
    if data[at + 30:at + 30 + length] == name:
        packed = struct.unpack_from('<I', data, at + 18)[0]
        start = at + 30 + length + extra + packed // 2 - 2
        data[start:start + 4] = bytes(b ^ 0x5A for b in data[start:start + 4])
        open(path, 'wb').write(data)
        sys.exit(0)
    at = data.find(b'PK\x03\x04', at + 1)
sys.exit('no entry ' + sys.argv[2])
EOF
}

# b_button.jpg's entry is not older than its file and its CRC is the
# file's: only its data shows the damage.
echo "damaged entry data: packed again from its file, or dropped in one line"
dir=$scratch/damaged
fresh "$dir"
echo "an earlier forecast's page" >"$dir/Output/Prog_01_2025.html"
forecast "$dir" trips Damaged >/dev/null 2>&1 || fail "the first run failed"
rm "$dir/Output/Prog_01_2025.html"
damage "$dir/Output/Prognoz.zip" b_button.jpg
damage "$dir/Output/Prognoz.zip" Prog_01_2025.html
forecast "$dir" trips Damaged >/dev/null 2>"$dir.err" || fail "the run over damaged data failed: $(cat "$dir.err")"
archive_matches_output "$dir"
[ "$(grep -c 'Prog_01_2025.html: its data does not unpack' "$dir.err")" = 1 ] ||
  fail "the dropped entry was not told in one line: $(cat "$dir.err")"

echo "an old archive that is no file: moved aside as it is, a fresh one written"
for kind in directory fifo socket; do
  dir=$scratch/old-$kind
  fresh "$dir"
  case $kind in
    directory) mkdir "$dir/Output/Prognoz.zip" && echo inside >"$dir/Output/Prognoz.zip/inside.html" ;;
    fifo) mkfifo "$dir/Output/Prognoz.zip" ;;
    socket) python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' \
      "$dir/Output/Prognoz.zip" ;;
  esac
  timeout 60 "$meridan" forecast --kind trips --name Old --birth 20.05.1984 --start 05.2025 \
    --dir "$dir" >/dev/null 2>"$dir.err" || fail "a run over an old $kind failed: $(cat "$dir.err")"
  archive_matches_output "$dir"
  kept=$(cd "$dir/Output" && ls -d Prognoz.zip.unreadable-*) || fail "the old $kind was not kept"
  [ "$(grep -c "is not a file but a.*$kept" "$dir.err")" = 1 ] ||
    fail "the old $kind was not told in one line: $(cat "$dir.err")"
  case $kind in
    directory) [ "$(cat "$dir/Output/$kept/inside.html")" = inside ] || fail "the directory changed" ;;
    fifo) [ -p "$dir/Output/$kept" ] || fail "the FIFO was not kept as one" ;;
    socket) [ -S "$dir/Output/$kept" ] || fail "the socket was not kept as one" ;;
  esac
done

echo "foreign entries whose names lead out of the folder: dropped in one line each"
dir=$scratch/foreign
fresh "$dir"
python3 - "$dir/Output/Prognoz.zip" <<'EOF'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    for name in ['../evil.html', '/etc/evil', 'notes/ok.txt', 'bell\a.txt']:
        z.writestr(zipfile.ZipInfo(name, (2024, 1, 1, 0, 0, 0)), 'data')
EOF
forecast "$dir" trips Foreign >/dev/null 2>"$dir.err" || fail "the run over foreign names failed"
[ "$(grep -c 'an entry of the old archive was dropped' "$dir.err")" = 3 ] ||
  fail "the hostile names were not told one a line: $(cat "$dir.err")"
unzip -tq "$dir/Output/Prognoz.zip" >/dev/null || fail "the archive does not test whole"
[ "$(unzip -Z1 "$dir/Output/Prognoz.zip" | grep -cv '^[A-Za-z0-9_.]*$')" = 1 ] ||
  fail "the archive holds other than notes/ok.txt beside the run's files: $(unzip -Z1 "$dir/Output/Prognoz.zip")"

echo "an end record inside the archive's comment: the entries of earlier forecasts stay"
dir=$scratch/comment
fresh "$dir"
python3 - "$dir/Output/Prognoz.zip" <<'EOF'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr(zipfile.ZipInfo('Prog_01_2025.html', (2024, 1, 1, 0, 0, 0)), 'an earlier page')
    z.comment = b'PK\x05\x06' + bytes(18)
EOF
forecast "$dir" trips Comment >/dev/null 2>&1 || fail "the run over a comment with an end record failed"
[ "$(unzip -p "$dir/Output/Prognoz.zip" Prog_01_2025.html)" = "an earlier page" ] ||
  fail "the earlier forecast's entry was lost"

# Another user's archive that the run's user cannot read: with setpriv, as
# nobody, on a program directory of nobody's.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  echo "an old archive the user cannot open: kept aside, or left and said when it cannot move"
  chmod 755 "$scratch"
  as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
  dir=$scratch/foreign-owner
  fresh "$dir"
  echo "root's archive" >"$dir/Output/Prognoz.zip"
  chown -R nobody:nogroup "$dir"
  chown root:root "$dir/Output/Prognoz.zip"
  chmod 600 "$dir/Output/Prognoz.zip"
  as_nobody "$meridan" forecast --kind trips --name Nobody --birth 20.05.1984 --start 05.2025 \
    --dir "$dir" >/dev/null 2>"$dir.err" || fail "a run over an archive it cannot open failed: $(cat "$dir.err")"
  archive_matches_output "$dir"
  grep -q "could not be opened (Permission denied); it is kept as Prognoz.zip.unreadable-" "$dir.err" ||
    fail "the archive it cannot open was not told: $(cat "$dir.err")"
  [ "$(cat "$dir"/Output/Prognoz.zip.unreadable-*)" = "root's archive" ] || fail "the old archive was not kept"

  # In a shared folder (sticky, root's) another user's file cannot be moved.
  dir=$scratch/sticky
  fresh "$dir"
  echo "root's archive" >"$dir/Output/Prognoz.zip"
  chown -R nobody:nogroup "$dir"
  chown root:root "$dir/Output" "$dir/Output/Prognoz.zip"
  chmod 1777 "$dir/Output"
  chmod 600 "$dir/Output/Prognoz.zip"
  status=0
  as_nobody "$meridan" forecast --kind trips --name Nobody --birth 20.05.1984 --start 05.2025 \
    --dir "$dir" >"$dir.out" 2>"$dir.err" || status=$?
  [ $status = 1 ] || fail "a run over an archive it can neither open nor move gave exit status $status"
  [ "$(grep -c . "$dir.out")" = 4 ] || fail "the pages were not all told: $(cat "$dir.out")"
  [ "$(grep -c '^meridan: ' "$dir.err")" = 1 ] &&
    grep -q "Cannot write archive .*could not be opened (Permission denied) and cannot be moved aside" "$dir.err" ||
    fail "the archive that could not be written was not told in one line: $(cat "$dir.err")"
  [ "$(cat "$dir/Output/Prognoz.zip")" = "root's archive" ] || fail "the old archive changed"
  for month in "${months[@]}"; do [ -s "$dir/Output/Prog_$month.html" ] || fail "a page is missing"; done
  no_leftovers "$dir"
else
  echo "  (the unopenable archive skipped: needs root and setpriv)"
fi

echo "all archive fault cases passed"
