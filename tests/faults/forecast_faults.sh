#!/usr/bin/env bash
# Faults a forecast run meets in real hands, on scratch program directories:
# two runs in quick succession, several at once, runs killed midway, links
# planted where the run writes, a reader that goes away. Each case says what
# it checks; the first failure stops the suite with a message.
#
# usage: forecast_faults.sh MERIDAN DATA_DIR
# MERIDAN_FAULT_REPEAT (default 2) repeats the concurrent and killed runs.
set -euo pipefail
meridan=$1
data=$2
repeat=${MERIDAN_FAULT_REPEAT:-2}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

fresh() {  # a program directory with the shipped data
  rm -rf "$1"
  mkdir -p "$1"
  cp -r "$data/System" "$data/Output" "$1/"
}

forecast() {  # DIR KIND NAME
  "$meridan" forecast --kind "$2" --name "$3" --birth 20.05.1984 --start 05.2025 --dir "$1"
}

months=(05_2025 06_2025 07_2025 08_2025)

# Every file of Output/ but the archive is in the archive with the same bytes,
# and the archive holds nothing else but entries of files that are there.
archive_matches_output() {  # DIR
  local dir=$1 name listing
  unzip -tq "$dir/Output/Prognoz.zip" >/dev/null || fail "$dir: the archive does not test whole"
  listing=$(unzip -Z1 "$dir/Output/Prognoz.zip")
  for name in $listing; do
    [ -f "$dir/Output/$name" ] || fail "$dir: the archive holds $name, which Output/ does not"
    cmp -s <(unzip -p "$dir/Output/Prognoz.zip" "$name") "$dir/Output/$name" ||
      fail "$dir: the archive's $name is not the file's"
  done
  for name in $(cd "$dir/Output" && ls); do
    [ "$name" = Prognoz.zip ] && continue
    grep -qxF "$name" <<<"$listing" || fail "$dir: $name is not in the archive"
  done
}

no_leftovers() {  # DIR
  local left
  left=$(find "$1/Output" "$1/System" -name '.meridan-tmp-*')
  [ -z "$left" ] || fail "temporary files left behind: $left"
}

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

echo "all fault cases passed"
