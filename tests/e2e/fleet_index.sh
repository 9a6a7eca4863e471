#!/usr/bin/env bash
# What the index tells across a fleet: the hand-made reports of tests/fleet
# and, per run of the thresholds, the rows their index must show (software
# counts and versions, the computers of each, what needs attention), on the
# page and in index.json; then, for a generated fleet, the software counts
# of index.json and of the page against those DuckDB counts in the data
# export.
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
run_code "$WORK/f" -q --format=json --index=index.json --min-free=5 --max-av-age=60 --max-errors=1 '*.csv'
expect_eq "json: exit code and console" "$CODE|$OUT|$ERR" "0||"
jq -r -f "$FLEET/json_rows.jq" "$WORK/f/index.json" | sed 's/^/json /' >>"$WORK/rows"
expect_eq "fleet rows" "$(cat "$WORK/rows")" "$(grep -v '^#' "$FLEET/expected.txt")"

export NODE_PATH=${NODE_PATH:-$(dirname "$FLEET")/../build-tools/node_modules}
if [[ -d $NODE_PATH/@duckdb/node-api ]]; then
  mkdir "$WORK/g"
  timeout 60 python3 "$FLEET/../../bench/gen_report.py" --fleet 24 "$WORK/g" 60
  for args in "--style=modern --index=index.htm" "--format=json --index=index.json" \
    "--format=ndjson -o fleet.ndjson"; do
    run_code "$WORK/g" -q $args '*.csv'
    expect_eq "generated fleet $args: exit code and console" "$CODE|$OUT|$ERR" "0||"
  done
  counts() { timeout 60 node "$FLEET/export_counts.js" "$@"; }
  expect_eq "software counts: index.json against the export" "$(counts index "$WORK/g/index.json")" \
    "$(counts ndjson "$WORK/g/fleet.ndjson")"
  # The page's program rows: name (which may hold "|"), computers and
  # versions, unescaped.
  page=$(bash "$FLEET/rows.sh" "$WORK/g/index.htm" | grep ' computers\{0,1\}$' |
    sed -E -e 's/^\|(.*)\|([0-9]+)\|([0-9]+)\|.*$/\1|\2|\3/' \
      -e 's/&lt;/</g' -e 's/&gt;/>/g' -e 's/&quot;/"/g' -e 's/&amp;/\&/g')
  expect_eq "software counts: the page against index.json" "$page" \
    "$(jq -r '.fleet.software[] | "\(.name)|\(.computers)|\(.versions | length)"' "$WORK/g/index.json")"
else
  echo "fleet_index: no @duckdb/node-api in $NODE_PATH, the counts against the export not checked" >&2
fi
finish
