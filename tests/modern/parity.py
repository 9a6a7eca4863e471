"""Every text the classic page shows is in the modern page, in the same order.

    parity.py CLASSIC_DIR MODERN_DIR

Compares every NAME.htm of CLASSIC_DIR with the NAME.htm of MODERN_DIR. The
classic page is read in the report's code page (1250 when the modern page
says lang="hu", else 1252) by Python's own codec, the modern page as strict
UTF-8, so the converter's tables are checked against a second source too.
Prints one line per failure; exits with 1 if there was any.
"""

import html
import pathlib
import re
import sys
from html.parser import HTMLParser

BANNER = "QUORVIX System Information Report"

# Report text holds no line ends; on both pages they end markup lines.
CONTROLS = re.compile("[\x00-\x08\x0b-\x1f\x7f]")


def shown(text):
    """Text as a UTF-8 page shows it: control bytes but tab as U+FFFD."""
    return CONTROLS.sub("\ufffd", text.replace("\r", "").replace("\n", ""))


class Texts(HTMLParser):
    """The text nodes of a page body, without the program's decorations."""

    def __init__(self, skipped):
        super().__init__(convert_charrefs=True)
        self.skipped, self.depth, self.texts = skipped, 0, []
        self.last_tag, self.last_attrs, self.cell_attrs = None, {}, {}

    def handle_starttag(self, tag, attrs):
        if tag in self.skipped:
            self.depth += 1
        self.last_tag, self.last_attrs = tag, dict(attrs)
        if tag == "td":
            self.cell_attrs = self.last_attrs

    def handle_endtag(self, tag):
        if tag in self.skipped:
            self.depth -= 1

    def handle_data(self, data):
        if self.depth:
            return
        text = shown(data)
        # Classic decorations: "[ group ]", "item:", the gap after a cell.
        if self.last_tag == "td" and self.last_attrs.get("class") == "dt":
            text = text.removeprefix("[ ").removesuffix(" ]")
        elif self.last_tag == "b" and self.cell_attrs.get("colspan") == "3":
            text = text.removesuffix(":")
        text = text.removesuffix("\xa0\xa0")
        if text.strip():  # blanks show nothing, also as no-break spaces
            self.texts.append(text)


def title_of(page, tag):
    found = re.search(r"<%s>(.*?)</%s>\r\n" % (tag, tag), page, re.S)
    return shown(html.unescape(found.group(1))) if found else None


def compare(name, classic_bytes, modern_bytes, failures):
    try:
        modern = modern_bytes.decode("utf-8")
    except UnicodeDecodeError as e:
        failures.append(f"{name}: the modern page is not UTF-8 ({e})")
        return
    codepage = "cp1250" if '<html lang="hu">' in modern else "cp1252"
    # The classic page writes ESC as "&#27;", which an HTML parser drops.
    classic = classic_bytes.decode(codepage, errors="replace").replace("&#27;", "\x1b")
    # The modern title is the report's title without the classic frame, or
    # the banner when the report's title is blank.
    framed = title_of(classic, "TITLE") or ""
    inner = framed.removeprefix("Report of <").removesuffix(">")
    if (inner if inner.strip(" \t") else BANNER) != title_of(modern, "title"):
        failures.append(f"{name}: title {title_of(modern, 'title')!r}, classic {framed!r}")
    want = Texts(set())
    want.feed(classic.split('<BODY BGCOLOR="#FFFFFF">', 1)[1])
    got = Texts({"script", "style", "nav"})
    got.feed(modern.split("<body>", 1)[1])
    shown_text = "".join(got.texts)
    at = 0
    for i, text in enumerate(want.texts):
        found = shown_text.find(text, at)
        if found < 0:
            failures.append(f"{name}: classic text {i + 1} {text!r} is not in the modern page "
                            f"after {shown_text[max(0, at - 40):at]!r}")
            return
        at = found + len(text)


def main():
    if len(sys.argv) != 3:
        print("usage: parity.py CLASSIC_DIR MODERN_DIR", file=sys.stderr)
        return 2
    classic_dir, modern_dir = map(pathlib.Path, sys.argv[1:])
    failures, count = [], 0
    for classic in sorted(classic_dir.glob("*.htm")):
        modern = modern_dir / classic.name
        if not modern.exists():
            failures.append(f"{classic.stem}: no modern page")
            continue
        compare(classic.stem, classic.read_bytes(), modern.read_bytes(), failures)
        count += 1
    for f in failures:
        print("FAIL " + f)
    print(f"{count - len(failures)} passed, {len(failures)} failed")
    return 1 if failures or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
