#!/usr/bin/env bash
# The files a user names for the PDF and the calendar: a target that is
# replaced keeps its protection, one the user could not write in place is
# refused in one line and left as it was, a name of the longest the file
# system takes is written, and the program's own output redirected to the
# target is never replaced under it. The pages and archive stand whatever
# becomes of the targets.
#
# usage: target_faults.sh MERIDAN DATA_DIR SEED_DIR
set -euo pipefail
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh" "$@"

mode_of() { stat -c '%a %U' "$1"; }

echo "a target of mode 600 stays 600; a name of 255 bytes is written"
dir=$scratch/modes
fresh "$dir"
long=$dir/$(printf 'p%.0s' {1..251}).ics
echo old >"$dir/private.pdf"
echo old >"$dir/private.ics"
chmod 600 "$dir/private.pdf" "$dir/private.ics"
forecast "$dir" trips Modes --pdf "$dir/private.pdf" --ics "$dir/private.ics" >/dev/null 2>"$dir.err" ||
  fail "the run with private targets failed: $(cat "$dir.err")"
[ "$(head -c 5 "$dir/private.pdf")" = "%PDF-" ] || fail "the PDF was not written"
grep -q BEGIN:VCALENDAR "$dir/private.ics" || fail "the calendar was not written"
[ "$(mode_of "$dir/private.pdf")" = "600 $(id -un)" ] || fail "the PDF's mode is $(mode_of "$dir/private.pdf")"
[ "$(mode_of "$dir/private.ics")" = "600 $(id -un)" ] || fail "the calendar's mode is $(mode_of "$dir/private.ics")"
forecast "$dir" trips Modes --ics "$long" >/dev/null 2>"$dir.err" || fail "a 255-byte name failed: $(cat "$dir.err")"
grep -q BEGIN:VCALENDAR "$long" || fail "the calendar with a 255-byte name was not written"

echo "--pdf /dev/stdout with the output in a file: refused, the page lines kept"
dir=$scratch/stdout
fresh "$dir"
status=0
forecast "$dir" trips Stdout --pdf /dev/stdout >"$dir.out" 2>"$dir.err" || status=$?
[ $status = 1 ] || fail "--pdf /dev/stdout into a file gave exit status $status"
[ "$(grep -c 'Output/Prog_' "$dir.out")" = 4 ] || fail "the page lines were lost: $(cat "$dir.out")"
[ "$(grep -c "where the program's own output goes" "$dir.err")" = 1 ] ||
  fail "the refusal was not said in one line: $(cat "$dir.err")"
archive_matches_output "$dir"

if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  echo "a read-only target and another user's: refused in one line, left as they were"
  chmod 755 "$scratch"
  dir=$scratch/readonly
  fresh "$dir"
  echo "read only" >"$dir/readonly.pdf"
  echo "root's" >"$dir/roots.ics"
  chown -R nobody:nogroup "$dir"
  chmod 444 "$dir/readonly.pdf"
  chown root:root "$dir/roots.ics"
  for option in "--pdf $dir/readonly.pdf" "--ics $dir/roots.ics"; do
    status=0
    # shellcheck disable=SC2086  # the option and its value
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$meridan" forecast --kind trips \
      --name Nobody --birth 20.05.1984 --start 05.2025 --dir "$dir" $option >/dev/null 2>"$dir.err" ||
      status=$?
    [ $status = 1 ] || fail "$option gave exit status $status"
    [ "$(grep -c 'Permission denied' "$dir.err")" = 1 ] || fail "$option was not refused in one line: $(cat "$dir.err")"
    archive_matches_output "$dir"
  done
  [ "$(cat "$dir/readonly.pdf")" = "read only" ] && [ "$(mode_of "$dir/readonly.pdf")" = "444 nobody" ] ||
    fail "the read-only target changed"
  [ "$(cat "$dir/roots.ics")" = "root's" ] && [ "$(mode_of "$dir/roots.ics")" = "644 root" ] ||
    fail "root's target changed"
  no_leftovers "$dir"
else
  echo "  (the targets of another user skipped: needs root and setpriv)"
fi

echo "all target fault cases passed"
