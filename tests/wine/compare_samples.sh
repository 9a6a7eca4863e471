#!/usr/bin/env bash
# Converts every sample report with the Linux program and with rptconv.exe
# under Wine, and checks that both give the same console lines and the same
# page bytes, as .htm and as .hta, in the classic and the modern style; and
# the same comparison pages of the samples.
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
for report in "${reports[@]}"; do
  name=$(basename "$report" .csv)
  for options in "" /HTA "--style=modern" "/HTA --style=modern"; do
    ext=.htm
    [[ $options != /HTA* ]] || ext=.hta
    for side in linux windows; do
      mkdir -p "$work/$side"
      rm -f "$work/$side"/*
      cp "$report" "$work/$side/"
    done
    # Word-split on purpose: the options are separate arguments.
    # shellcheck disable=SC2086
    (cd "$work/linux" && "$linux" "$name.csv" $options >"$work/linux.out")
    # shellcheck disable=SC2086
    (cd "$work/windows" && "${emulator[@]}" "$windows" "$name.csv" $options >"$work/windows.out" </dev/null)
    if cmp -s "$work/linux.out" "$work/windows.out" && cmp -s "$work/linux/$name$ext" "$work/windows/$name$ext"; then
      echo "ok   $name$ext $options"
      passed=$((passed + 1))
    else
      echo "FAIL $name$ext $options: the Windows program gives other bytes"
      cmp "$work/linux.out" "$work/windows.out" || true
      cmp "$work/linux/$name$ext" "$work/windows/$name$ext" || true
      failed=$((failed + 1))
    fi
  done
done
# The comparison of every sample with the next one (the last with the
# first; a single sample with itself).
for ((i = 0; i < ${#reports[@]}; i++)); do
  old=$(basename "${reports[i]}" .csv)
  new=$(basename "${reports[(i + 1) % ${#reports[@]}]}" .csv)
  for side in linux windows; do
    mkdir -p "$work/$side"
    rm -f "$work/$side"/*
    cp "$samples/$old.csv" "$samples/$new.csv" "$work/$side/"
  done
  (cd "$work/linux" && "$linux" --compare "$old.csv" "$new.csv" >"$work/linux.out")
  (cd "$work/windows" && "${emulator[@]}" "$windows" --compare "$old.csv" "$new.csv" >"$work/windows.out" </dev/null)
  page=$new.changes.htm
  if [[ -s $work/linux/$page ]] && cmp -s "$work/linux.out" "$work/windows.out" &&
      cmp -s "$work/linux/$page" "$work/windows/$page"; then
    echo "ok   --compare $old.csv $new.csv"
    passed=$((passed + 1))
  else
    echo "FAIL --compare $old.csv $new.csv: the Windows program gives other bytes"
    cmp "$work/linux.out" "$work/windows.out" || true
    cmp "$work/linux/$page" "$work/windows/$page" || true
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
