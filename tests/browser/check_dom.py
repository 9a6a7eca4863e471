"""Checks the DOM that Chromium built from converted pages.

    check_dom.py hostile.dom english.dom [MODERN_DIR]

The first is the page of the golden case "hostile" (markup, quotes and "&" in every
field of the report; its scripts, if they ran, would set the body's id), the
second that of samples/english.csv. MODERN_DIR holds the modern pages' DOMs
(hostile, hostile-hu from tests/modern/hostile.csv, english, hungarian),
each with the result of tests/browser/probe.js. Prints one line per failed
check and exits with 1 if there was any.
"""

import html
import os
import urllib.parse
import json
import re
import sys
from html.parser import HTMLParser

# Everything the converter's own markup makes, as the browser serialises it.
OWN_TAGS = {"html", "head", "body", "style", "title", "table", "tbody", "tr",
            "td", "b", "a", "hr", "br"}
OWN_ATTRIBUTES = {"width", "class", "colspan", "bgcolor", "href", "target"}
BANNER = "QUORVIX System Information Report"

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


class Dom(HTMLParser):
    """Elements, attributes, links, headings and text of a serialised DOM."""

    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.source = text
        self.elements = []          # (tag, attrs)
        self.links = []             # [href, target, text]
        self.headings = []          # texts of TD.pt cells
        self.title = None
        self.text = []
        self._open_link = None
        self._in_heading = None
        self._in_title = False
        self.feed(text)
        self.close()
        self.text = "".join(self.text).replace("\xa0", " ")

    def handle_starttag(self, tag, attrs):
        self.elements.append((tag, attrs))
        a = dict(attrs)
        if tag == "a":
            self._open_link = [a.get("href"), a.get("target"), ""]
            self.links.append(self._open_link)
        elif tag == "td" and a.get("class") == "pt":
            self._in_heading = []
        elif tag == "title":
            self._in_title = True
            self.title = ""

    def handle_endtag(self, tag):
        if tag == "a":
            self._open_link = None
        elif tag == "title":
            self._in_title = False
        elif tag == "td" and self._in_heading is not None:
            self.headings.append("".join(self._in_heading))
            self._in_heading = None

    def handle_data(self, data):
        if self._in_title:
            self.title += data
            return
        self.text.append(data)
        if self._open_link is not None:
            self._open_link[2] += data
        if self._in_heading is not None:
            self._in_heading.append(data)

    def count(self, tag):
        return sum(1 for t, _ in self.elements if t == tag)


def only_markup_of(dom, page, tags, attributes):
    """Only the elements and attributes named: what the page (and its script) make."""
    for tag, attrs in dom.elements:
        check(tag in tags, f"{page}: an element <{tag}> that the page never makes")
        for name, value in attrs:
            check(name in attributes, f"{page}: an attribute {name}={value!r} on <{tag}> that the page never makes")
            check(not (tag == "body" and name == "id"), f"{page}: a script from the report ran (id {value!r})")


def only_own_markup(dom, page):
    only_markup_of(dom, page, OWN_TAGS, OWN_ATTRIBUTES)
    check(len(dom.elements) > 20, f"{page}: the DOM is (nearly) empty")
    check(dom.headings[:1] == [BANNER], f"{page}: the first page heading is {dom.headings[:1]}, not the banner")


