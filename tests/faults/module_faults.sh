#!/usr/bin/env bash
# Where the PDF digest's module is loaded from, and what may be loaded: a
# program away from its install loads nothing planted near it, a module
# others may change is refused, and a FIFO or device named as the module
# does not hold the run. Each refusal is one line, the pages and archive
# are written all the same and no PDF is left.
#
# usage: module_faults.sh MERIDAN DATA_DIR SEED_DIR
set -euo pipefail
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh" "$@"
module=$(dirname "$meridan")/meridan-digest.so

refused() {  # DIR WHAT: the run was refused its PDF in one line saying WHAT
  local dir=$1 what=$2
  [ "$(grep -c '^meridan: ' "$dir.err")" = 1 ] && grep -qF "$what" "$dir.err" ||
    fail "the module was not refused in one line with '$what': $(cat "$dir.err")"
  [ ! -e "$dir/forecast.pdf" ] || fail "a PDF was written"
  archive_matches_output "$dir"
}

run_pdf() {  # DIR [ENV...]: a forecast with --pdf, its exit status in $status
  local dir=$1
  status=0
  env "${@:2}" timeout 20 "$run_meridan" forecast --kind trips --name Module --birth 20.05.1984 \
    --start 05.2025 --dir "$dir" --pdf "$dir/forecast.pdf" >/dev/null 2>"$dir.err" || status=$?
  [ $status = 1 ] || fail "the run gave exit status $status (124: it hung): $(cat "$dir.err")"
}

echo "a program away from its install: a module planted in ../lib/meridan-diru is not loaded"
if command -v cc >/dev/null; then
  dir=$scratch/planted
  fresh "$dir"
  mkdir -p "$scratch/away/bin" "$scratch/away/lib/meridan-diru"
  cp "$meridan" "$scratch/away/bin/"
  printf '%s\n' '#include <fcntl.h>' \
    "__attribute__((constructor)) static void planted(void) { creat(\"$scratch/ran\", 0600); }" |
    cc -shared -fPIC -x c -o "$scratch/away/lib/meridan-diru/meridan-digest.so" -
  run_meridan=$scratch/away/bin/meridan
  run_pdf "$dir" -u MERIDAN_DIGEST_MODULE
  [ ! -e "$scratch/ran" ] || fail "the planted module ran"
  refused "$dir" "the PDF digest cannot be made: cannot open /"
else
  echo "  (skipped: no C compiler to make the planted module)"
fi
run_meridan=$meridan

echo "a module others may change, a FIFO, a directory: refused at once"
dir=$scratch/checks
cp "$module" "$scratch/writable.so"
chmod 666 "$scratch/writable.so"
mkfifo "$scratch/fifo.so"
for named in writable.so fifo.so /dev/zero /; do
  fresh "$dir"
  [[ $named = /* ]] || named=$scratch/$named
  run_pdf "$dir" MERIDAN_DIGEST_MODULE="$named"
  case $named in
    *writable.so) refused "$dir" "may be changed by other users; it is not loaded" ;;
    *) refused "$dir" "$named is not a regular file" ;;
  esac
done

if [ "$(id -u)" = 0 ]; then
  echo "a module that belongs to another user: refused"
  cp "$module" "$scratch/theirs.so"
  chown nobody "$scratch/theirs.so"
  fresh "$dir"
  run_pdf "$dir" MERIDAN_DIGEST_MODULE="$scratch/theirs.so"
  refused "$dir" "belongs to another user; it is not loaded"
else
  echo "  (another user's module skipped: needs root)"
fi

echo "all module fault cases passed"
