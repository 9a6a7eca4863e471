#include "html/modern_assets.h"

namespace rptconv {

namespace {

constexpr std::string_view kStyleSheet[] = {
    ":root { color-scheme: light dark; --fg: #1b1f24; --bg: #fff; --muted: #57606a; --accent: #0b4f8a;"
    " --line: #d5dbe1; --head: #eef1f4; --hover: #f2f7fc; --warn: #b3261e; }",
    "@media (prefers-color-scheme: dark) { :root { --fg: #e3e6ea; --bg: #15181c; --muted: #9ba5b0;"
    " --accent: #8fbaff; --line: #353b43; --head: #21262c; --hover: #1c2530; --warn: #ff8a80; } }",
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
    // The browser lays out and paints only the sections near the view: a
    // page of ten thousand rows opens as fast as one of a hundred. A section
    // not yet shown counts as about a screen high until it has been.
    "section { scroll-margin-top: .5rem; content-visibility: auto; contain-intrinsic-size: auto 40rem; }",
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
    // A used share beside its numbers; the warning colour from 90 %.
    ".bar { display: inline-block; width: 4rem; height: .7rem; margin-left: .5rem; vertical-align: -.05rem; }",
    ".bar .track { fill: var(--line); }",
    ".bar .fill { fill: var(--accent); }",
    ".bar.full .fill { fill: var(--warn); }",
    ".c { text-align: center; }",
    ".r { text-align: right; font-variant-numeric: tabular-nums; }",
    // The sort button lies over its header cell, whose text stays where it
    // is: a printed sheet repeats the header's text, never its buttons.
    ".sorts thead th { position: relative; }",
    ".sorts thead th button { position: absolute; top: 0; left: 0; width: 100%; height: 100%; margin: 0;"
    " padding: 0; border: 0; background: none; cursor: pointer; }",
    ".sorts thead th button:focus-visible { outline: 2px solid var(--accent); outline-offset: -2px; }",
    ".sorts thead th::after { content: \" \\2195\"; opacity: .35; }",
    ".sorts thead th[aria-sort]::after { opacity: 1; }",
    ".sorts thead th[aria-sort=ascending]::after { content: \" \\25B2\"; }",
    ".sorts thead th[aria-sort=descending]::after { content: \" \\25BC\"; }",
    ".filter { display: block; width: min(20rem, 100%); margin: .4rem 0 .2rem; padding: .3rem .5rem;"
    " font: inherit; color: inherit; background: var(--bg); border: 1px solid var(--line); border-radius: 4px; }",
    "@media (max-width: 40rem) { body { padding: 0 .6rem 1.5rem; font-size: 14px; }"
    " .props th { width: 38%; min-width: 0; white-space: normal; } .sub { margin-left: .5rem; width: calc(100% - .5rem); } }",
    "@media print {",
    "  :root { color-scheme: light; --fg: #000; --bg: #fff; --muted: #333; --accent: #000; --line: #bbb; --head: #eee; --warn: #000; }",
    "  body { display: block; max-width: none; padding: 0; font-size: 9pt; }",
    "  nav, .filter { display: none; }",
    "  section { content-visibility: visible; }",
    "  .sorts thead th::after, .sorts thead th button { display: none; }",
    "  .scroll { overflow: visible; }",
    "  .cols th, .cols td { white-space: normal; }",
    "  .cols td.w { min-width: 0; }",
    "  .cols td:has(.bar) { white-space: nowrap; }",
    "  thead { display: table-header-group; }",
    "  tr { break-inside: avoid; }",
    // A table's first row stays with its header, and its last row is never
    // alone at the top of a sheet.
    "  tbody tr:first-child { break-after: avoid; }",
    "  tbody tr:last-child { break-before: avoid; }",
    "  h1, h2, h3, h4 { break-after: avoid; }",
    "  a { color: inherit; text-decoration: none; }",
    "}",
};

// Plain ES5, no dependencies. The words of the filter box are escaped to
// keep the page's script ASCII.
//
// A click on a column header sorts the table by that column, once up, then
// down. Each cell's text is read by the language of its table (the nearest
// lang attribute): numbers with "," or "." as the decimal mark and the
// thousands separators of that language ("2,400.5" in English, "2 400,5" or
// "2.400,5" in Hungarian), sizes ("650 MB", "37.2GB") in bytes, percentages,
// other numbers with a unit by their number, dates as the reports write them
// ("2004-06-08 09:41", "2004.06.08. 09:41", "6/8/2004 9:41 AM") by their
// time; everything else is text in the language's collation. Numbers come
// before dates and dates before texts. Blank cells, and rows marked
// data-sort-last (a report that failed), stay below the others in both
// directions. Keys are read at the click, not at load. Rows of the class
// "follows" (a list opened under a row) go with the row before them, in the
// sort and in the filter. A filter settles the rows up to the hundredth it
// shows at once, and the rest after the next frame.
constexpr std::string_view kScript[] = {
    "(function () {",
    "  \"use strict\";",
    "  var lang = document.documentElement.lang;",
    "  var each = function (list, f) { Array.prototype.forEach.call(list, f); };",
    "  var collators = {};",
    "  // A row of this class belongs to the row before it (a list opened under",
    "  // it): sorted with it, shown and hidden with it, its text that row's.",
    "  var FOLLOWS = \"follows\";",
    "  // A filter shows this many rows at once, the rest after the next frame:",
    "  // the rows in view change within a frame, however many rows a big",
    "  // table shows again (laying out 2,000 rows can take a browser a third",
    "  // of a second).",
    "  var FIRST_ROWS = 100;",
    "  function collator(language) {",
    "    return collators[language] || (collators[language] = new Intl.Collator(language, { numeric: true }));",
    "  }",
    "  var SIZES = { B: 1, KB: 1024, MB: 1048576, GB: 1073741824, TB: 1099511627776 };",
    "  var NUMBERS = {",
    "    en: /^([-+]?)(\\d{1,3}(?:,\\d{3})+|\\d+)(?:\\.(\\d+))?(?: ?([^\\d\\s][^\\d]*))?$/,",
    "    hu: /^([-+]?)(\\d{1,3}(?:[ .]\\d{3})+|\\d+)(?:,(\\d+))?(?: ?([^\\d\\s][^\\d]*))?$/",
    "  };",
    "  var ISO_DATE = /^(\\d{4})[-.\\/](\\d{1,2})[-.\\/](\\d{1,2})\\.?(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?(?: ?([AaPp])[Mm])?)?$/;",
    "  var US_DATE = /^(\\d{1,2})\\/(\\d{1,2})\\/(\\d{4})(?: (\\d{1,2}):(\\d{2})(?::(\\d{2}))?(?: ?([AaPp])[Mm])?)?$/;",
    "  function time(y, mo, d, h, mi, s, half) {",
    "    var hour = +(h || 0) % (half ? 12 : 24) + (/[Pp]/.test(half || \"\") ? 12 : 0);",
    "    return Date.UTC(+y, +mo - 1, +d, hour, +(mi || 0), +(s || 0));",
    "  }",
    "  // { last, rank, value }: rank 0 number, 1 date, 2 text.",
    "  function key(text, language) {",
    "    text = text.replace(/[\\s\\u00a0\\u202f]+/g, \" \").trim();",
    "    if (text === \"\") return { last: true, rank: 3, value: 0 };",
    "    var m = ISO_DATE.exec(text);",
    "    if (m) return { rank: 1, value: time(m[1], m[2], m[3], m[4], m[5], m[6], m[7]) };",
    "    m = US_DATE.exec(text);",
    "    if (m) return { rank: 1, value: time(m[3], m[1], m[2], m[4], m[5], m[6], m[7]) };",
    "    m = (NUMBERS[language] || NUMBERS.en).exec(text);",
    "    if (m) {",
    "      var unit = SIZES[(m[4] || \"\").toUpperCase()] || 1;",
    "      var number = parseFloat(m[2].replace(/\\D/g, \"\") + \".\" + (m[3] || \"0\")) * unit;",
    "      return { rank: 0, value: m[1] === \"-\" ? -number : number };",
    "    }",
    "    return { rank: 2, value: text };",
    "  }",
    "  function sortable(table) {",
    "    var heads = table.tHead.rows[0].cells, body = table.tBodies[0];",
    "    table.className += \" sorts\";",
    "    each(heads, function (th, column) {",
    "      var button = document.createElement(\"button\");",
    "      button.type = \"button\";",
    "      button.setAttribute(\"aria-label\", th.textContent);",
    "      th.appendChild(button);",
    "      button.addEventListener(\"click\", function () {",
    "        var down = th.getAttribute(\"aria-sort\") === \"ascending\", way = down ? -1 : 1;",
    "        each(heads, function (h) { h.removeAttribute(\"aria-sort\"); });",
    "        th.setAttribute(\"aria-sort\", down ? \"descending\" : \"ascending\");",
    "        var closest = table.closest(\"[lang]\"), language = (closest ? closest.lang : lang).slice(0, 2);",
    "        var texts = collator(language);",
    "        var rows = [];",
    "        each(body.rows, function (row) {",
    "          if (row.className === FOLLOWS && rows.length) {",
    "            rows[rows.length - 1].more.push(row);",
    "            return;",
    "          }",
    "          var cell = row.cells[column], k = key(cell ? cell.textContent : \"\", language);",
    "          if (row.hasAttribute(\"data-sort-last\")) k.last = true;",
    "          k.row = row;",
    "          k.more = [];",
    "          k.i = rows.length;",
    "          rows.push(k);",
    "        });",
    "        rows.sort(function (a, b) {",
    "          if (!a.last !== !b.last) return a.last ? 1 : -1;",
    "          if (a.rank !== b.rank) return way * (a.rank - b.rank) || a.i - b.i;",
    "          var order = a.rank === 2 ? texts.compare(a.value, b.value) : a.value < b.value ? -1 : a.value > b.value ? 1 : 0;",
    "          return way * order || a.i - b.i;",
    "        });",
    "        var sorted = document.createDocumentFragment();",
    "        rows.forEach(function (r) {",
    "          sorted.appendChild(r.row);",
    "          r.more.forEach(function (row) { sorted.appendChild(row); });",
    "        });",
    "        body.appendChild(sorted);",
    "      });",
    "    });",
    "  }",
    "  function filterable(table, before) {",
    "    var box = document.createElement(\"input\");",
    "    box.type = \"search\";",
    "    box.className = \"filter\";",
    "    box.placeholder = lang === \"hu\" ? \"Sz\\u0171r\\u00e9s\" : \"Filter\";",
    "    box.setAttribute(\"aria-label\", box.placeholder);",
    "    var pass = 0;",
    "    box.addEventListener(\"input\", function () {",
    "      var q = box.value.trim().toLowerCase(), mine = ++pass, hide = false, at = 0;",
    "      // The rows as they stand now: a sort before the rest are filtered",
    "      // moves them, but each is filtered once.",
    "      var rows = Array.prototype.slice.call(table.tBodies[0].rows);",
    "      function filter(most) {",
    "        if (mine !== pass) return;  // a newer word took over",
    "        for (var shown = 0; at < rows.length && shown < most; ++at) {",
    "          var row = rows[at];",
    "          if (row.className === FOLLOWS) {",
    "            if (row.hidden !== hide) row.hidden = hide;",
    "            continue;",
    "          }",
    "          // A row's text, with that of the rows following it, is read once,",
    "          // until a script changes the row.",
    "          if (row.filterText === undefined) {",
    "            var text = row.textContent;",
    "            for (var next = row.nextElementSibling; next && next.className === FOLLOWS; next = next.nextElementSibling) {",
    "              text += \" \" + next.textContent;",
    "            }",
    "            row.filterText = text.toLowerCase();",
    "          }",
    "          hide = q !== \"\" && row.filterText.indexOf(q) < 0;",
    "          if (row.hidden !== hide) row.hidden = hide;",
    "          if (!hide) ++shown;",
    "        }",
    "        if (at < rows.length) {",
    "          requestAnimationFrame(function () { setTimeout(function () { filter(Infinity); }, 0); });",
    "        }",
    "      }",
    "      filter(FIRST_ROWS);",
    "    });",
    "    before.parentNode.insertBefore(box, before);",
    "  }",
    "  each(document.querySelectorAll(\"table.cols\"), function (table) {",
    "    if (!table.tHead || !table.tBodies.length) return;",
    "    sortable(table);",
    "    if (table.tBodies[0].rows[4]) {",
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
                     std::span<const std::string_view> own_style) {
  out.Line("<!DOCTYPE html>");
  out.Raw("<html lang=\"").Raw(lang).Raw("\">").EndLine();
  out.Line("<head>");
  out.Line("<meta charset=\"utf-8\">");
  out.Line("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">");
  out.Raw("<title>").Raw(title).Raw("</title>").EndLine();
  out.Line("<style>");
  WriteLines(out, ModernStyleSheet());
  WriteLines(out, own_style);
  out.Line("</style>");
  out.Line("</head>");
  out.Line("<body>");
}

}  // namespace rptconv
