#!/usr/bin/env bash
# A shell that expands *.csv hands over the names it found, and each of them
# must be converted, also a name that holds a pattern character of its own
# ("[", "]", "\", "*", "?"). Only names that nothing else would match are
# used here, so the answer does not depend on how such a name is searched.
source "$(dirname "$0")/lib.sh" "$1"

D=$WORK/d
mkdir -p "$D"
names=('report[1].csv' 'a\b.csv' 'star*.csv' 'what?.csv' 'x[.csv' '[!].csv')
for name in "${names[@]}"; do
  printf 'H\r\n2\r\n3\r\n4\r\n5\r\n,,,,,T\r\n' >"$D/$name"
done
BEFORE=$(cd "$D" && sha256sum -- *)

for name in "${names[@]}"; do
  run_code "$D" "$name"
  expect_eq "$name: stdout" "$OUT" "Converting: \"$name\"$CRLF"
  expect_eq "$name: exit code" "$CODE" 0
  expect_file "$name: page" "$D/${name%.csv}.htm"
  rm -f "$D/${name%.csv}.htm"
done

# All of them at once, as a shell hands them over.
run_code "$D" "${names[@]}"
expected=""
for name in "${names[@]}"; do expected+="Converting: \"$name\"$CRLF"; done
expect_eq "all names at once: stdout" "$OUT" "$expected"
expect_eq "all names at once: exit code" "$CODE" 0
rm -f "$D"/*.htm

# Such a name is one report for -o too.
for name in "${names[@]}"; do
  run_code "$D" -o "$WORK/one.htm" "$name"
  expect_eq "-o $name: exit code, stdout" "$CODE|$OUT" "0|Converting: \"$name\"$CRLF"
done
rm -f "$WORK/one.htm"

expect_eq "reports unchanged" "$(cd "$D" && sha256sum -- *)" "$BEFORE"
finish