def check_hostile(dom):
    page = "hostile"
    only_own_markup(dom, page)
    check(dom.count("script") == 0, f"{page}: the report created <script> elements")
    ran = [v for t, attrs in dom.elements for n, v in attrs if n == "id"]
    check(not ran, f"{page}: a script or handler from the report ran (ids set: {ran})")
    check(dom.count("img") == 0, f"{page}: the report created <img> elements")
    # Our own bold text: four header cells of the Processes table and one
    # item heading. Report text must not add any.
    check(dom.count("b") == 5, f"{page}: {dom.count('b')} <b> elements, expected 5")
    check(dom.title == "Report of <</TITLE><script>document.body.id='t'</script> & more>",
          f"{page}: title is {dom.title!r}")
    for shown in [
        "<none>",
        "<script>document.body.id='s1'</script>",
        '[ <i>G & "1"</i> ]',
        'Item <b>"x"</b> & y>z:',
        "Label's <u>",
        'a < b && c > "d"',
        "&amp, &lt, &#60,",
        '<script src="x.js"></script>',
        "</TITLE><script>document.body.id='t'</script> & more",
        "<b>p</b>.exe",
        'C:\\"q"\\<x>.exe',
        "<script>document.body.id='s2'</script>",
        '"1 & 2" > 0',
        "[ <Group> ]",
    ]:
        check(shown in dom.text, f"{page}: the text {shown!r} is not shown as text")
    check("Page <img src=x onerror=\"document.body.id='img'\">" in dom.headings,
          f"{page}: the page heading with markup is not shown as text (headings: {dom.headings})")
    check("<script>f4</script>" not in dom.text, f"{page}: Field4 reached the page")
    want = [
        'http://evil.example/"><script>document.body.id=\'s3\'</script>',
        'http://x.example/" onmouseover="document.body.id=\'s4\'',
    ]
    got = [href for href, _, _ in dom.links]
    check(got == want, f"{page}: links {got!r}, expected {want!r}")
    for href, target, text in dom.links:
        check(target == "blank", f"{page}: link {href!r} has target {target!r}")
        check(text == href, f"{page}: link {href!r} shows {text!r}")


def check_english(dom):
    page = "english"
    only_own_markup(dom, page)
    check(dom.count("script") == 0, f"{page}: the page holds <script> elements")
    check(dom.title == "Report of <WS-042 weekly inventory>", f"{page}: title is {dom.title!r}")
    for shown in ["<none>", "Example Corp <IT>", "Board Works & Co.", 'BW-845 "Pro"',
                  "Team projects & drafts", "https://portal.example.com/"]:
        check(shown in dom.text, f"{page}: the text {shown!r} is not shown")
    check("86 80 90 71" not in dom.text, f"{page}: the PCI dump reached the page")
    for heading in ["Processes", "Services", "Physical Drives", "SMART", "Event Logs", "Network"]:
        check(heading in dom.headings, f"{page}: no page heading {heading!r}")
    check("PCI Dump" not in dom.headings, f"{page}: a PCI Dump page heading")
    check("Report" not in dom.headings, f"{page}: the first page's own title is shown as a heading")
    links = {href: (target, text) for href, target, text in dom.links}
    for href, text in [
        ("http://www.example.com/quorvix/", "http://www.example.com/quorvix/"),
        ("http://support.example.com/quorvix/faq.htm", "http://support.example.com/quorvix/faq.htm"),
        ("mailto:rptconv@example.org", "rptconv@example.org"),
        ("http://intranet.corp.example.com/timesheet.asp?week=23&user=jdoe",
         "http://intranet.corp.example.com/timesheet.asp?week=23&user=jdoe"),
        ("http://proxy.corp.example.com:8080/", "http://proxy.corp.example.com:8080/"),
    ]:
        check(href in links, f"{page}: no link to {href!r} (links: {sorted(links)})")
        if href in links:
            check(links[href] == ("blank", text), f"{page}: link {href!r} is {links[href]!r}")
    for href in links:
        check(href.startswith("http://") or href.startswith("mailto:"),
              f"{page}: unexpected link {href!r}")


# The modern page's markup, with what its script adds (buttons, filter
# boxes, "hidden" and "aria-sort") and the probe's <pre id="probe">.
MODERN_TAGS = {"html", "head", "meta", "title", "style", "body", "header", "p", "h1", "h2", "h3",
               "h4", "main", "section", "nav", "ol", "li", "a", "table", "thead", "tbody", "tr",
               "th", "td", "div", "script", "button", "input", "pre", "svg", "rect"}
MODERN_ATTRIBUTES = {"lang", "charset", "name", "content", "id", "class", "scope", "href", "target",
                     "rel", "type", "placeholder", "aria-label", "aria-sort", "hidden", "viewbox", "role",
                     "width", "height", "data-sort-last"}

