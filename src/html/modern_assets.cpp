#include "html/modern_assets.h"

namespace rptconv {

namespace {

constexpr std::string_view kStyleSheet[] = {
    ":root { color-scheme: light dark; --fg: #1b1f24; --bg: #fff; --muted: #57606a; --accent: #0b4f8a;"
    " --line: #d5dbe1; --head: #eef1f4; --hover: #f2f7fc; }",
    "@media (prefers-color-scheme: dark) { :root { --fg: #e3e6ea; --bg: #15181c; --muted: #9ba5b0;"
    " --accent: #8fbaff; --line: #353b43; --head: #21262c; --hover: #1c2530; } }",
    "* { box-sizing: border-box; }",
    "body { margin: 0 auto; max-width: 96rem; padding: 0 1rem 2rem; display: flex; flex-direction: column;"
    " font: 15px/1.45 system-ui, -apple-system, \"Segoe UI\", Roboto, \"Helvetica Neue\", Arial, sans-serif;"
    " color: var(--fg); background: var(--bg); }",
    "body > * { min-width: 0; }",
    "main { order: 1; }",
    "header { order: -2; padding: 1rem 0 .6rem; border-bottom: 2px solid var(--accent); }",
    ".banner { margin: 0; color: var(--muted); font-size: .9rem; }",
    "h1 { margin: .15rem 0 0; font-size: 1.6rem; line-height: 1.25; overflow-wrap: anywhere; }",
    "nav { order: -1; margin-top: .8rem; }",
    "nav h2 { margin: 0 0 .3rem; font-size: 1rem; border: 0; color: var(--fg); }",
    "nav ol { margin: 0; padding-left: 2rem; columns: 14rem; column-gap: 2rem; }",
    "nav li { break-inside: avoid; }",
    "h2 { margin: 2rem 0 .5rem; padding-bottom: .2rem; font-size: 1.3rem; color: var(--accent);"
    " border-bottom: 1px solid var(--line); overflow-wrap: anywhere; }",
    ".group { margin: 1.2rem 0 .3rem; font-size: 1.05rem; color: var(--fg); border: 0; padding: 0; overflow-wrap: anywhere; }",
    ".item { margin: .8rem 0 .2rem; font-size: .95rem; color: var(--muted); border: 0; padding: 0; overflow-wrap: anywhere; }",
    "section { scroll-margin-top: .5rem; }",
    "a { color: var(--accent); }",
    "table { border-collapse: collapse; margin: .2rem 0 .6rem; }",
    "th, td { padding: .2rem .8rem .2rem 0; text-align: left; vertical-align: top; }",
    ".props { width: 100%; }",
    ".props th { width: 1%; min-width: 12rem; white-space: nowrap; font-weight: normal; color: var(--muted); }",
    ".props td { overflow-wrap: anywhere; }",
    ".sub { margin-left: 1rem; width: calc(100% - 1rem); }",
    ".scroll { overflow-x: auto; margin: .2rem 0 .8rem; }",
    ".scroll table { margin: 0; }",
    ".cols th, .cols td { padding: .25rem .9rem .25rem .45rem; white-space: nowrap; border-bottom: 1px solid var(--line); }",
    ".cols thead th { background: var(--head); border-bottom: 2px solid var(--line); font-weight: 600; }",
    ".cols td.w { white-space: normal; min-width: 16rem; overflow-wrap: break-word; }",
    ".cols tbody tr:hover { background: var(--hover); }",
    ".c { text-align: center; }",
    ".r { text-align: right; font-variant-numeric: tabular-nums; }",
    "th button { margin: 0; padding: 0; border: 0; background: none; font: inherit; color: inherit;"
    " text-align: inherit; cursor: pointer; }",
    "th button::after { content: \" \\2195\"; opacity: .35; }",
    "th[aria-sort] button::after { opacity: 1; }",
    "th[aria-sort=ascending] button::after { content: \" \\25B2\"; }",
    "th[aria-sort=descending] button::after { content: \" \\25BC\"; }",
    ".filter { display: block; width: min(20rem, 100%); margin: .4rem 0 .2rem; padding: .3rem .5rem;"
    " font: inherit; color: inherit; background: var(--bg); border: 1px solid var(--line); border-radius: 4px; }",
    "@media (max-width: 40rem) { body { padding: 0 .6rem 1.5rem; font-size: 14px; }"
    " .props th { width: 38%; min-width: 0; white-space: normal; } .sub { margin-left: .5rem; width: calc(100% - .5rem); } }",
    "@media print {",
    "  :root { color-scheme: light; --fg: #000; --bg: #fff; --muted: #333; --accent: #000; --line: #999; --head: #eee; }",
    "  body { display: block; max-width: none; padding: 0; font-size: 9pt; }",
    "  nav, .filter { display: none; }",
    "  th button::after, th[aria-sort] button::after { content: none; }",
    "  .scroll { overflow: visible; }",
    "  .cols th, .cols td { white-space: normal; }",
    "  .cols td.w { min-width: 0; }",
    "  thead { display: table-header-group; }",
    "  tr { break-inside: avoid; }",
    "  h1, h2, h3, h4 { break-after: avoid; }",
    "  a { color: inherit; text-decoration: none; }",
    "}",
};

// Plain ES5, no dependencies. The words of the filter box are escaped to
// keep the page's script ASCII.
constexpr std::string_view kScript[] = {
    "(function () {",
    "  \"use strict\";",
    "  var hu = document.documentElement.lang === \"hu\";",
    "  var collator = new Intl.Collator(hu ? \"hu\" : \"en\", { numeric: true });",
    "  var each = function (list, f) { Array.prototype.forEach.call(list, f); };",
    "  function number(text) {",
    "    var m = /^[-+]?\\d+(?:[.,]\\d+)?/.exec(text.replace(/[\\s\\u00a0]+/g, \"\"));",
    "    return m ? parseFloat(m[0].replace(\",\", \".\")) : NaN;",
    "  }",
    "  function compare(a, b) {",
    "    var x = number(a), y = number(b);",
    "    if (!isNaN(x) && !isNaN(y) && x !== y) return x - y;",
    "    return collator.compare(a, b);",
    "  }",
    "  function sortable(table) {",
    "    var heads = table.tHead.rows[0].cells, body = table.tBodies[0];",
    "    each(heads, function (th, column) {",
    "      var button = document.createElement(\"button\");",
    "      button.type = \"button\";",
    "      while (th.firstChild) button.appendChild(th.firstChild);",
    "      th.appendChild(button);",
    "      button.addEventListener(\"click\", function () {",
    "        var down = th.getAttribute(\"aria-sort\") === \"ascending\";",
    "        each(heads, function (h) { h.removeAttribute(\"aria-sort\"); });",
    "        th.setAttribute(\"aria-sort\", down ? \"descending\" : \"ascending\");",
    "        var rows = Array.prototype.map.call(body.rows, function (row, i) {",
    "          var cell = row.cells[column];",
    "          return { row: row, key: cell ? cell.textContent : \"\", i: i };",
    "        });",
    "        rows.sort(function (a, b) { return (down ? -1 : 1) * compare(a.key, b.key) || a.i - b.i; });",
    "        var sorted = document.createDocumentFragment();",
    "        rows.forEach(function (r) { sorted.appendChild(r.row); });",
    "        body.appendChild(sorted);",
    "      });",
    "    });",
    "  }",
    "  function filterable(table, before) {",
    "    var box = document.createElement(\"input\");",
    "    box.type = \"search\";",
    "    box.className = \"filter\";",
    "    box.placeholder = hu ? \"Sz\\u0171r\\u00e9s\" : \"Filter\";",
    "    box.setAttribute(\"aria-label\", box.placeholder);",
    "    box.addEventListener(\"input\", function () {",
    "      var q = box.value.trim().toLowerCase();",
    "      each(table.tBodies[0].rows, function (row) {",
    "        row.hidden = q !== \"\" && row.textContent.toLowerCase().indexOf(q) < 0;",
    "      });",
    "    });",
    "    before.parentNode.insertBefore(box, before);",
    "  }",
    "  each(document.querySelectorAll(\"table.cols\"), function (table) {",
    "    if (!table.tHead || !table.tBodies.length) return;",
    "    sortable(table);",
    "    if (table.tBodies[0].rows.length >= 5) {",
    "      filterable(table, table.parentNode.className === \"scroll\" ? table.parentNode : table);",
    "    }",
    "  });",
    "})();",
};

}  // namespace

std::span<const std::string_view> ModernStyleSheet() { return kStyleSheet; }
std::span<const std::string_view> ModernScript() { return kScript; }

void WriteModernTail(LineWriter& out) {
  out.Line("<script>");
  WriteLines(out, ModernScript());
  out.Line("</script>");
  out.Line("</body>");
  out.Line("</html>");
  out.Flush();
}

void WriteLines(LineWriter& out, std::span<const std::string_view> lines) {
  for (const std::string_view line : lines) out.Line(line);
}

void WriteModernHead(LineWriter& out, std::string_view lang, std::string_view title,
                     std::span<const std::string_view> more_style) {
  out.Line("<!DOCTYPE html>");
  out.Raw("<html lang=\"").Raw(lang).Raw("\">").EndLine();
  out.Line("<head>");
  out.Line("<meta charset=\"utf-8\">");
  out.Line("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">");
  out.Raw("<title>").Raw(title).Raw("</title>").EndLine();
  out.Line("<style>");
  WriteLines(out, ModernStyleSheet());
  WriteLines(out, more_style);
  out.Line("</style>");
  out.Line("</head>");
  out.Line("<body>");
}

}  // namespace rptconv
