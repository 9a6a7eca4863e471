// Appended to a modern page by check_pages.sh, after the page's own script:
// follows the navigation, sorts the processes table by its last column
// (twice) and types "explorer" into its filter box (on an index: sorts by
// the report names and types "hostile", opens a program's computers and
// filters the software), then leaves what it saw as JSON in <pre id="probe">.
(function () {
  "use strict";
  var result = { nav: [], sections: document.querySelectorAll("main section").length, sorts: [] };
  Array.prototype.forEach.call(document.querySelectorAll("nav a"), function (link) {
    var target = document.getElementById(decodeURIComponent(link.getAttribute("href").slice(1)));
    var heading = target && target.querySelector("h2");
    result.nav.push({ text: link.textContent, target: target ? target.tagName.toLowerCase() : null,
                      heading: heading ? heading.textContent : null });
  });
  var index = document.querySelector("table.index");
  var table = index || document.querySelector("#processes table.cols, #folyamatok table.cols");
  var column = function (k) {
    return Array.prototype.map.call(table.tBodies[0].rows, function (row) { return row.cells[k].textContent; });
  };
  if (table && table.tHead) {
    var heads = table.tHead.rows[0].cells;
    var last = index ? 0 : heads.length - 1;
    var button = heads[last].querySelector("button");
    if (button) {
      button.click();
      result.sorts.push(column(last));
      button.click();
      result.sorts.push(column(last));
      result.aria_sort = heads[last].getAttribute("aria-sort");
    }
    var box = table.parentNode.previousElementSibling;
    if (box && box.className === "filter") {
      box.value = index ? "hostile" : "Explorer";
      box.dispatchEvent(new Event("input"));
      result.rows = table.tBodies[0].rows.length;
      result.shown = Array.prototype.filter.call(table.tBodies[0].rows, function (row) { return !row.hidden; })
        .map(function (row) { return row.textContent; });
    }
  }
  // On an index: opens the first program's list of computers and filters
  // the software table by "quorvix".
  var software = document.querySelector("table.software");
  // The widths of the version and free-space bars: a bar without its box
  // would show nothing.
  result.bars = Array.prototype.map.call(document.querySelectorAll("table.software .bar, table.attention .bar"),
    function (bar) { return bar.getBoundingClientRect().width; });
  if (software) {
    var button = software.querySelector("button.list");
    result.software = { rows: software.tBodies[0].rows.length, links: [] };
    if (button) {
      button.click();
      result.software.summary = button.textContent;
      result.software.expanded = button.getAttribute("aria-expanded");
      Array.prototype.forEach.call(button.parentNode.querySelectorAll("a"), function (a) {
        result.software.links.push([a.getAttribute("href"), a.textContent]);
      });
    }
    var softwareBox = software.parentNode.previousElementSibling;
    if (softwareBox && softwareBox.className === "filter") {
      softwareBox.value = "quorvix";
      softwareBox.dispatchEvent(new Event("input"));
      result.software.shown = Array.prototype.filter.call(software.tBodies[0].rows, function (row) {
        return !row.hidden;
      }).map(function (row) { return [row.cells[0].textContent, row.cells[1].textContent]; });
    }
  }
  var pre = document.createElement("pre");
  pre.id = "probe";
  pre.textContent = JSON.stringify(result);
  document.body.appendChild(pre);
})();