# Tricky values sorted by a click on their column's header: page, section,
# column, the column's texts after one click. After a second click the
# texts come in the opposite order, blank cells still last.
SORTED = [
    ("sorting", "logical-drives", 0, ["Ábel", "Csaba", "Cukor", "Drive 9", "Drive 10", "Zsolt"]),
    ("sorting", "logical-drives", 1, ["-5", "37.2", "650", "2,400", "1,000,000", ""]),
    ("sorting", "logical-drives", 2, ["CDFS", "FAT32", "NTFS", "UDF", "", ""]),
    ("sorting", "logical-drives", 3, ["9", "12", "1A2B-3C4D", "5E6F-7A8B", "", ""]),
    ("sorting", "logical-drives", 4, ["999 B", "650 MB", "2400 MB", "37.2 GB", "1.5TB", ""]),
    ("sorting", "logical-drives", 5, ["0 MB", "512 KB", "1024 KB", "12.9 GB", "17.1GB", ""]),
    ("sorting", "logical-drives", 6, ["0 %", "9 %", "35 %", "40%", "100 %", ""]),
    ("sorting", "windows-update", 2,
     ["2003-11-20", "6/7/2004 11:30 PM", "2004-06-08 9:41", "2004-06-08 10:12", ""]),
    ("sorting-hu", "logikai-meghajtók", 0, ["Ábel", "Cukor", "Csaba", "Drive 9", "Drive 10", "Zsolt"]),
    ("sorting-hu", "logikai-meghajtók", 1, ["-5", "2,4", "650", "2 400", "1 000 000", ""]),
    ("sorting-hu", "logikai-meghajtók", 4, ["999 B", "650 MB", "2 GB", "2 400 MB", "1TB", ""]),
    ("sorting-hu", "logikai-meghajtók", 5, ["0 MB", "512 KB", "1 024 KB", "12 GB", "17GB", ""]),
    ("sorting-hu", "windows-frissítés", 2,
     ["2003.11.20.", "2004.06.07 23:30", "2004.06.08. 9:41", "2004.06.08. 10:12", ""]),
]


def check_sorted(page, probe):
    """The SORTED cases of this page, and on every table of every page:
    blank cells, and rows of reports that failed, last in both directions."""
    tables = {t["section"]: t for t in probe["tables"]}
    for name, section, k, want in SORTED:
        if name != page:
            continue
        table = tables.get(section)
        got = table["sorts"][k] if table and k < len(table["sorts"]) else None
        got = got and [{"column": [t.strip() for t in way["column"]]} for way in got]
        down = [t for t in reversed(want) if t] + [t for t in want if not t]
        check(got is not None and got[0]["column"] == want and got[1]["column"] == down,
              f"{page}: {section} column {k} sorts to {got and [g['column'] for g in got]}, "
              f"expected {want} and {down}")
    for table in probe["tables"]:
        for k, both in enumerate(table["sorts"]):
            for way in both:
                last = [t.strip() == "" or t.startswith("Cannot open") for t in way["column"]]
                failed = [f.endswith("missing.csv") for f in way["first"]]
                ok = last == sorted(last) and (not any(failed) or failed[-1])
                check(ok, f"{page}: {table['section']} column {k}: blanks or failures not last: {way}")




def probe_result(dom, page):
    """What probe.js saw, or None (a failure) when it left nothing."""
    found = re.search(r'<pre id="probe">(\{.*?)</pre>', dom.source, re.S)
    check(found is not None, f"{page}: the probe left no result")
    return json.loads(html.unescape(found.group(1))) if found else None


