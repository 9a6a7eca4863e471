#!/usr/bin/env bash
# Prints what the fleet sections of an index page say, one line per row: the
# rows of the attention and software tables, cells after "|", flagged values
# between "*", no-break and em spaces as blanks; and the data lines that list
# each program's computers.
#
#   rows.sh INDEX.htm
set -euo pipefail
tr -d '\r' <"$1" |
  sed -n -e '/^<tr id="c[0-9]*">/p' -e '/^<tr><td class="w">/p' -e '/^,\{0,1\}\[\[/p' |
  sed -e 's/<td[^>]*>/|/g' -e 's#</\{0,1\}strong>#*#g' -e 's/&nbsp;/ /g' -e 's/ / /g' -e 's/<p>/ /g' -e 's/<[^>]*>//g'
