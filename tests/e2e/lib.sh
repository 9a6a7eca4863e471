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

# run_code DIR ARGS...: runs the program in DIR; sets OUT and ERR (the exact
# bytes of stdout and stderr) and CODE (its exit code).
run_code() {
  local dir=$1
  shift
  set +e
  (cd "$dir" && "$RPTCONV" "$@" >"$WORK/.stdout" 2>"$WORK/.stderr")
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

finish() {
  echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
  [[ $FAILURES -eq 0 ]]
}