def check_modern(dom, page, shown, links, sorted_column, title=None):
    only_markup_of(dom, page, MODERN_TAGS, MODERN_ATTRIBUTES)
    if title is not None:
        check(dom.title == title, f"{page}: title is {dom.title!r}, not {title!r}")
    check(dom.count("script") == 2, f"{page}: {dom.count('script')} scripts, expected the page's and the probe's")
    for text in shown:
        check(text in dom.text, f"{page}: the text {text!r} is not shown as text")
    # The probe has sorted the tables: the links in any order.
    got = [(href, text) for href, _, text in dom.links if not href.startswith("#")]
    check(sorted(got) == sorted(links), f"{page}: links {got!r}, expected {links!r}")
    for href, target, text in dom.links:
        check(not re.search(r'[\s"<>\\]', href), f"{page}: link address {href!r} is not encoded")
    probe = probe_result(dom, page)
    if probe is None:
        return
    nav = probe["nav"]
    check(len(nav) == probe["sections"] and nav, f"{page}: {len(nav)} navigation links for {probe['sections']} sections")
    for entry in nav:
        check(entry["target"] == "section" and entry["heading"] == entry["text"],
              f"{page}: the navigation link {entry['text']!r} reaches {entry}")
    check_sorted(page.removeprefix("modern "), probe)
    if sorted_column is None:
        return
    processes = [t for t in probe["tables"] if t["section"] in ("processes", "folyamatok")]
    check(processes and processes[0]["heads"][-1].strip() == sorted_column and processes[0]["aria"][-1] == "descending",
          f"{page}: the processes table does not sort by {sorted_column!r}")
    if processes:
        up = [int(re.sub(r"\D", "", t)) for t in processes[0]["sorts"][-1][0]["column"]]
        check(up == sorted(up), f"{page}: sorted by {sorted_column!r}, the column is {up}")
    shown_rows = probe.get("shown")
    check(shown_rows is not None and 0 < len(shown_rows) < probe.get("rows", 0)
          and all("explorer" in r.lower() for r in shown_rows),
          f"{page}: filtering by 'Explorer' shows {shown_rows} of {probe.get('rows')} rows")


def check_modern_pages(folder):
    def dom(name):
        with open(f"{folder}/{name}.dom", encoding="utf-8", errors="replace") as f:
            return Dom(f.read())

    check_modern(dom("hostile"), "modern hostile", [
        "<none>", "<script>document.body.id='s1'</script>", '<i>G & "1"</i>', 'Item <b>"x"</b> & y>z',
        "Label's <u>", 'a < b && c > "d"', "&amp, &lt, &#60,", '<script src="x.js"></script>',
        "<b>p</b>.exe", 'C:\\"q"\\<x>.exe', '"1 & 2" > 0', "<Group>",
        "Page <img src=x onerror=\"document.body.id='img'\">",
    ], [
        ("http://evil.example/%22%3E%3Cscript%3Edocument.body.id='s3'%3C/script%3E",
         'http://evil.example/"><script>document.body.id=\'s3\'</script>'),
        ("http://x.example/%22%20onmouseover=%22document.body.id='s4'",
         'http://x.example/" onmouseover="document.body.id=\'s4\''),
    ], None)
    check_modern(dom("hostile-hu"), "modern hostile-hu", [
        "<none>", 'Elem <b>"ő"</b> & y>z', "\ufffd\ufffd\ufffd \ufffd(B\ufffd$@\"><img src=x",
        "\ufffd\ufffd\ufffd\ufffd\ufffd € „Š” őűŐŰ", "javascript:document.body.id='js'", "http://bad host/",
    ], [
        ("http://example.com/a%20b%22%3C%3E%5C%5E%60%7B%7C%7D%25zz%41#x%23y",
         'http://example.com/a b"<>\\^`{|}%zz%41#x#y'),
        ("https://ex-ample.com:8080/p?q=1&r=%C5%91", "https://ex-ample.com:8080/p?q=1&r=ő"),
        ("mailto:rptconv@example.org", "rptconv@example.org"),
        ('http://in.table.example/%22x%22', 'http://in.table.example/"x"'),
    ], None)
    check_modern(dom("english"), "modern english", [
        "WS-042 weekly inventory", "<none>", "Example Corp <IT>", 'BW-845 "Pro"', "Team projects & drafts",
    ], [(href, href.removeprefix("mailto:")) for href in [
        "http://www.example.com/quorvix/", "http://support.example.com/quorvix/faq.htm",
        "mailto:rptconv@example.org", "https://portal.example.com/", "http://drivers.example.com/graphics/",
        "http://proxy.corp.example.com:8080/", "http://intranet.corp.example.com/",
        "http://www.example.com/news/", "http://intranet.corp.example.com/timesheet.asp?week=23&user=jdoe",
        "https://mail.example.com/", "http://support.example.com/quorvix/",
    ]], "Used Swap", "WS-042 weekly inventory")
    hungarian = dom("hungarian")
    check_modern(hungarian, "modern hungarian", [
        "IRODA-07 heti leltár", "Összesítés", "Számítógép név", "Illesztőprogramok", "Felh. lapozófájl",
        "szövegszerkesztő.exe", "Tartalom",
    ], [
        ("http://www.example.com/quorvix/", "http://www.example.com/quorvix/"),
        ("mailto:rptconv@example.org", "rptconv@example.org"),
        ("http://proxy.iroda.example.com:3128/", "http://proxy.iroda.example.com:3128/"),
    ], "Felh. lapozófájl", "IRODA-07 heti leltár")
    check_modern(dom("sorting"), "modern sorting", ["Sorting cases", "1,000,000"], [], None, "Sorting cases")
    check_modern(dom("sorting-hu"), "modern sorting-hu", ["Rendezési esetek", "1 000 000"], [], None,
                 "Rendezési esetek")
    check("\ufffd" not in hungarian.text, "modern hungarian: U+FFFD in the text served as UTF-8")
    # The used shares drawn beside the memory's and the logical drives' numbers.
    for name, bars in [("english", ["61 % used", "65 % used", "12 % used", "100 % used"]),
                       ("hungarian", ["63 % foglalt", "74 % foglalt", "100 % foglalt"])]:
        got = [a.get("aria-label") for t, attrs in dom(name).elements if t == "svg" for a in [dict(attrs)]]
        check(sorted(got) == sorted(bars), f"modern {name}: bars {got}, expected {bars} (in any order)")
    check_index(dom("index"), folder)
    check_index_of_one_language(dom("index-en"))
    check_compare(dom("compare"))


