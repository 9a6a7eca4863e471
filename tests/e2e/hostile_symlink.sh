#!/usr/bin/env bash
# A symbolic link in the place of the page: it is replaced by the page, and
# what it pointed to stays as it was (or stays missing). A link to the report
# itself names the report: the page cannot be created, and nothing changes.
source "$(dirname "$0")/lib.sh"

PAGE=$WORK/expected.htm
small_page >"$PAGE"
REPORT=$SMALL_REPORT

expect_page() {  # NAME PATH: PATH is a regular file (no link) holding the page
  CHECKS=$((CHECKS + 1))
  if [[ -L $2 || ! -f $2 ]]; then
    fail "$1: $2 is no regular file"
  elif ! cmp -s "$PAGE" "$2"; then
    fail "$1: $2 differs from the expected page"
  fi
}
expect_link() {  # NAME PATH TARGET: PATH is still a link to TARGET
  CHECKS=$((CHECKS + 1))
  [[ -L $2 && $(readlink "$2") == "$3" ]] || fail "$1: $2 is no longer a link to $3"
}
expect_content() {  # NAME PATH TEXT
  CHECKS=$((CHECKS + 1))
  cmp -s "$2" <(printf '%s' "$3") || fail "$1: $2 changed"
}
expect_listing() {  # NAME DIR NAMES...: DIR holds exactly NAMES
  local actual expected
  actual=$(cd "$2" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)
  expected=$(printf '%s\n' "${@:3}" | LC_ALL=C sort)
  expect_eq "$1: directory listing" "$actual" "$expected"
}
convert_ok() {  # NAME DIR
  run_code "$2" r.csv
  expect_eq "$1: exit code" "$CODE" "0"
  expect_eq "$1: console" "$OUT" "Converting: \"r.csv\"$CRLF"
  expect_eq "$1: no error output" "$ERR" ""
}

mkdir "$WORK/elsewhere"
printf 'precious\n' >"$WORK/elsewhere/target.txt"
chmod 0644 "$WORK/elsewhere/target.txt"

# --- A link to a file elsewhere: replaced; the file keeps content and mode.
mkdir "$WORK/link"
printf '%s' "$REPORT" >"$WORK/link/r.csv"
ln -s ../elsewhere/target.txt "$WORK/link/r.htm"
convert_ok "link" "$WORK/link"
expect_page "link" "$WORK/link/r.htm"
expect_content "link: target" "$WORK/elsewhere/target.txt" $'precious\n'
expect_eq "link: target mode" "$(stat -c %a "$WORK/elsewhere/target.txt")" "644"
expect_listing "link" "$WORK/link" r.csv r.htm
expect_listing "link: elsewhere" "$WORK/elsewhere" target.txt

# --- A dangling link: replaced; nothing appears where it pointed.
mkdir "$WORK/dangling"
printf '%s' "$REPORT" >"$WORK/dangling/r.csv"
ln -s ../elsewhere/missing.htm "$WORK/dangling/r.htm"
convert_ok "dangling" "$WORK/dangling"
expect_page "dangling" "$WORK/dangling/r.htm"
expect_no_file "dangling: target" "$WORK/elsewhere/missing.htm"
expect_listing "dangling" "$WORK/dangling" r.csv r.htm

# --- A link to the report itself: the page would be the report.
mkdir "$WORK/self"
printf '%s' "$REPORT" >"$WORK/self/r.csv"
ln -s r.csv "$WORK/self/r.htm"
run_code "$WORK/self" r.csv
expect_eq "self: exit code" "$CODE" "2"
expect_eq "self: console" "$OUT" "Cannot create output file: \"r.htm\"$CRLF"
expect_eq "self: no error output" "$ERR" ""
expect_link "self" "$WORK/self/r.htm" r.csv
expect_content "self: report" "$WORK/self/r.csv" "$REPORT"
expect_listing "self" "$WORK/self" r.csv r.htm

# --- The report is a link: read through it; the page lands beside the link.
mkdir "$WORK/input-link"
printf '%s' "$REPORT" >"$WORK/elsewhere/real.csv"
ln -s ../elsewhere/real.csv "$WORK/input-link/r.csv"
convert_ok "report link" "$WORK/input-link"
expect_page "report link" "$WORK/input-link/r.htm"
expect_link "report link: kept" "$WORK/input-link/r.csv" ../elsewhere/real.csv
expect_listing "report link: elsewhere" "$WORK/elsewhere" real.csv target.txt

# --- The report's directory reached through a link swapped mid-run: the
# page goes beside the report, and the link's new target stays alone.
mkdir "$WORK/real" "$WORK/decoy"
ln -s real "$WORK/via"
start_slow "$WORK/via" : "$WORK"
CHECKS=$((CHECKS + 1))
await_temporary "$WORK/real" && ln -sfn decoy "$WORK/via" || fail "swapped link: no temporary page appeared"
finish_slow
expect_eq "swapped link: exit code" "$CODE" 0
expect_listing "swapped link: report's directory" "$WORK/real" slow.csv slow.htm
expect_listing "swapped link: decoy directory" "$WORK/decoy"

finish
