# Sourced by the shell tests (after their own `set -eu`): a scratch
# directory $work removed on exit, check, which runs one test command and
# counts it if it fails, and finish, which ends the script by the count.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # description, then a test command
  description=$1
  shift
  if "$@"; then echo "ok: $description"; else echo "FAILED: $description"; failures=$((failures + 1)); fi
}
finish() {  # what the script checked, for its last line
  if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
  echo "$1: all checks passed"
}