def check_compare(dom):
    """The comparison of the English sample with a copy whose processes run
    from D: and that has one more service, named with markup."""
    page = "compare"
    only_markup_of(dom, page, MODERN_TAGS | {"details", "summary", "del", "ins", "span"}, MODERN_ATTRIBUTES | {"open"})
    for text in ["10 changes in 2 of 23 sections: 1 added, 9 changed", "C:\\WINDOWS\\Explorer.EXE → D:\\WINDOWS\\Explorer.EXE",
                 "<img src=x onerror=\"document.body.id='c1'\">", "<script>document.body.id='c2'</script>", '"a" & b']:
        check(text in dom.text, f"{page}: the text {text!r} is not shown as text")
    check(dom.count("details") == 23, f"{page}: {dom.count('details')} sections, expected 23")
    probe = probe_result(dom, page)
    if probe is None:
        return
    nav = probe["nav"]
    check([entry["text"] for entry in nav] == ["Processes", "Services"], f"{page}: navigation {nav}")
    for entry in nav:
        check(entry["target"] == "section" and entry["heading"] == entry["text"],
              f"{page}: the navigation link {entry['text']!r} reaches {entry}")
    tables = [t for t in probe["tables"] if t["section"] == "processes"]
    sorts = tables[0]["sorts"][-1] if tables and tables[0]["sorts"] else None
    up, down = (sorts[0]["column"], sorts[1]["column"]) if sorts else ([], [])
    check(len(up) == 9 and down == up[::-1] and up != down, f"{page}: sorting the changed processes gives {sorts}")
    shown = probe.get("shown") or []
    check(len(shown) == 1 and "explorer" in shown[0].lower(), f"{page}: filtering by 'Explorer' shows {shown}")


# The index's sections across the fleet add bars, legends and lists.
INDEX_TAGS = MODERN_TAGS | {"span", "ul", "i", "b", "strong"}
INDEX_ATTRIBUTES = MODERN_ATTRIBUTES | {"style", "aria-hidden", "aria-expanded", "aria-controls", "data-p", "colspan"}
# Their tables, apart from the tables of reports.
FLEET_SECTIONS = ("attention", "software")


