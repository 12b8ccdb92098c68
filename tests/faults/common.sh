# Shared by the fault suites: scratch program directories, a forecast run,
# and the checks of what a run leaves. Sourced with the suite's arguments:
# MERIDAN DATA_DIR SEED_DIR (the archive fuzz seeds).
# shellcheck shell=bash
set -euo pipefail
meridan=$1
data=$2
seeds=$3
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

forecast() {  # DIR KIND NAME [OPTION...]
  "$meridan" forecast --kind "$2" --name "$3" --birth 20.05.1984 --start 05.2025 --dir "$1" "${@:4}"
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
  [ -z "$(sort <<<"$listing" | uniq -d)" ] || fail "$dir: the archive holds a name twice"
  for name in $(cd "$dir/Output" && ls); do
    [[ "$name" = Prognoz.zip || "$name" = Prognoz.zip.unreadable-* ]] && continue
    grep -qxF "$name" <<<"$listing" || fail "$dir: $name is not in the archive"
  done
}

no_leftovers() {  # DIR
  local left
  left=$(find "$1/Output" "$1/System" -name '.meridan-tmp-*')
  [ -z "$left" ] || fail "temporary files left behind: $left"
}

