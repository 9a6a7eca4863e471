// Times a page in headless Chromium: from the start of the navigation to its
// load event, and to the first frame painted after a scroll to its end.
//
//   node measure.js CHROMIUM URL RUNS
//
// Prints one line of JSON: the median and every run, in seconds. Every run
// starts a fresh browser with an empty profile, so no cache carries over.
"use strict";
const puppeteer = require("puppeteer-core");

const WIDTH = 1200;
const HEIGHT = 900;
const TIMEOUT_MS = 300000;
const MOST_SCROLLS = 20;

async function once(chromium, url) {
  const browser = await puppeteer.launch({
    executablePath: chromium,
    args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking"],
    protocolTimeout: TIMEOUT_MS,
  });
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: WIDTH, height: HEIGHT });
    const start = Date.now();
    await page.goto(url, { waitUntil: "load", timeout: TIMEOUT_MS });
    const load = (Date.now() - start) / 1000;
    // Scroll to the end and wait for the frame that shows it, again while
    // the page grew meanwhile (sections laid out only when near the view),
    // as a reader pressing End would.
    let scrolls = 0;
    let atEnd = false;
    while (!atEnd && scrolls < MOST_SCROLLS) {
      scrolls++;
      atEnd = await page.evaluate(() => new Promise((resolve) => {
        window.scrollTo(0, document.documentElement.scrollHeight);
        requestAnimationFrame(() => requestAnimationFrame(() =>
          resolve(window.scrollY + window.innerHeight >= document.documentElement.scrollHeight - 2)));
      }));
    }
    const scroll = (Date.now() - start) / 1000;
    return { load, scroll, scrolls, atEnd };
  } finally {
    await browser.close();
  }
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
};

(async () => {
  const [chromium, url, runs] = process.argv.slice(2);
  const results = [];
  for (let i = 0; i < Number(runs || 3); i++) results.push(await once(chromium, url));
  console.log(JSON.stringify({
    url,
    load: median(results.map((r) => r.load)),
    scroll: median(results.map((r) => r.scroll)),
    atEnd: results.every((r) => r.atEnd),
    scrolls: Math.max(...results.map((r) => r.scrolls)),
    runs: results,
  }));
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
