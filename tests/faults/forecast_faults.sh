#!/usr/bin/env bash
# Faults a forecast run meets in real hands, on scratch program directories:
# two runs in quick succession, several at once, runs killed midway, links
# planted where the run writes, a reader that goes away, FIFOs where it
# reads, lying or unreadable old archives, closed standard streams, a
# signal while the PDF is put in place. Each case says what it checks; the
# first failure stops the suite with a message.
#
# usage: forecast_faults.sh MERIDAN DATA_DIR SEED_DIR (the archive fuzz seeds)
# MERIDAN_FAULT_REPEAT (default 2) repeats the concurrent and killed runs.
set -euo pipefail
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh" "$@"
repeat=${MERIDAN_FAULT_REPEAT:-2}

# The pages and graphs a lone run of each kind writes.
for kind in trips service sale; do
  fresh "$scratch/ref-$kind"
  forecast "$scratch/ref-$kind" $kind "$kind" >/dev/null 2>&1 || fail "a lone $kind run failed"
done

# The four pages and graphs all come from one lone run (of any kind).
written_by_one_run() {  # DIR
  local kind month ext same
  for kind in trips service sale; do
    same=yes
    for month in "${months[@]}"; do
      for ext in html jpeg; do
        cmp -s "$1/Output/Prog_$month.$ext" "$scratch/ref-$kind/Output/Prog_$month.$ext" || same=no
      done
    done
    [ $same = yes ] && return 0
  done
  fail "$1: the pages and graphs are not those of any one lone run"
}

echo "two runs within a second: the archive holds the second"
dir=$scratch/twice
fresh "$dir"
forecast "$dir" trips Anna >/dev/null 2>&1
forecast "$dir" sale Boris >/dev/null 2>&1
grep -q Boris "$dir/Output/Prog_05_2025.html" || fail "the second run's page is not on disk"
unzip -p "$dir/Output/Prognoz.zip" Prog_05_2025.html >"$dir.page"
grep -q Boris "$dir.page" || fail "the archive kept Anna's page"
archive_matches_output "$dir"

echo "three runs at once, $repeat times: one at a time, each whole"
dir=$scratch/together
fresh "$dir"
for ((i = 0; i < repeat; i++)); do
  pids=()
  for kind in trips service sale; do
    "$meridan" forecast --kind $kind --name $kind --birth 20.05.1984 --start 05.2025 --dir "$dir" \
      >"$dir.$kind.out" 2>"$dir.$kind.err" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || fail "a concurrent run failed: $(cat "$dir".*.err)"; done
  written_by_one_run "$dir"
  archive_matches_output "$dir"
  no_leftovers "$dir"
done

echo "runs killed at random moments, $((3 * repeat)) times, then a whole run"
dir=$scratch/killed
fresh "$dir"
for ((i = 0; i < 3 * repeat; i++)); do
  # meridan itself in the background, not a subshell around it: the kill
  # must reach the run.
  "$meridan" forecast --kind sale --name "Killed $i" --birth 20.05.1984 --start 05.2025 \
    --dir "$dir" >/dev/null 2>&1 &
  pid=$!
  sleep "0.0$((RANDOM % 60 + 5))"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
done
forecast "$dir" trips trips >/dev/null 2>&1 || fail "the run after the killed ones failed"
no_leftovers "$dir"
written_by_one_run "$dir"
archive_matches_output "$dir"

echo "links planted at every name the run writes: their targets stay untouched"
dir=$scratch/links
fresh "$dir"
mkdir "$dir/victims"
names=(System/tmp.bmp System/tmp.dat Output/Prognoz.zip)
for month in "${months[@]}"; do names+=("Output/Prog_$month.html" "Output/Prog_$month.jpeg"); done
for name in "${names[@]}"; do
  victim=$dir/victims/$(basename "$name")
  echo "precious $name" >"$victim"
  ln -s "$victim" "$dir/$name"
done
forecast "$dir" service service >/dev/null 2>&1 || fail "a run with planted links failed"
for name in "${names[@]}"; do
  [ "$(cat "$dir/victims/$(basename "$name")")" = "precious $name" ] || fail "the target of $name was written"
  [ -f "$dir/$name" ] && [ ! -L "$dir/$name" ] || fail "$name is not a file of the run's own"
done
written_by_one_run "$dir"

echo "a reader that goes away: all four months written, the failure said"
dir=$scratch/pipe
fresh "$dir"
set +o pipefail
status=$( { forecast "$dir" sale sale 2>"$dir.err"; echo $? >"$dir.status"; } | head -c 1 >/dev/null)
set -o pipefail
[ "$(cat "$dir.status")" = 1 ] || fail "a closed output pipe gave exit status $(cat "$dir.status"), not 1"
grep -q "could not be written" "$dir.err" || fail "the closed output was not reported: $(cat "$dir.err")"
written_by_one_run "$dir"
archive_matches_output "$dir"

