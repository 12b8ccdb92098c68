#!/usr/bin/env bash
# Limits of the format and of the machine: a file too large for a ZIP
# archive, an old archive nearly full, parts of Output/ the user cannot
# read, a file size limit, a scratch file that cannot be written, limits on
# processes and address space that keep the PDF's libraries from starting. Each run
# writes its pages and an archive that tests whole, says what it left out
# in one line each, and never dies without a word.
#
# usage: limit_faults.sh MERIDAN DATA_DIR SEED_DIR
set -euo pipefail
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh" "$@"

# The archive tests whole and holds every file of Output/ but those named.
archive_holds_all_but() {  # DIR NAME...
  local dir=$1 name listing
  unzip -tq "$dir/Output/Prognoz.zip" >/dev/null || fail "$dir: the archive does not test whole"
  listing=$(unzip -Z1 "$dir/Output/Prognoz.zip")
  while IFS= read -r name; do
    [[ " ${*:2} " = *" $name "* || "$name" = Prognoz.zip* ]] && continue
    grep -qxF "$(basename "$name")" <<<"$listing" || fail "$dir: $name is not in the archive"
  done < <(cd "$dir/Output" && find . -type f | sed 's|^\./||')
  for name in "${@:2}"; do
    ! grep -qF "$(basename "$name")" <<<"$listing" || fail "$dir: $name went into the archive"
  done
}

echo "a file too large for the format: left out by its size, unread, with its name"
dir=$scratch/large
fresh "$dir"
mkdir "$dir/Output/videos"
truncate -s 4500000000 "$dir/Output/videos/trip.avi"
forecast "$dir" trips Large >/dev/null 2>"$dir.err" || fail "a run beside a large file failed: $(cat "$dir.err")"
grep -q "Output/videos/trip.avi is left out of the archive: too large for a ZIP archive" "$dir.err" ||
  fail "the large file was not named: $(cat "$dir.err")"
archive_holds_all_but "$dir" videos/trip.avi

echo "an old archive too full for this forecast's files: kept aside, a fresh one written"
dir=$scratch/full
fresh "$dir"
python3 - "$dir/Output/Prognoz.zip" <<'EOF'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_STORED) as z:
    for i in range(65520):
        z.writestr(zipfile.ZipInfo('old/%05d.txt' % i, (2024, 1, 1, 0, 0, 0)), '')
EOF
cp "$dir/Output/Prognoz.zip" "$dir.old"
forecast "$dir" trips Full >/dev/null 2>"$dir.err" || fail "a run over a full archive failed: $(cat "$dir.err")"
archive_matches_output "$dir"
kept=$(cd "$dir/Output" && ls Prognoz.zip.unreadable-*) || fail "the full archive was not kept"
cmp -s "$dir/Output/$kept" "$dir.old" || fail "the kept archive is not the old one"
[ "$(grep -c "would outgrow a ZIP archive without ZIP64.*$kept" "$dir.err")" = 1 ] ||
  fail "the full archive was not told in one line: $(cat "$dir.err")"

echo "a file size limit: the write that passes it fails and is said, the rest is written"
dir=$scratch/fsize
fresh "$dir"
status=0
# 200 KB: the pages, graphs and archive fit, the scratch bitmap does not.
(ulimit -f 200 && forecast "$dir" trips Limit >/dev/null 2>"$dir.err") || status=$?
[ $status = 1 ] || fail "a run under a file size limit gave exit status $status: $(cat "$dir.err")"
[ "$(grep -c '^meridan: ' "$dir.err")" = 1 ] && grep -q "tmp.bmp\". File too large" "$dir.err" ||
  fail "the failed write was not said in one line: $(cat "$dir.err")"
archive_matches_output "$dir"
no_leftovers "$dir"

echo "a scratch file that cannot be written: the pages and archive are, the failure said"
dir=$scratch/scratch-dir
fresh "$dir"
mkdir "$dir/System/tmp.dat"
status=0
forecast "$dir" trips Scratch >"$dir.out" 2>"$dir.err" || status=$?
[ $status = 1 ] || fail "a run with a directory at tmp.dat gave exit status $status"
[ "$(grep -c '^meridan: ' "$dir.err")" = 1 ] && grep -q "System/tmp.dat" "$dir.err" ||
  fail "the scratch file was not said in one line: $(cat "$dir.err")"
[ "$(grep -c . "$dir.out")" = 4 ] || fail "the pages were not all told: $(cat "$dir.out")"
archive_matches_output "$dir"

echo "--pdf where the PDF's libraries cannot start a thread: said in one line, the pages kept"
# Root is above a limit on processes: the run is nobody's then. Another
# user's own processes may already fill the limit, which the run says too.
as_user=()
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  chmod 755 "$scratch"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
for limit in 1 2; do
  dir=$scratch/nproc-$limit
  fresh "$dir"
  [ ${#as_user[@]} = 0 ] || chown -R nobody:nogroup "$dir"
  status=0
  # A sanitizer's leak check needs a thread of its own at exit, which the
  # limit refuses: not the program's doing.
  env ASAN_OPTIONS=detect_leaks=0 "${as_user[@]}" prlimit --nproc=$limit "$meridan" forecast --kind trips --name Threads \
    --birth 20.05.1984 --start 05.2025 --dir "$dir" --pdf "$dir/forecast.pdf" >"$dir.out" 2>"$dir.err" ||
    status=$?
  [ $status = 1 ] || fail "--nproc=$limit gave exit status $status: $(cat "$dir.err")"
  [ "$(grep -c . "$dir.err" | tr -d ' ')" = "$(grep -c ': done$' "$dir.err" | awk '{print $1 + 1}')" ] &&
    grep -q '^meridan: the PDF was not written (the pages and the archive are): the PDF digest cannot be made: ' "$dir.err" ||
    fail "--nproc=$limit was not said in one line: $(cat "$dir.err")"
  [ "$(grep -c 'Output/Prog_' "$dir.out")" = 4 ] || fail "the pages were not all told: $(cat "$dir.out")"
  [ ! -e "$dir/forecast.pdf" ] || fail "a PDF was written under --nproc=$limit"
  archive_matches_output "$dir"
done

# Parts of Output/ that the run's user cannot read: with setpriv, as nobody.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  echo "a subdirectory and a file of Output/ the user cannot read: left out with their paths"
  chmod 755 "$scratch"
  dir=$scratch/unreadable
  fresh "$dir"
  mkdir "$dir/Output/private"
  echo "root's note" >"$dir/Output/private/note.html"
  echo "root's page" >"$dir/Output/secret.html"
  chown -R nobody:nogroup "$dir"
  chown -R root:root "$dir/Output/private" "$dir/Output/secret.html"
  chmod 700 "$dir/Output/private"
  chmod 600 "$dir/Output/secret.html"
  setpriv --reuid=nobody --regid=nogroup --clear-groups "$meridan" forecast --kind trips \
    --name Nobody --birth 20.05.1984 --start 05.2025 --dir "$dir" >/dev/null 2>"$dir.err" ||
    fail "a run beside unreadable parts of Output/ failed: $(cat "$dir.err")"
  for name in private secret.html; do
    [ "$(grep -c "Output/$name is left out of the archive: Permission denied" "$dir.err")" = 1 ] ||
      fail "$name was not named in one line: $(cat "$dir.err")"
  done
  archive_holds_all_but "$dir" private/note.html secret.html
else
  echo "  (the unreadable parts of Output/ skipped: needs root and setpriv)"
fi

echo "all limit fault cases passed"