def check_index(dom, folder):
    """The index of the modern pages: a table per language, each with its
    own labels and without the title a second time; a link to each page that
    exists, no element or attribute from a report's name or text, sorting by
    name and filtering; across the fleet, programs with the computers that
    have them, linked to their pages, and bars that show."""
    page = "index"
    only_markup_of(dom, page, INDEX_TAGS, INDEX_ATTRIBUTES)
    english = ["<i>\"x&'.csv", "english-copy.csv", "english.csv", "hostile.csv", "sorting.csv"]
    hungarian = ["hostile-hu.csv", "hungarian.csv", "sorting-hu.csv"]
    # The report tables' links name reports; the attention table's name computers.
    links = [(href, text) for href, _, text in dom.links if text.endswith(".csv")]
    check(sorted(text for _, text in links) == sorted(english + hungarian), f"{page}: links {links!r}")
    for href, _, _ in dom.links:
        check(os.path.isfile(os.path.join(folder, urllib.parse.unquote(href))), f"{page}: {href!r} names no page")
    check("8 reports, 8 converted, 0 failed" in dom.text, f"{page}: no count line")
    for text in ["</script><script>document.body.id='prog'</script>", "<!-- Ő & ű \\u2028"]:
        check(text in dom.text, f"{page}: the text {text!r} is not shown as text")
    check(re.search(r"\d of 8 computers need attention", dom.text), f"{page}: no attention count")
    check("IRODA-07 heti leltár" in dom.text and "WS-042" in dom.text, f"{page}: titles or properties missing")
    probe = probe_result(dom, page)
    if probe is None:
        return
    check_sorted(page, probe)
    tables = [t for t in probe["tables"] if t["section"] not in FLEET_SECTIONS]
    heads = [[h.strip() for h in t["heads"]] for t in tables]
    check(len(tables) == 2 and "Computer Name" in heads[0] and "Számítógép név" in heads[1]
          and "Számítógép név" not in heads[0] and "Computer Name" not in heads[1],
          f"{page}: not one table per language: {heads}")
    for table_heads in heads:
        check("Report Title" not in table_heads and "Jelentés címe" not in table_heads,
              f"{page}: the title is shown twice: {table_heads}")
    for table, names in zip(tables, (english, hungarian)):
        up, down = ([t.strip() for t in way["column"]] for way in table["sorts"][0])
        check(sorted(up) == names and down == up[::-1], f"{page}: sorting by name gives {up} and {down}")
    check(len(probe.get("shown") or []) == 1 and "hostile" in probe["shown"][0],
          f"{page}: filtering by 'hostile' shows {probe.get('shown')}")
    check(probe.get("bars") and all(width > 0 for width in probe["bars"]), f"{page}: bars {probe.get('bars')}")
    # The sample's programs: QUORVIX on the English copies and the Hungarian.
    software = probe.get("software") or {}
    check(software.get("shown") == [["QUORVIX", "4"]], f"{page}: filtering programs shows {software.get('shown')}")
    check(software.get("first") in (software.get("by_computer") or []),
          f"{page}: filtering by a computer of the open list shows {software.get('by_computer')}")
    opened = software.get("links") or []
    check(opened and software.get("summary") == f"{len(opened)} computer" + ("s" if len(opened) > 1 else "")
          and len({href for href, _ in opened}) == len(opened) and software.get("expanded") == "true"
          and software.get("list_cells") == 1,
          f"{page}: the first program's list is {software.get('summary')!r} with links {opened}")
    check(software.get("list_kept") == [True, True] and software.get("list_hidden_with") == [True] * 3,
          f"{page}: the open list leaves its program when sorted {software.get('list_kept')}"
          f" or filtered {software.get('list_hidden_with')}")
    for href, _ in opened:
        check(os.path.isfile(os.path.join(folder, urllib.parse.unquote(href))), f"{page}: {href!r} names no page")


def check_index_of_one_language(dom):
    """An index of English reports and a missing one: one table, the failed
    report's row in it, last whichever column sorts it."""
    page = "index-en"
    only_markup_of(dom, page, INDEX_TAGS, INDEX_ATTRIBUTES)
    check("3 reports, 2 converted, 1 failed" in dom.text, f"{page}: no count line")
    probe = probe_result(dom, page)
    if probe is None:
        return
    tables = [t for t in probe["tables"] if t["section"] not in FLEET_SECTIONS]
    check(len(tables) == 1 and tables[0]["sorts"], f"{page}: not one sortable table")
    check_sorted(page, probe)


def main():
    if len(sys.argv) not in (3, 4):
        print("usage: check_dom.py hostile.dom english.dom [MODERN_DIR]", file=sys.stderr)
        return 2
    for path, checker in zip(sys.argv[1:3], (check_hostile, check_english)):
        with open(path, encoding="utf-8", errors="replace") as f:
            checker(Dom(f.read()))
    if len(sys.argv) == 4:
        check_modern_pages(sys.argv[3])
    for f in failures:
        print("FAIL " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
