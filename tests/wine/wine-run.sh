#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of its own:
#
#   wine-run.sh PREFIX PROGRAM.exe [ARGS...]
#
# The prefix is made on first use (once, also when tests start in parallel).
# Wine's own diagnostics are silenced; the program's streams and exit code
# pass through unchanged.
set -euo pipefail

if [[ $# -lt 2 ]]; then
  echo "usage: $0 PREFIX PROGRAM.exe [ARGS...]" >&2
  exit 2
fi

export WINEPREFIX
WINEPREFIX=$(realpath -m "$1")
shift
export WINEDEBUG=${WINEDEBUG:--all}
# Wine wants a home directory; a bare CI environment may have none.
export HOME=${HOME:-$WINEPREFIX}
# No Mono or Gecko installer when the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

wine=$(command -v wine || command -v wine64 || true)
if [[ -z $wine ]]; then
  echo "wine-run.sh: wine is not installed" >&2
  exit 127
fi

if [[ ! -f $WINEPREFIX/system.reg ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
      "$wine" wineboot --init >/dev/null 2>&1 || true
      "$(dirname "$wine")/wineserver" --wait >/dev/null 2>&1 || true
    fi
  ) 9>"$WINEPREFIX.lock"
fi

exec "$wine" "$@"
