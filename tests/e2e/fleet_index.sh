#!/usr/bin/env bash
# What the index tells across a fleet: the hand-made reports of tests/fleet
# and, per run of the thresholds, the rows their index must show (software
# counts and versions, the computers of each, what needs attention).
source "$(dirname "$0")/lib.sh"
FLEET=$(cd "$(dirname "$0")/../fleet" && pwd)

mkdir "$WORK/f"
cp "$FLEET"/*.csv "$WORK/f/"
# rows_of NAME ARGS...: adds the index of the fleet with ARGS, as rows.sh
# prints it, to $WORK/rows (the data lines only for the first run).
rows_of() {
  local name=$1
  shift
  run_code "$WORK/f" -q --index=index.htm "$@" '*.csv'
  expect_eq "$name: exit code and console" "$CODE|$OUT|$ERR" "0||"
  bash "$FLEET/rows.sh" "$WORK/f/index.htm" | sed "s/^/$name /" | grep -v '^strict [,[]' >>"$WORK/rows"
}
rows_of default
rows_of strict --min-free=5 --max-av-age=60 --max-errors=1
expect_eq "fleet rows" "$(cat "$WORK/rows")" "$(grep -v '^#' "$FLEET/expected.txt")"
finish
