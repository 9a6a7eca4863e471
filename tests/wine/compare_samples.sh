#!/usr/bin/env bash
# Converts every sample report with the Linux program and with rptconv.exe
# under Wine, and checks that both give the same console lines and the same
# page bytes, as .htm and as .hta, in the classic and the modern style; and
# the same data as JSON and as NDJSON; and the same comparisons of the
# samples, as pages and as data (JSON and NDJSON).
#
#   compare_samples.sh LINUX_RPTCONV RPTCONV_EXE SAMPLES_DIR EMULATOR...
set -euo pipefail

if [[ $# -lt 4 ]]; then
  echo "usage: $0 LINUX_RPTCONV RPTCONV_EXE SAMPLES_DIR EMULATOR..." >&2
  exit 2
fi
linux=$(realpath "$1")
windows=$(realpath "$2")
samples=$(realpath "$3")
shift 3
emulator=("$@")
if [[ ${emulator[0]} == */* && -e ${emulator[0]} ]]; then
  emulator[0]=$(realpath "${emulator[0]}")
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/rptconv-samples.XXXXXX")
trap 'rm -rf "$work"' EXIT

shopt -s nullglob
reports=("$samples"/*.csv)
if [[ ${#reports[@]} -eq 0 ]]; then
  echo "no samples in $samples" >&2
  exit 1
fi

passed=0
failed=0
# fresh REPORTS...: empty directories for both programs, with the reports.
fresh() {
  for side in linux windows; do
    mkdir -p "$work/$side"
    rm -f "$work/$side"/*
    cp "$@" "$work/$side/"
  done
}
# run ARGS...: both programs in their directories, their console lines kept.
run() {
  (cd "$work/linux" && "$linux" "$@" >"$work/linux.out")
  (cd "$work/windows" && "${emulator[@]}" "$windows" "$@" >"$work/windows.out" </dev/null)
}
# same NAME PAGE: both gave the same console lines and the same page (not
# empty, except the changes of a report with itself as NDJSON: no line).
same() {
  local written=-s
  [[ $2 != *.changes.ndjson || $old != "$new" ]] || written=-e
  if test "$written" "$work/linux/$2" && cmp -s "$work/linux.out" "$work/windows.out" &&
      cmp -s "$work/linux/$2" "$work/windows/$2"; then
    echo "ok   $1"
    passed=$((passed + 1))
  else
    echo "FAIL $1: the Windows program gives other bytes"
    cmp "$work/linux.out" "$work/windows.out" || true
    cmp "$work/linux/$2" "$work/windows/$2" || true
    failed=$((failed + 1))
  fi
}
for report in "${reports[@]}"; do
  name=$(basename "$report" .csv)
  for options in "" /HTA "--style=modern" "/HTA --style=modern" --format=json --format=ndjson; do
    ext=.htm
    [[ $options != /HTA* ]] || ext=.hta
    [[ $options != --format=* ]] || ext=.${options#--format=}
    fresh "$report"
    # Word-split on purpose: the options are separate arguments.
    # shellcheck disable=SC2086
    run "$name.csv" $options
    same "$name$ext $options" "$name$ext"
  done
done
# The comparison of every sample with the next one (the last with the
# first; a single sample with itself).
for ((i = 0; i < ${#reports[@]}; i++)); do
  old=$(basename "${reports[i]}" .csv)
  new=$(basename "${reports[(i + 1) % ${#reports[@]}]}" .csv)
  fresh "$samples/$old.csv" "$samples/$new.csv"
  run --compare "$old.csv" "$new.csv"
  same "--compare $old.csv $new.csv" "$new.changes.htm"
  for format in json ndjson; do
    run --compare --format=$format "$old.csv" "$new.csv"
    same "--compare --format=$format $old.csv $new.csv" "$new.changes.$format"
  done
done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
