// Appended to a modern page by check_pages.sh, after the page's own script:
// follows the navigation; sorts every column table by each of its columns,
// up then down, noting the column's texts after each click (and the first
// cells, to tell the rows apart); types "Explorer" into the filter box of the
// processes table (on an index: "hostile" into the first table's, opens a
// program's computers and filters the software); then leaves what it saw as
// JSON in <pre id="probe">.
(function () {
  "use strict";
  var result = { nav: [], sections: document.querySelectorAll("main section").length, tables: [] };
  var map = function (list, f) { return Array.prototype.map.call(list, f); };
  Array.prototype.forEach.call(document.querySelectorAll("nav a"), function (link) {
    var target = document.getElementById(decodeURIComponent(link.getAttribute("href").slice(1)));
    var heading = target && target.querySelector("h2");
    result.nav.push({ text: link.textContent, target: target ? target.tagName.toLowerCase() : null,
                      heading: heading ? heading.textContent : null });
  });
  var column = function (table, k) {
    return map(table.tBodies[0].rows, function (row) { return row.cells[k] ? row.cells[k].textContent : ""; });
  };
  Array.prototype.forEach.call(document.querySelectorAll("table.cols"), function (table) {
    if (!table.tHead) return;
    var section = table.closest("section");
    var entry = { section: section ? section.id : null, heads: [], sorts: [], aria: [] };
    Array.prototype.forEach.call(table.tHead.rows[0].cells, function (th, k) {
      entry.heads.push(th.textContent);
      var button = th.querySelector("button");
      if (!button) return;
      button.click();
      var up = { column: column(table, k), first: column(table, 0) };
      button.click();
      entry.sorts.push([up, { column: column(table, k), first: column(table, 0) }]);
      entry.aria.push(th.getAttribute("aria-sort"));
    });
    result.tables.push(entry);
  });
  var index = document.querySelector("table.index");
  var table = index || document.querySelector("#processes table.cols, #folyamatok table.cols");
  var box = table && table.parentNode.previousElementSibling;
  if (box && box.className === "filter") {
    box.value = index ? "hostile" : "Explorer";
    box.dispatchEvent(new Event("input"));
    result.rows = table.tBodies[0].rows.length;
    result.shown = Array.prototype.filter.call(table.tBodies[0].rows, function (row) { return !row.hidden; })
      .map(function (row) { return row.textContent; });
  }
  var software = document.querySelector("table.software");
  // The widths of the version and free-space bars: a bar without its box
  // would show nothing.
  result.bars = Array.prototype.map.call(document.querySelectorAll("table.software .bar, table.attention .bar"),
    function (bar) { return bar.getBoundingClientRect().width; });
  if (software) {
    var button = software.querySelector("button.list");
    result.software = { rows: software.tBodies[0].rows.length, links: [] };
    var softwareBox = software.parentNode.previousElementSibling;
    var filtering = softwareBox && softwareBox.className === "filter";
    var filterSoftware = function (word) {
      softwareBox.value = word;
      softwareBox.dispatchEvent(new Event("input"));
      return Array.prototype.filter.call(software.tBodies[0].rows, function (row) {
        return !row.hidden && row.className !== "follows";
      });
    };
    if (button) {
      // The filter reads the rows before the list opens, and again after.
      if (filtering) filterSoftware("-");
      button.click();
      result.software.summary = button.textContent;
      result.software.expanded = button.getAttribute("aria-expanded");
      // The list opens in a row of its own under the program's.
      var listRow = button.closest("tr").nextElementSibling;
      result.software.list_cells = listRow ? listRow.cells.length : 0;
      Array.prototype.forEach.call(listRow ? listRow.querySelectorAll("a") : [], function (a) {
        result.software.links.push([a.getAttribute("href"), a.textContent]);
      });
    }
    if (filtering) {
      if (result.software.links.length) {
        result.software.first = button.closest("tr").cells[0].textContent;
        result.software.by_computer = filterSoftware(result.software.links[0][1]).map(function (row) {
          return row.cells[0].textContent;
        });
      }
      result.software.shown = filterSoftware("quorvix").map(function (row) {
        return [row.cells[0].textContent, row.cells[1].textContent];
      });
    }
    if (listRow) {
      // Sorted both ways, the list stays under its program; filtered, it
      // shows and hides with it.
      var programRow = button.closest("tr"), sortButton = software.tHead.rows[0].cells[1].querySelector("button");
      result.software.list_kept = [sortButton, sortButton].map(function (b) {
        b.click();
        return programRow.nextElementSibling === listRow;
      });
      result.software.list_hidden_with = ["quorvix", "-", ""].map(function (word) {
        if (filtering) filterSoftware(word);
        return listRow.hidden === programRow.hidden;
      });
    }
  }
  var pre = document.createElement("pre");
  pre.id = "probe";
  pre.textContent = JSON.stringify(result);
  document.body.appendChild(pre);
})();