echo "a FIFO where the run reads: refused at once, in one line, the lock let go"
for name in System/go.dat System/month.bmp System/pluto.sys; do
  dir=$scratch/fifo
  fresh "$dir"
  rm -f "$dir/$name"
  mkfifo "$dir/$name"
  commands=("forecast --kind trips --name Fifo --birth 20.05.1984 --start 05.2025")
  [ "$name" = System/pluto.sys ] && commands+=("positions --date 20.05.1984")
  [ "$name" = System/go.dat ] && commands+=(check-data)
  for command in "${commands[@]}"; do
    status=0
    # shellcheck disable=SC2086  # the command's words
    timeout 20 "$meridan" $command --dir "$dir" >"$dir.out" 2>"$dir.err" || status=$?
    [ $status != 124 ] || fail "${command%% *} with a FIFO at $name hangs"
    [ $status = 1 ] || fail "${command%% *} with a FIFO at $name gave exit status $status"
    grep -qF "$dir/$name\". Not a regular file (a FIFO)" "$dir.out" "$dir.err" ||
      fail "${command%% *} with a FIFO at $name did not say so: $(cat "$dir.out" "$dir.err")"
    # check-data reports on stdout, file by file.
    [ "$command" = check-data ] || [ "$(grep -c '^meridan: ' "$dir.err")" = 1 ] ||
      fail "${command%% *} took more than one line for the FIFO at $name: $(cat "$dir.err")"
  done
done

echo "an old archive that multiplies, repeats or mislabels its entries, or is none"
for seed in shared_record repeated_name swapped_names garbage; do
  dir=$scratch/archive-$seed
  fresh "$dir"
  if [ $seed = garbage ]; then
    echo "not a zip archive" >"$dir/Output/Prognoz.zip"
  else
    cp "$seeds/$seed.zip" "$dir/Output/Prognoz.zip"
  fi
  cp "$dir/Output/Prognoz.zip" "$dir.old"
  forecast "$dir" trips "$seed" >/dev/null 2>"$dir.err" || fail "a run over $seed.zip failed: $(cat "$dir.err")"
  archive_matches_output "$dir"
done
kept=$(ls "$dir/Output/" | grep '^Prognoz\.zip\.unreadable-[0-9]\{8\}-[0-9]\{6\}$') ||
  fail "the unreadable archive was not kept: $(ls "$dir/Output")"
cmp -s "$dir/Output/$kept" "$dir.old" || fail "the kept archive is not the old one"
[ "$(grep -c "$kept" "$dir.err")" = 1 ] || fail "the kept archive was not told in one line: $(cat "$dir.err")"

echo "--pdf to a FIFO: the PDF goes into it, the FIFO stays"
dir=$scratch/pdf-fifo
fresh "$dir"
mkfifo "$dir/viewer"
timeout 20 cat "$dir/viewer" >"$dir/got.pdf" &
reader=$!
forecast "$dir" trips Pipe --pdf "$dir/viewer" >/dev/null 2>"$dir.err" || fail "--pdf to a FIFO failed: $(cat "$dir.err")"
wait $reader || fail "the FIFO's reader got no end of file"
[ -p "$dir/viewer" ] || fail "the FIFO given to --pdf was replaced"
[ "$(head -c 5 "$dir/got.pdf")" = "%PDF-" ] || fail "the FIFO did not carry the PDF"

echo "closed stdout and stderr: nothing goes into the lock file"
dir=$scratch/closed
fresh "$dir"
status=0
forecast "$dir" trips Closed >&- 2>"$dir.err" || status=$?
[ $status = 1 ] || fail "a run with stdout closed gave exit status $status"
grep -q "could not be written" "$dir.err" || fail "the closed stdout was not reported: $(cat "$dir.err")"
forecast "$dir" trips Closed >/dev/null 2>&- || fail "a run with stderr closed failed"
[ ! -s "$dir/System/.meridan.lock" ] || fail "output went into the lock file: $(head -c 200 "$dir/System/.meridan.lock")"

echo "SIGTERM just as the PDF is renamed into place: nothing left beside it"
dir=$scratch/signal
fresh "$dir"
mkdir "$dir/pdfs"
renames=rename,renameat,renameat2
signalled() {  # DIR STRACE_OPTION...
  # LeakSanitizer cannot work under a tracer.
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 strace -f -o "$1.trace" -e trace=$renames "${@:2}" "$meridan" forecast --kind trips \
    --name Signal --birth 20.05.1984 --start 05.2025 --dir "$1" --pdf "$1/pdfs/forecast.pdf"
}
if strace -o /dev/null true 2>/dev/null; then
  # The PDF's rename is a run's last: counted in a run like it, then kept
  # from happening in this one and replaced by the signal.
  fresh "$dir.count"
  mkdir "$dir.count/pdfs"
  signalled "$dir.count" >/dev/null 2>&1 || fail "a run under strace failed"
  last=$(grep -c 'rename' "$dir.count.trace")
  grep 'rename' "$dir.count.trace" | tail -1 | grep -q 'forecast\.pdf"' || fail "the PDF's rename is not the last"
  signalled "$dir" -e inject=$renames:error=EINTR:signal=TERM:when=$last >/dev/null 2>&1 &&
    fail "the signalled run went on"
  grep -q 'rename.*forecast\.pdf.*EINTR' "$dir.trace" || fail "the signal came elsewhere"
  [ -z "$(ls -A "$dir/pdfs")" ] || fail "left beside the PDF: $(ls -A "$dir/pdfs")"
else
  echo "  (skipped: strace cannot trace here)"
fi

echo "all fault cases passed"
