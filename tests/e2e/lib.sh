# Shared helpers of the end-to-end tests. Source it with the program's path
# as $1: it sets RPTCONV, makes a scratch directory WORK (removed on exit) and
# counts failed checks; call `finish` last.
set -euo pipefail

RPTCONV=$(realpath "$1")
WORK=$(mktemp -d)
trap 'chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
CHECKS=0
FAILURES=0
CRLF=$'\r\n'

fail() {
  echo "FAIL: $*" >&2
  FAILURES=$((FAILURES + 1))
}

# run_code DIR ARGS...: runs the program in DIR (through the command RUN_AS
# when that is set, reading RUN_STDIN when that is set); sets OUT and ERR (the exact bytes of stdout and stderr)
# and CODE (its exit code).
run_code() {
  local dir=$1
  shift
  set +e
  (cd "$dir" && ${RUN_AS:-} "$RPTCONV" "$@" <"${RUN_STDIN:-/dev/stdin}" >"$WORK/.stdout" 2>"$WORK/.stderr")
  CODE=$?
  set -e
  OUT=$(cat "$WORK/.stdout"; echo ".")
  OUT=${OUT%.}
  ERR=$(cat "$WORK/.stderr"; echo ".")
  ERR=${ERR%.}
}

expect_eq() {  # NAME ACTUAL EXPECTED
  CHECKS=$((CHECKS + 1))
  if [[ "$2" != "$3" ]]; then
    fail "$1"
    diff <(printf '%s' "$3" | cat -A) <(printf '%s' "$2" | cat -A) | head -20 >&2 || true
  fi
}

expect_file() {  # NAME PATH: the file exists
  CHECKS=$((CHECKS + 1))
  [[ -f "$2" ]] || fail "$1: $2 missing"
}

expect_no_file() {  # NAME PATH: nothing of that name exists
  CHECKS=$((CHECKS + 1))
  [[ ! -e "$2" && ! -L "$2" ]] || fail "$1: $2 exists"
}

expect_same_file() {  # NAME EXPECTED ACTUAL: the two files hold the same bytes
  CHECKS=$((CHECKS + 1))
  if ! cmp "$2" "$3" >&2; then
    fail "$1"
    cmp -l "$2" "$3" 2>/dev/null | head -5 >&2 || true
  fi
}

convert() {  # NAME: converts $WORK/NAME/r.csv, which must succeed quietly
  run_code "$WORK/$1" r.csv
  expect_eq "$1: exit code" "$CODE" "0"
  expect_eq "$1: console" "$OUT" "Converting: \"r.csv\"$CRLF"
  expect_eq "$1: no error output" "$ERR" ""
}

# The fixed lines of every page, written out here as the reader sees them.
crlf() { printf '%s\r\n' "$@"; }
page_style() {  # every line before the title: the head and the style sheet
  crlf "<HTML>" "<HEAD>" "</HEAD>" "<STYLE>" "A { text-decoration: none }" \
    "A:hover { text-decoration: underline }" \
    "TD { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: left }" \
    "TD.cr { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: right }" \
    "TD.cc { font: 80% verdana, arial; color: #000000; vertical-align: text-center; text-align: center }" \
    "TD.pt { font: bold 140% verdana, arial; color: #000080; vertical-align: text-center }" \
    "TD.dt { font: bold 110% verdana, arial; color: #000080; vertical-align: text-center }" \
    "</STYLE>"
}
page_head() {  # TITLE: the style sheet, the title line (TITLE as written on the page), the body tag
  page_style
  crlf "<TITLE>Report of <$1></TITLE>" '<BODY BGCOLOR="#FFFFFF">'
}
page_tail() { crlf "</TABLE><BR><BR>" "<HR>" "<BR>" "" "</BODY>" "</HTML>"; }
HEADING_START='<TABLE WIDTH=100%><TD CLASS=pt>'
HEADING_END='<TR><TD><HR></TABLE><TABLE><TR><TD WIDTH=16>&nbsp;<TD WIDTH=16><TD WIDTH=16><TD WIDTH=16><TD WIDTH=16>'
BANNER="${HEADING_START}QUORVIX System Information Report$HEADING_END"

# A report of one property row, and its page.
SMALL_REPORT=$'head\r\nReport,G,,,L,V\r\n'
small_page() {
  page_head ""
  crlf "$BANNER" '<TR><TD><TD CLASS=dt COLSPAN=5>[ G ]' '<TR><TD>&nbsp;' '<TR><TD><TD><TD>L&nbsp;&nbsp;<TD>V'
  page_tail
}

expect_no_temporary() {  # NAME DIR: no temporary page is left in DIR
  CHECKS=$((CHECKS + 1))
  if compgen -G "$2/.rptconv-*" >/dev/null; then fail "$1: temporary file left in $2"; fi
}

# A conversion caught in the middle of its page: the report is a FIFO that
# this shell feeds, so the program waits with its temporary page open.
# Waits up to ten seconds for the temporary page in DIR; false if none came.
await_temporary() {
  local tries
  for ((tries = 0; tries < 100; tries++)); do
    compgen -G "$1/.rptconv-*" >/dev/null && return 0
    sleep 0.1
  done
  return 1
}
# await_converting DIR: waits up to ten seconds for the progress line in
# DIR/stdout, so that a signal comes after it and not while it is written.
await_converting() {
  local tries
  for ((tries = 0; tries < 100; tries++)); do
    grep -q '^Converting: ' "$1/stdout" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}
# start_slow DIR [SETUP] [RUN_IN]: starts the program on DIR/slow.csv in the
# background, in the directory RUN_IN (default DIR; the report is then named
# by its path from there) after the shell commands SETUP, with no core dumps.
# slow.csv is a FIFO that this shell holds open on descriptor FEED and has
# written a few lines to. Sets PID; stdout and stderr go to RUN_IN.
start_slow() {
  local dir=$1 setup=${2:-:} run_in=${3:-$1}
  local report
  report=$(realpath -s --relative-to="$run_in" "$dir/slow.csv")
  rm -f "$dir/slow.csv"
  mkfifo "$dir/slow.csv"
  (ulimit -c 0 && eval "$setup" && cd "$run_in" && exec "$RPTCONV" "$report" >"$run_in/stdout" 2>"$run_in/stderr") &
  PID=$!
  exec {FEED}<>"$dir/slow.csv"
  printf 'Header\r\nSummary,Group,Item,x,Label,first\r\n' >&$FEED
}
# finish_slow: ends the report and waits for the program; sets CODE.
finish_slow() {
  printf 'Summary,Group,Item,x,Label,last\r\n' >&$FEED
  exec {FEED}>&-
  CODE=0
  wait "$PID" || CODE=$?
}

finish() {
  echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
  [[ $FAILURES -eq 0 ]]
}
