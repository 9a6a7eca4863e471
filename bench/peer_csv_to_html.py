#!/usr/bin/env python3
"""The quick alternative: a report as plain HTML tables, the way a user would script it.

    peer_csv_to_html.py IN OUT

Reads the report with the csv module, starts a new <table> whenever the first
field (the page) changes, and writes every line as one row of escaped cells.
Bytes pass through unchanged (latin-1 both ways); every line ends with CR LF.
It knows nothing of column tables or links; it is here as a yardstick only.
"""

import csv
import html
import sys


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: peer_csv_to_html.py IN OUT\n")
        return 2
    with open(argv[1], newline="", encoding="latin-1") as src, \
            open(argv[2], "w", newline="", encoding="latin-1") as dst:
        reader = csv.reader(src)
        w = dst.write
        w("<html><head><title>%s</title></head><body>\r\n" % html.escape(argv[1]))
        header = next(reader, None)
        page = None
        for row in reader:
            if not row:
                continue
            if row[0] != page:
                if page is not None:
                    w("</table>\r\n")
                page = row[0]
                w("<h2>%s</h2>\r\n<table>\r\n" % html.escape(page))
                if header:
                    w("<tr>" + "".join("<th>%s</th>" % html.escape(h) for h in header[1:])
                      + "</tr>\r\n")
            w("<tr>" + "".join("<td>%s</td>" % html.escape(c) for c in row[1:]) + "</tr>\r\n")
        if page is not None:
            w("</table>\r\n")
        w("</body></html>\r\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
